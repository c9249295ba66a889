// The print queue: what is printed, how long it stays, where its characters go.
#include "core/text_layout.h"
#include "engine_fixture.h"
#include "sample_files.h"

namespace {

class PrintTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    WriteFile("data/_fontw/Millenium BdEx BT.wid", sample::Font());
    OpenEngine();
    font_ = iFontCreate("data\\_fontw\\Millenium BdEx BT.wid", 0);
    ASSERT_NE(font_, 0);
  }

  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& text : headless::PrintedTexts()) {
      texts.push_back(text.text);
    }
    return texts;
  }

  int32_t font_ = 0;
};

TEST_F(PrintTest, TextsLastUntilTheNextRunPhaseOrPrintsHide) {
  i3ImpactMain();
  i3ImpactRunBegin();
  iPrint("Exit The Game?", {-5.2f, 2}, {0.7f, 0.7f}, 0.15f, font_);
  i3ImpactRunEnd();
  i3ImpactRender();
  iRender();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Exit The Game?"});

  i3ImpactMain();
  i3ImpactRunBegin();
  EXPECT_TRUE(Texts().empty()) << "a new run phase starts with no text";
  iPrint("1", {0, 0}, {0.5f, 0.5f}, 0.1f, font_);
  iPrint("2", {0, 0}, {0.5f, 0.5f}, 0.1f, font_);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1", "2"}));
  iPrintsHide();
  EXPECT_TRUE(Texts().empty());
  i3ImpactRunEnd();
}

TEST_F(PrintTest, ColourIsAStateTakenAtPrintTime) {
  iPrintColorSet(0, 0.5f, 1, 1);
  iPrint("blue", {0, 0}, {1, 1}, 0, font_);
  iPrintColorSet(1, 0, 0, 1);
  iPrint("red", {0, 0}, {1, 1}, 0, font_);
  const auto texts = headless::PrintedTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_FLOAT_EQ(texts[0].colour.g, 0.5f);
  EXPECT_FLOAT_EQ(texts[1].colour.r, 1);
  EXPECT_FLOAT_EQ(texts[1].colour.g, 0);
  EXPECT_EQ(texts[0].fontSource, "data\\_fontw\\Millenium BdEx BT.wid");
}

TEST_F(PrintTest, CentringByHalfTheLengthTimesTheScaleCentresTheText) {
  // The record-entry form prints a name at x = -0.3 * length with scale 0.6.
  for (const std::string name : {"Bob", "Anonymous", "ABCDEFGHIJ"}) {
    const float length = static_cast<float>(name.size());
    const engine::PrintedText text{name, {-0.3f * length, 0}, {0.6f, 0.6f}, 0, font_, {}};
    const engine::TextRun run = engine::LayOutText(text, 1);
    const float right = run.left + (length - 1) * run.advance + run.cellWidth;
    EXPECT_NEAR((run.left + right) / 2, 400, 0.5) << name;
    EXPECT_FLOAT_EQ(run.cellHeight, 15);
    EXPECT_FLOAT_EQ(run.baseline, 300);
  }
  // Spacing widens the step between cells a little.
  const engine::PrintedText spaced{"AB", {0, 0}, {0.7f, 0.7f}, 0.15f, font_, {}};
  EXPECT_NEAR(engine::LayOutText(spaced, 1).advance, (0.7f + 0.15f * 0.35f) * 25, 1e-4);
}

TEST_F(PrintTest, FontFilesAreChecked) {
  WriteFile("data/garbage.wid", std::string("this is not a font at all"));
  EXPECT_EQ(iFontCreate("data\\garbage.wid", 0), 0);
  EXPECT_EQ(iFontCreate("data\\missing.wid", 0), 0);
  iPrint("lost", {0, 0}, {1, 1}, 0, 0);
  EXPECT_TRUE(Texts().empty());
}

}  // namespace

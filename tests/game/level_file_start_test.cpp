// A broken installation: without a level file that holds its levels the program says so and ends
// before anything is shown or played; with the whole file it plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/engine_loop.h"
#include "app/input_keys.h"
#include "app/startup_scene.h"
#include "game/game.h"
#include "headless/headless.h"
#include "objects/block.h"
#include "program_reset.h"
#include "program_test.h"

namespace {

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The test's level file replaces the link to the built one, which stays as it is.
void ReplaceLevelFile(const std::filesystem::path& path, const std::vector<char>& bytes) {
  std::filesystem::remove(path);
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class LevelFileStartTest : public ProgramTest {
 protected:
  const std::filesystem::path levels = folder.Data("Levels.dat");
  const std::vector<char> built = ReadAll(levels);
};

TEST_F(LevelFileStartTest, ABrokenLevelFileIsSaidOnceAndNothingStarts) {
  ASSERT_GE(built.size(), 4u);
  const auto byte = [&](int i) { return static_cast<uint32_t>(static_cast<uint8_t>(built[i])); };
  const auto count = static_cast<int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
  ASSERT_EQ(built.size(), 4 + 1600u * count);
  const std::string cutShort =
      "holds " + std::to_string(count - 1) + " of the " + std::to_string(count) + " levels";
  struct Case {
    const char* name;
    std::optional<std::vector<char>> file;  // none: no file
    std::string fault;
  };
  const Case cases[] = {
      {"missing", std::nullopt, "is missing"},
      {"empty", std::vector<char>{}, "is empty"},
      {"cut short", std::vector<char>(built.begin(), built.end() - 1600), cutShort},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProgram();
    folder.Activate();
    if (c.file)
      ReplaceLevelFile(levels, *c.file);
    else
      std::filesystem::remove(levels);
    headless::SetPassHook([](uint64_t) {
      ADD_FAILURE() << "no engine pass may run";
      PostMessageToGame(WM_CLOSE);
    });

    testing::internal::CaptureStderr();
    const int status = RunProgram();
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_NE(status, 0);
    const auto boxes = headless::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(levels.string() + " " + c.fault), std::string::npos)
        << boxes[0].text;
    EXPECT_EQ(boxes[0].type & MB_YESNO, MB_OK);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(levels.string() + " " + c.fault), std::string::npos) << said;
    EXPECT_TRUE(headless::Windows().empty());
    EXPECT_FALSE(Initialised);
    EXPECT_TRUE(headless::Sounds().empty());
    EXPECT_TRUE(headless::ShellOpened().empty());
    EXPECT_FALSE(std::filesystem::exists(folder.Data("settings.dat")));
  }
}

// The check lets the whole file through: level 1 is built and played, and the program ends
// cleanly when closed.
TEST_F(LevelFileStartTest, TheWholeFileStillPlays) {
  bool started = false;
  bool played = false;
  headless::SetPassHook([&](uint64_t pass) {
    if (pass == 3000) {
      ADD_FAILURE() << "level 1 never came into play";
      PostMessageToGame(WM_CLOSE);
    } else if (!started && MenuReady()) {
      started = true;
      headless::TapKey(kScanEnter);
    } else if (!played && AppState == StatePlaying) {
      played = true;
      EXPECT_EQ(Game->GetLevel(), 1);
      EXPECT_TRUE(std::any_of(Game->Blocks.begin(), Game->Blocks.end(),
                              [](const auto& block) { return block->Active; }));
      EXPECT_FALSE(Game->LevelComplete);
      PostMessageToGame(WM_CLOSE);
    }
  });

  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(played);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

}  // namespace

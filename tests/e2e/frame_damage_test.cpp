// Drawing only what changed must leave the same picture as drawing every frame whole. A run of
// frames like the game's (a still background, pulsing and moving pictures, a sliding panel,
// turning debris, changing text, items hidden and textures replaced) is drawn twice on software
// renderers off screen, once each way, and the two pictures are compared pixel for pixel after
// every frame.
#include "sdl/frame_damage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "frame_quads.h"
#include "sdl/frame_renderer.h"
#include "sdl/sdl_handles.h"

namespace engine::sdl {
namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int64_t kScreenPixels = static_cast<int64_t>(kScreenWidth) * kScreenHeight;

class Canvas {
 public:
  Canvas()
      : surface_(SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 32,
                                                SDL_PIXELFORMAT_ARGB8888)),
        renderer_(SDL_CreateSoftwareRenderer(surface_.get())),
        frames_(renderer_.get()) {
    frames_.SetTarget(surface_.get());
  }

  FrameRenderer& Frames() { return frames_; }

  std::vector<uint8_t> Pixels() {
    std::vector<uint8_t> pixels(static_cast<size_t>(kScreenPixels) * 4);
    EXPECT_EQ(SDL_RenderReadPixels(renderer_.get(), nullptr, SDL_PIXELFORMAT_ARGB8888,
                                   pixels.data(), kScreenWidth * 4),
              0);
    return pixels;
  }

 private:
  SurfacePtr surface_;
  RendererPtr renderer_;
  FrameRenderer frames_;
};

// A picture with structure in every pixel, so that a copy shifted by a pixel shows.
Image Picture(int width, int height, int alphaStep, int seed) {
  Image image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.rgba.insert(image.rgba.end(),
                        {static_cast<uint8_t>(x * 7 + seed * 31),
                         static_cast<uint8_t>(y * 5 + seed), static_cast<uint8_t>((x ^ y) * 3),
                         static_cast<uint8_t>(alphaStep ? 64 + (x + y) * alphaStep % 192 : 255)});
    }
  }
  return image;
}

enum Texture : ResourceId { kBackground = 1, kPicture, kPanel, kGlow, kCursor, kDebris };
constexpr ResourceId kFont = 20;

// What changes from one frame of the run to the next.
struct Scene {
  float backgroundX = 400;
  float pulse = 1;  // alpha of the pictures in the corner
  float pictureScale = 1;
  float panelX = 900;  // off screen to the right
  float glow = 0.5f;
  Rgba glowColour{1, 1, 1, 1};
  Rgba tint{1, 1, 1, 1};
  float cursorX = 300, cursorY = 200;
  float debrisTurn = 0;
  std::string text = "PLAY GAME";
  bool secondPicture = true;
  bool caption = true;
};

Frame Build(const Scene& scene) {
  Frame frame;
  const Rgba plain{1, 1, 1, 1};
  AddQuad(frame, kBackground, Blend::kAlpha, scene.backgroundX, 300, 800, 600, plain);
  AddQuad(frame, kPicture, Blend::kAlpha, 120, 520, 110 * scene.pictureScale,
          110 * scene.pictureScale, {1, 1, 1, scene.pulse});
  if (scene.secondPicture) {
    AddQuad(frame, kPicture, Blend::kAlpha, 230.5f, 520.25f, 110, 110, {1, 1, 1, 1 - scene.pulse});
  }
  AddQuad(frame, kPicture, Blend::kAlpha, 340, 520, 110, 110, scene.tint);
  const Rgba& glow = scene.glowColour;
  AddQuad(frame, kGlow, Blend::kAdditive, 400, 250, 240, 60, {glow.r, glow.g, glow.b, scene.glow});
  // Sparks: a small picture added at a smaller size, each in a colour of its own.
  for (int i = 0; i < 5; ++i) {
    AddQuad(frame, kCursor, Blend::kAdditive, 150 + i * 13.4f, 300.6f - i * 7.1f, 12, 12,
            {1, 0.8f - i * 0.1f, 0.4f, scene.glow + 0.1f * i});
  }
  for (int i = 0; i < 6; ++i) {
    AddQuad(frame, kDebris, Blend::kAlpha, 600 + i * 25.3f, 100 + i * 17.7f, 20, 14, plain,
            scene.debrisTurn * (i + 1));
  }
  AddQuad(frame, kPanel, Blend::kAlpha, scene.panelX, 300, 400, 300, {1, 1, 1, 0.8f});
  TextRun run;
  run.font = kFont;
  run.text = scene.text;
  run.left = 310;
  run.baseline = 262;
  run.advance = 20;
  run.cellWidth = 18;
  run.cellHeight = 24;
  frame.items.emplace_back(ItemSource{ItemSource::Kind::kText, 1}, run);
  if (scene.caption) {
    run.text = "Quasar";
    run.baseline = 40;
    run.cellHeight = 30.5f;
    frame.items.emplace_back(ItemSource{ItemSource::Kind::kText, 2}, run);
  }
  AddQuad(frame, kCursor, Blend::kAlpha, scene.cursorX, scene.cursorY, 32, 32, plain);
  return frame;
}

std::vector<uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first pixel where the two pictures differ, for the failure message.
std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) {
      const size_t pixel = i / 4;
      return "first at (" + std::to_string(pixel % kScreenWidth) + ", " +
             std::to_string(pixel / kScreenWidth) + ")";
    }
  }
  return "none";
}

TEST(FrameDamage, DrawingOnlyTheChangesLeavesTheSamePictureAsFullFrames) {
  const std::vector<uint8_t> font = ReadFile(kFontPath);
  ASSERT_FALSE(font.empty()) << kFontPath;
  Canvas damaged, full;
  for (Canvas* canvas : {&damaged, &full}) {
    FrameRenderer& frames = canvas->Frames();
    ASSERT_TRUE(frames.UploadTexture(kBackground, Picture(800, 600, 0, 1)));
    ASSERT_TRUE(frames.UploadTexture(kPicture, Picture(110, 110, 3, 2)));
    ASSERT_TRUE(frames.UploadTexture(kPanel, Picture(64, 48, 5, 3)));
    ASSERT_TRUE(frames.UploadTexture(kGlow, Picture(60, 15, 7, 4)));
    ASSERT_TRUE(frames.UploadTexture(kCursor, Picture(32, 32, 11, 5)));
    ASSERT_TRUE(frames.UploadTexture(kDebris, Picture(10, 7, 0, 6)));
    ASSERT_TRUE(frames.LoadFont(kFont, font));
  }

  struct Step {
    const char* what;
    void (*change)(Scene&);
    bool partial;  // expected to be drawn in part, not whole
  };
  const Step steps[] = {
      {"the first frame", [](Scene&) {}, false},
      {"nothing changes", [](Scene&) {}, true},
      {"the cursor moves by whole pixels", [](Scene& s) { s.cursorX += 40; }, true},
      {"the cursor moves by fractions", [](Scene& s) { s.cursorX += 3.3f, s.cursorY -= 0.6f; },
       true},
      {"the pictures pulse", [](Scene& s) { s.pulse = 0.55f; }, true},
      {"a picture grows", [](Scene& s) { s.pictureScale = 1.13f; }, true},
      {"a picture shrinks", [](Scene& s) { s.pictureScale = 0.71f; }, true},
      {"the glow fades", [](Scene& s) { s.glow = 0.2f; }, true},
      {"the glow and the sparks change colour",
       [](Scene& s) {
         s.glowColour = {1, 0.5f, 0.2f, 1};
       },
       true},
      {"a picture is tinted",
       [](Scene& s) {
         s.tint = {0.4f, 1, 0.7f, 0.9f};
       },
       true},
      {"the debris turns", [](Scene& s) { s.debrisTurn = 13; }, true},
      {"the panel slides in", [](Scene& s) { s.panelX = 760; }, true},
      {"the panel slides on", [](Scene& s) { s.panelX = 691.7f; }, true},
      {"the text changes", [](Scene& s) { s.text = "OPTIONS"; }, true},
      {"the text grows longer", [](Scene& s) { s.text = "HIGH SCORES TABLE"; }, true},
      {"a picture in the middle of the list goes", [](Scene& s) { s.secondPicture = false; }, true},
      {"it comes back", [](Scene& s) { s.secondPicture = true; }, true},
      {"the last text goes", [](Scene& s) { s.caption = false; }, true},
      {"the cursor leaves the screen", [](Scene& s) { s.cursorX = 815; }, true},
      {"the background scrolls", [](Scene& s) { s.backgroundX = 397.5f; }, false},
      {"the panel slides out", [](Scene& s) { s.panelX = 900; }, true},
  };
  Scene scene;
  int partialFrames = 0;
  for (const Step& step : steps) {
    step.change(scene);
    const Frame frame = Build(scene);
    const Damage& damage = damaged.Frames().DrawChanges(frame);
    full.Frames().Draw(frame);
    EXPECT_EQ(!damage.full, step.partial) << step.what;
    if (!damage.full) {
      ++partialFrames;
      EXPECT_LT(damage.Pixels(), kScreenPixels / 2) << step.what;
    }
    const std::vector<uint8_t> expected = full.Pixels();
    const std::vector<uint8_t> actual = damaged.Pixels();
    ASSERT_TRUE(actual == expected) << step.what << ": " << FirstDifference(actual, expected);
  }
  EXPECT_GT(partialFrames, 10);
}

TEST(FrameDamage, NothingChangedDrawsNothingAndReplacedPicturesAreDrawnAgain) {
  Canvas canvas;
  FrameRenderer& frames = canvas.Frames();
  ASSERT_TRUE(frames.UploadTexture(kCursor, Picture(32, 32, 11, 5)));
  ASSERT_TRUE(frames.UploadTexture(kPicture, Picture(110, 110, 3, 2)));
  Frame frame;
  AddQuad(frame, kPicture, Blend::kAlpha, 100, 100, 110, 110, {1, 1, 1, 1});
  AddQuad(frame, kCursor, Blend::kAlpha, 500, 400, 32, 32, {1, 1, 1, 1});
  EXPECT_TRUE(frames.DrawChanges(frame).full);
  const Damage& still = frames.DrawChanges(frame);
  EXPECT_FALSE(still.full);
  EXPECT_TRUE(still.rects.empty());

  // The same texture id with new pixels: only where it is shown.
  ASSERT_TRUE(frames.UploadTexture(kCursor, Picture(32, 32, 0, 9)));
  const Damage& replaced = frames.DrawChanges(frame);
  ASSERT_FALSE(replaced.full);
  ASSERT_EQ(replaced.rects.size(), 1u);
  const SDL_Rect& r = replaced.rects[0];
  EXPECT_TRUE(r.x <= 484 && r.y <= 384 && r.x + r.w >= 516 && r.y + r.h >= 416);
  EXPECT_LT(replaced.Pixels(), 40 * 40);

  frames.Forget();
  EXPECT_TRUE(frames.DrawChanges(frame).full);
}

TEST(FrameDamage, MergedRectanglesCoverEveryInputAndDoNotOverlap) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> position(0, 700), size(1, 120);
  for (const size_t most : {1u, 3u, 8u}) {
    std::vector<SDL_Rect> input;
    for (int i = 0; i < 40; ++i) {
      input.push_back({position(random), position(random), size(random), size(random)});
    }
    const std::vector<SDL_Rect> merged = MergeRects(input, most);
    EXPECT_LE(merged.size(), most);
    for (const SDL_Rect& in : input) {
      bool covered = false;
      for (const SDL_Rect& out : merged) {
        SDL_Rect both{};
        covered =
            covered || (SDL_IntersectRect(&in, &out, &both) && both.w == in.w && both.h == in.h);
      }
      EXPECT_TRUE(covered) << in.x << "," << in.y << " " << in.w << "x" << in.h;
    }
    for (size_t i = 0; i < merged.size(); ++i) {
      for (size_t j = i + 1; j < merged.size(); ++j) {
        EXPECT_FALSE(SDL_HasIntersection(&merged[i], &merged[j]));
      }
    }
  }
}

}  // namespace
}  // namespace engine::sdl

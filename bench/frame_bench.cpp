// A busy game frame drawn off screen by the software renderer at 800 x 600, through the same
// drawing code the game uses, shaped like the game's busiest screens: two scrolling background
// layers over the whole screen (an opaque one and a see-through one, each drawn as two stacked
// quads), 450 blocks, 200 turning pieces of debris, 300 particles, 15 lines of text and the
// full-screen interface overlay. Pictures are drawn at their own size, as the game's are. Also
// what it costs to notice that a frame is the same as the last one presented (the engine's
// second draw of a pass), and the frames the window gets when only what changed is drawn: the
// idle main menu (laid out as the game's: its pictures pulsing in the lower left, the current
// button's glow, the animated cursor) and play with the background scrolling under a still
// paddle. Each reports milliseconds and changed pixels per frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "frame_quads.h"
#include "sdl/frame_compare.h"
#include "sdl/frame_renderer.h"
#include "sdl/sdl_handles.h"

namespace {

using engine::Blend;
using engine::Frame;
using engine::Geometry;
using engine::Image;
using engine::ItemSource;
using engine::ResourceId;
using engine::Rgba;
using engine::TextRun;
using engine::sdl::AddQuad;

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

enum Texture : ResourceId {
  kBackground = 1,
  kNebula,
  kBlock,
  kDebris,
  kSpark,
  kOverlay,
  kCursor,
  kTitle,
  kButton,
  kSmallButton,
  kGlow,
  kMenuPicture,
  kPaddle,
  kBall,
  kHud,
};
constexpr ResourceId kFont = 100;

// A picture with some structure, so that nothing is a flat fill.
Image Picture(int width, int height, uint8_t alpha, int seed) {
  Image image;
  image.width = width;
  image.height = height;
  image.rgba.resize(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &image.rgba[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<uint8_t>((x * 3 + seed * 40) & 255);
      p[1] = static_cast<uint8_t>((y * 5 + seed * 70) & 255);
      p[2] = static_cast<uint8_t>((x + y + seed * 20) & 255);
      p[3] = alpha;
    }
  }
  return image;
}

// The busy frame's parts, to see what each costs.
enum Layer : int {
  kBackgrounds = 1,
  kBlocks = 2,
  kDebrisPieces = 4,
  kSparks = 8,
  kOverlayLayer = 16,
  kText = 32,
  kCursorLayer = 64,
  kAllLayers = 127,
};

Frame BusyFrame(int layers = kAllLayers) {
  Frame frame;
  std::mt19937 random(7);
  std::uniform_real_distribution<float> unit(0, 1);
  const Rgba plain{1, 1, 1, 1};
  // Two background layers part-way through their scroll: each is two stacked screens.
  if (layers & kBackgrounds) {
    AddQuad(frame, kBackground, Blend::kAlpha, 400, 137.5f, 800, 600, plain);
    AddQuad(frame, kBackground, Blend::kAlpha, 400, 737.5f, 800, 600, plain);
    AddQuad(frame, kNebula, Blend::kAlpha, 400, -25, 800, 600, plain);
    AddQuad(frame, kNebula, Blend::kAlpha, 400, 575, 800, 600, plain);
  }
  // A full grid of blocks: 20 columns, 23 rows less a few gaps.
  int blocks = 0;
  for (int row = 0; row < 23 && blocks < 450 && (layers & kBlocks); ++row) {
    for (int column = 0; column < 20 && blocks < 450; ++column, ++blocks) {
      AddQuad(frame, kBlock, Blend::kAlpha, 40 + column * 36.0f, 30 + row * 16.0f, 34, 14, plain);
    }
  }
  // The random numbers run the same whichever parts are drawn.
  for (int i = 0; i < 200; ++i) {
    const float x = 800 * unit(random), y = 600 * unit(random), turn = 360 * unit(random);
    if (layers & kDebrisPieces) {
      AddQuad(frame, kDebris, Blend::kAlpha, x, y, 16, 15, plain, turn);
    }
  }
  // The particles of a few bursts, in one draw as the engine makes them.
  for (int i = 0; i < 300; ++i) {
    const float x = 300 + 200 * unit(random), y = 200 + 200 * unit(random), alpha = unit(random);
    if (layers & kSparks) {
      AddQuad(frame, kSpark, Blend::kAdditive, x, y, 12, 12, {1, 0.8f, 0.4f, alpha});
    }
  }
  // The interface frame over the whole screen, see-through in the middle.
  if (layers & kOverlayLayer) {
    AddQuad(frame, kOverlay, Blend::kAlpha, 400, 300, 800, 600, plain);
  }
  for (int line = 0; line < 15 && (layers & kText); ++line) {
    TextRun text;
    text.font = kFont;
    text.text = "SCORE 0012345  LEVEL 07";
    text.left = 40;
    text.baseline = 60.0f + line * 35;
    text.cellWidth = text.advance = 14;
    text.cellHeight = 18;
    text.colour = {1, 1, 0.6f, 1};
    frame.items.emplace_back(ItemSource{}, text);
  }
  if (layers & kCursorLayer) {
    AddQuad(frame, kCursor, Blend::kAlpha, 420, 330, 32, 32, plain);
  }
  return frame;
}

// Frame `step` of the idle main menu at 60 frames a second.
Frame MenuFrame(int step) {
  Frame frame;
  const Rgba plain{1, 1, 1, 1};
  AddQuad(frame, kBackground, Blend::kAlpha, 400, 300, 800, 600, plain);
  AddQuad(frame, kTitle, Blend::kAlpha, 180, 110, 320, 60, plain);
  AddQuad(frame, kSmallButton, Blend::kAlpha, 90, 235, 108, 56, plain);
  AddQuad(frame, kSmallButton, Blend::kAlpha, 216, 235, 108, 56, plain);
  for (int button = 0; button < 6; ++button) {
    AddQuad(frame, kButton, Blend::kAlpha, 165, 286 + button * 40.0f, 282, 34, plain);
  }
  const float phase = static_cast<float>(step) / 60;
  AddQuad(frame, kGlow, Blend::kAdditive, 165, 286, 300, 50,
          {1, 1, 1, 0.6f + 0.4f * std::sin(phase * 4)});
  for (int picture = 0; picture < 3; ++picture) {
    const float pulse = 0.5f + 0.5f * std::sin(phase * 3 + static_cast<float>(picture) * 2);
    AddQuad(frame, kMenuPicture, Blend::kAdditive, 60 + picture * 110.0f, 545, 110, 110,
            {1, 1, 1, pulse});
  }
  for (int line = 0; line < 8; ++line) {
    TextRun text;
    text.font = kFont;
    text.text = line < 6 ? "START GAME" : "TELL A FRIEND";
    text.left = line < 6 ? 70.0f : 40.0f + (line - 6) * 126.0f;
    text.baseline = line < 6 ? 295.0f + line * 40 : 245;
    text.cellWidth = text.advance = line < 6 ? 18.0f : 8.0f;
    text.cellHeight = line < 6 ? 18.0f : 10.0f;
    frame.items.emplace_back(ItemSource{}, text);
  }
  // The cursor's animation moves on every 50 ms, a texture row at a time.
  const float row = static_cast<float>(step / 3 % 8) / 8;
  const auto base = static_cast<int32_t>(frame.vertices.size());
  frame.vertices.push_back({384, 316, 0, row + 0.125f, plain});
  frame.vertices.push_back({416, 316, 1, row + 0.125f, plain});
  frame.vertices.push_back({416, 284, 1, row, plain});
  frame.vertices.push_back({384, 284, 0, row, plain});
  Geometry cursor;
  cursor.texture = kCursor;
  cursor.firstIndex = static_cast<int32_t>(frame.indices.size());
  cursor.indexCount = 6;
  frame.indices.insert(frame.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
  frame.items.emplace_back(ItemSource{}, cursor);
  return frame;
}

// Frame `step` of play with the ball held on the paddle: the backgrounds scroll, nothing else
// moves.
Frame PlayFrame(int step) {
  Frame frame;
  const Rgba plain{1, 1, 1, 1};
  const float scroll = std::fmod(static_cast<float>(step) * 0.5f, 600.0f);
  AddQuad(frame, kBackground, Blend::kAlpha, 400, scroll - 300, 800, 600, plain);
  AddQuad(frame, kBackground, Blend::kAlpha, 400, scroll + 300, 800, 600, plain);
  const float nebula = std::fmod(static_cast<float>(step) * 0.25f, 600.0f);
  AddQuad(frame, kNebula, Blend::kAlpha, 400, nebula - 300, 800, 600, plain);
  AddQuad(frame, kNebula, Blend::kAlpha, 400, nebula + 300, 800, 600, plain);
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 14; ++column) {
      AddQuad(frame, kBlock, Blend::kAlpha, 140 + column * 40.0f, 120 + row * 30.0f, 34, 14, plain);
    }
  }
  AddQuad(frame, kPaddle, Blend::kAlpha, 412, 555, 138, 32, plain);
  AddQuad(frame, kBall, Blend::kAlpha, 412, 530, 20, 20, plain);
  AddQuad(frame, kHud, Blend::kAlpha, 400, 14, 800, 28, plain);
  return frame;
}

class SoftwareScreen {
 public:
  // With `pixman` false, SDL's software renderer draws every picture itself.
  explicit SoftwareScreen(bool pixman = true)
      : surface_(SDL_CreateRGBSurfaceWithFormat(0, engine::kScreenWidth, engine::kScreenHeight, 32,
                                                SDL_PIXELFORMAT_ARGB8888)),
        renderer_(SDL_CreateSoftwareRenderer(surface_.get())),
        frames_(renderer_.get()) {
    frames_.SetTarget(pixman ? surface_.get() : nullptr);
    frames_.UploadTexture(kBackground, Picture(800, 600, 255, 1));
    frames_.UploadTexture(kNebula, Picture(800, 600, 90, 2));
    frames_.UploadTexture(kBlock, Picture(34, 14, 230, 3));
    frames_.UploadTexture(kDebris, Picture(16, 15, 200, 4));
    frames_.UploadTexture(kSpark, Picture(16, 16, 255, 5));
    frames_.UploadTexture(kOverlay, Picture(800, 600, 120, 6));
    frames_.UploadTexture(kCursor, Picture(32, 256, 200, 7));
    frames_.UploadTexture(kTitle, Picture(320, 60, 180, 8));
    frames_.UploadTexture(kButton, Picture(282, 34, 220, 9));
    frames_.UploadTexture(kSmallButton, Picture(108, 56, 220, 10));
    frames_.UploadTexture(kGlow, Picture(300, 50, 160, 11));
    frames_.UploadTexture(kMenuPicture, Picture(110, 110, 200, 12));
    frames_.UploadTexture(kPaddle, Picture(138, 32, 230, 13));
    frames_.UploadTexture(kBall, Picture(20, 20, 230, 14));
    frames_.UploadTexture(kHud, Picture(800, 28, 230, 15));
    std::ifstream in(kFontPath, std::ios::binary);
    const std::vector<uint8_t> font{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    fontLoaded_ = frames_.LoadFont(kFont, font);
  }

  bool Ready() const { return renderer_ && fontLoaded_; }

  void Draw(const Frame& frame) {
    frames_.Draw(frame);
    // Flushes the queued drawing into the surface, as presenting would.
    SDL_RenderFlush(renderer_.get());
  }

  // Draws only what changed since the last frame; the pixels that had to change.
  int64_t DrawChanges(const Frame& frame) {
    const int64_t pixels = frames_.DrawChanges(frame).Pixels();
    SDL_RenderFlush(renderer_.get());
    return pixels;
  }

 private:
  engine::sdl::SurfacePtr surface_;
  engine::sdl::RendererPtr renderer_;
  engine::sdl::FrameRenderer frames_;
  bool fontLoaded_ = false;
};

// Argument 1: pictures composited with pixman, as in the game; 0: SDL's blitters alone.
void BM_BusyFrameSoftware(benchmark::State& state) {
  SoftwareScreen screen(state.range(0) != 0);
  if (!screen.Ready()) {
    state.SkipWithError("no software renderer or no font");
    return;
  }
  const Frame frame = BusyFrame();
  screen.Draw(frame);  // the glyphs go into the atlas once, as in the game
  for (auto _ : state) {
    screen.Draw(frame);
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["items"] = static_cast<double>(frame.items.size());
  state.counters["changed_pixels"] =
      static_cast<double>(engine::kScreenWidth) * engine::kScreenHeight;
}
BENCHMARK(BM_BusyFrameSoftware)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One part of the busy frame on its own, drawn as in the game (argument: the part; 0 is the
// screen cleared with nothing on it).
void BM_BusyFrameLayer(benchmark::State& state) {
  SoftwareScreen screen;
  if (!screen.Ready()) {
    state.SkipWithError("no software renderer or no font");
    return;
  }
  const Frame frame = BusyFrame(static_cast<int>(state.range(0)));
  screen.Draw(frame);
  for (auto _ : state) {
    screen.Draw(frame);
  }
  state.counters["items"] = static_cast<double>(frame.items.size());
}
BENCHMARK(BM_BusyFrameLayer)
    ->ArgName("layer")
    ->Arg(0)
    ->Arg(kBackgrounds)
    ->Arg(kBlocks)
    ->Arg(kDebrisPieces)
    ->Arg(kSparks)
    ->Arg(kOverlayLayer)
    ->Arg(kText)
    ->Arg(kCursorLayer)
    ->Unit(benchmark::kMillisecond);

// A run of consecutive frames, each drawn over the one before where it changed.
void DrawRun(benchmark::State& state, Frame (*make)(int step)) {
  SoftwareScreen screen(state.range(0) != 0);
  if (!screen.Ready()) {
    state.SkipWithError("no software renderer or no font");
    return;
  }
  constexpr int kSteps = 240;  // four seconds
  std::vector<Frame> frames;
  for (int step = 0; step < kSteps; ++step) {
    frames.push_back(make(step));
  }
  for (const Frame& frame : frames) {
    screen.DrawChanges(frame);  // glyphs into the atlas, and a frame to start from
  }
  int64_t pixels = 0;
  size_t next = 0;
  for (auto _ : state) {
    pixels += screen.DrawChanges(frames[next]);
    next = (next + 1) % frames.size();
  }
  state.counters["changed_pixels"] =
      benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
}

void BM_IdleMenuFrameSoftware(benchmark::State& state) {
  DrawRun(state, MenuFrame);
}
BENCHMARK(BM_IdleMenuFrameSoftware)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_PlayFrameScrollingSoftware(benchmark::State& state) {
  DrawRun(state, PlayFrame);
}
BENCHMARK(BM_PlayFrameScrollingSoftware)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_UnchangedFrameRecognised(benchmark::State& state) {
  const Frame presented = BusyFrame();
  const Frame next = BusyFrame();
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine::sdl::SameFrame(next, presented));
  }
}
BENCHMARK(BM_UnchangedFrameRecognised)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

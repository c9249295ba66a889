// The frame renderer drawing on a software renderer off screen: where quads land, how they blend
// and tint, rotated quads, and text from the glyph atlas.
#include "sdl/frame_renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "sdl/sdl_handles.h"

namespace engine::sdl {
namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Pixel {
  int r, g, b;
};

// An 800 x 600 surface with a software renderer on it, read back after each draw.
class Canvas {
 public:
  Canvas()
      : surface_(SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 32,
                                                SDL_PIXELFORMAT_RGBA32)),
        renderer_(SDL_CreateSoftwareRenderer(surface_.get())),
        frames_(renderer_.get()) {
    frames_.SetTarget(surface_.get());
  }

  FrameRenderer& Frames() { return frames_; }

  void Draw(const Frame& frame) {
    frames_.Draw(frame);
    pixels_.assign(static_cast<size_t>(kScreenWidth) * kScreenHeight * 4, 0);
    ASSERT_EQ(SDL_RenderReadPixels(renderer_.get(), nullptr, SDL_PIXELFORMAT_RGBA32, pixels_.data(),
                                   kScreenWidth * 4),
              0);
  }

  Pixel At(int x, int y) const {
    const uint8_t* p = &pixels_[(static_cast<size_t>(y) * kScreenWidth + x) * 4];
    return {p[0], p[1], p[2]};
  }

 private:
  SurfacePtr surface_;
  RendererPtr renderer_;
  FrameRenderer frames_;
  std::vector<uint8_t> pixels_;
};

Image SolidImage(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255, int width = 4, int height = 4) {
  Image image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i) {
    image.rgba.insert(image.rgba.end(), {r, g, b, a});
  }
  return image;
}

// A quad of the given size centred at (cx, cy), turned by `degrees` clockwise on the screen.
void AddQuad(Frame& frame, ResourceId texture, Blend blend, float cx, float cy, float width,
             float height, Rgba colour, float degrees = 0) {
  const float angle = degrees * static_cast<float>(M_PI) / 180;
  const float c = std::cos(angle), s = std::sin(angle);
  const auto base = static_cast<int32_t>(frame.vertices.size());
  const float corners[4][4] = {{-1, -1, 0, 0}, {1, -1, 1, 0}, {1, 1, 1, 1}, {-1, 1, 0, 1}};
  for (const auto& corner : corners) {
    const float x = corner[0] * width / 2, y = corner[1] * height / 2;
    frame.vertices.push_back(
        {cx + x * c - y * s, cy + x * s + y * c, corner[2], corner[3], colour});
  }
  Geometry geometry;
  geometry.texture = texture;
  geometry.blend = blend;
  geometry.firstIndex = static_cast<int32_t>(frame.indices.size());
  geometry.indexCount = 6;
  frame.indices.insert(frame.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
  frame.items.emplace_back(ItemSource{}, geometry);
}

void ExpectNear(Pixel actual, Pixel expected, const std::string& where) {
  constexpr int kTolerance = 3;
  EXPECT_NEAR(actual.r, expected.r, kTolerance) << where;
  EXPECT_NEAR(actual.g, expected.g, kTolerance) << where;
  EXPECT_NEAR(actual.b, expected.b, kTolerance) << where;
}

// What one pixel of the canvas must be, and why.
struct Check {
  int x, y;
  Pixel expected;
  const char* what;
};

void ExpectPixels(const Canvas& canvas, std::initializer_list<Check> checks) {
  for (const Check& check : checks) {
    ExpectNear(canvas.At(check.x, check.y), check.expected, check.what);
  }
}

std::vector<uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A line of text, its characters side by side in cells `cell` pixels wide and `height` high.
TextRun Line(ResourceId font, std::string text, float left, float baseline, float cell,
             float height, Rgba colour) {
  TextRun run;
  run.font = font;
  run.text = std::move(text);
  run.left = left;
  run.baseline = baseline;
  run.advance = cell;
  run.cellWidth = cell;
  run.cellHeight = height;
  run.colour = colour;
  return run;
}

TEST(FrameRenderer, QuadsLandBlendAndTintAsTheFrameSays) {
  Canvas canvas;
  constexpr ResourceId kRed = 1, kWhite = 2, kHalfWhite = 3, kBlue = 4, kGreen = 5;
  ASSERT_TRUE(canvas.Frames().UploadTexture(kRed, SolidImage(255, 0, 0)));
  ASSERT_TRUE(canvas.Frames().UploadTexture(kWhite, SolidImage(255, 255, 255)));
  ASSERT_TRUE(canvas.Frames().UploadTexture(kHalfWhite, SolidImage(255, 255, 255, 128)));
  ASSERT_TRUE(canvas.Frames().UploadTexture(kBlue, SolidImage(0, 0, 255)));
  ASSERT_TRUE(canvas.Frames().UploadTexture(kGreen, SolidImage(0, 255, 0)));

  Frame frame;
  const Rgba plain{1, 1, 1, 1};
  AddQuad(frame, kRed, Blend::kAlpha, 200, 100, 200, 100, plain);                    // red
  AddQuad(frame, 0, Blend::kAlpha, 500, 100, 100, 100, {0, 1, 0, 1});                // no texture
  AddQuad(frame, kWhite, Blend::kAlpha, 700, 100, 100, 100, {0.5f, 0.5f, 0.5f, 1});  // dimmed
  AddQuad(frame, kBlue, Blend::kAlpha, 200, 300, 100, 100, plain);
  AddQuad(frame, kHalfWhite, Blend::kAlpha, 200, 300, 100, 100, plain);  // half over blue
  AddQuad(frame, kGreen, Blend::kAlpha, 500, 300, 100, 100, plain);
  AddQuad(frame, kRed, Blend::kAdditive, 500, 300, 100, 100, plain);     // red added on green
  AddQuad(frame, kWhite, Blend::kAlpha, 700, 300, 100, 100, plain, 45);  // a diamond
  AddQuad(frame, kBlue, Blend::kAlpha, 200, 500, 100, 100, plain);
  AddQuad(frame, kRed, Blend::kAlpha, 225, 500, 50, 100, plain);         // later is on top
  AddQuad(frame, 999, Blend::kAlpha, 500, 500, 100, 100, {1, 0, 1, 1});  // unknown texture
  // The light dimming a scene: a see-through picture drawn over, and one added.
  AddQuad(frame, kBlue, Blend::kAlpha, 350, 300, 100, 100, plain);
  AddQuad(frame, kHalfWhite, Blend::kAlpha, 350, 300, 100, 100, {0.5f, 0.5f, 0.5f, 1});
  AddQuad(frame, kGreen, Blend::kAlpha, 350, 500, 100, 100, plain);
  AddQuad(frame, kRed, Blend::kAdditive, 350, 500, 100, 100, {0.5f, 0.5f, 0.5f, 1});
  // Coloured tints, as sparks and glows have: a colour the picture lets through channel by
  // channel.
  AddQuad(frame, kBlue, Blend::kAlpha, 650, 450, 50, 50, plain);
  AddQuad(frame, kHalfWhite, Blend::kAlpha, 650, 450, 50, 50, {1, 0.5f, 0, 1});
  AddQuad(frame, kGreen, Blend::kAlpha, 650, 530, 50, 50, plain);
  AddQuad(frame, kWhite, Blend::kAdditive, 650, 530, 50, 50, {1, 0.4f, 0.2f, 0.5f});
  AddQuad(frame, kWhite, Blend::kAlpha, 730, 530, 50, 50, {0.2f, 0.6f, 1, 0.5f});
  canvas.Draw(frame);

  ExpectPixels(canvas,
               {
                   {200, 100, {255, 0, 0}, "inside the red quad"},
                   {102, 52, {255, 0, 0}, "red quad's top-left corner"},
                   {297, 148, {255, 0, 0}, "red quad's bottom-right corner"},
                   {97, 100, {0, 0, 0}, "left of the red quad"},
                   {200, 153, {0, 0, 0}, "below the red quad"},
                   {500, 100, {0, 255, 0}, "untextured quad in its vertex colour"},
                   {700, 100, {128, 128, 128}, "white texture at half brightness"},
                   {200, 300, {128, 128, 255}, "half-transparent white over blue"},
                   {500, 300, {255, 255, 0}, "red added to green"},
                   {700, 300, {255, 255, 255}, "centre of the diamond"},
                   {700, 260, {255, 255, 255}, "diamond's upper point"},
                   {655, 255, {0, 0, 0}, "corner of the diamond's bounding box"},
                   {175, 500, {0, 0, 255}, "the part of blue not covered"},
                   {225, 500, {255, 0, 0}, "red drawn over blue"},
                   {500, 500, {255, 0, 255}, "unknown texture drawn as a plain quad"},
                   {350, 300, {64, 64, 191}, "dimmed half-transparent white over blue"},
                   {350, 500, {128, 255, 0}, "dimmed red added to green"},
                   {650, 450, {128, 64, 128}, "orange half-transparent white over blue"},
                   {650, 530, {128, 255, 26}, "orange white added to green at half strength"},
                   {730, 530, {26, 77, 128}, "light blue white at half alpha over black"},
               });
}

// Small pictures drawn turned or at another size are resampled once and then copied on whole
// pixels: they must still cover their quad, and nothing outside it, wherever they land.
TEST(FrameRenderer, SmallPicturesTurnedOrScaledCoverTheirQuad) {
  Canvas canvas;
  constexpr ResourceId kWhite = 1;
  ASSERT_TRUE(canvas.Frames().UploadTexture(kWhite, SolidImage(255, 255, 255, 255, 12, 6)));
  const struct {
    float cx, cy, width, height, degrees;
  } kQuads[] = {
      {100.3f, 100.7f, 24, 12, 30},    // turned, twice its size
      {250.5f, 100.2f, 9, 4.5f, 117},  // turned, smaller
      {400.8f, 100.4f, 12, 6, 200},    // turned past a half turn, its own size
      {100.6f, 250.3f, 18, 9, 0},      // upright, larger
      {250.2f, 250.9f, 7, 3.5f, 0},    // upright, smaller
      {400.4f, 250.1f, 30, 14, 90},    // a quarter turn
  };
  Frame frame;
  for (const auto& q : kQuads) {
    AddQuad(frame, kWhite, Blend::kAlpha, q.cx, q.cy, q.width, q.height, {1, 1, 1, 1}, q.degrees);
  }
  canvas.Draw(frame);
  for (const auto& q : kQuads) {
    // A whole-pixel landing moves the picture by up to half a pixel, and its filtered edge is a
    // texel wide: pixels further than that inside are white, and further outside black.
    const float margin = 0.8f + 0.5f * std::max(1.0f, q.width / 12);
    const float angle = q.degrees * static_cast<float>(M_PI) / 180;
    int inside = 0, outside = 0;
    for (int y = static_cast<int>(q.cy) - 30; y < static_cast<int>(q.cy) + 30; ++y) {
      for (int x = static_cast<int>(q.cx) - 30; x < static_cast<int>(q.cx) + 30; ++x) {
        const float dx = static_cast<float>(x) + 0.5f - q.cx,
                    dy = static_cast<float>(y) + 0.5f - q.cy;
        // How far inside the quad's edges the pixel's centre is (negative: outside).
        const float along = std::cos(angle) * dx + std::sin(angle) * dy;
        const float across = -std::sin(angle) * dx + std::cos(angle) * dy;
        const float depth =
            std::min(q.width / 2 - std::abs(along), q.height / 2 - std::abs(across));
        const Pixel p = canvas.At(x, y);
        const std::string where = std::to_string(x) + "," + std::to_string(y) + " of the quad at " +
                                  std::to_string(q.cx) + "," + std::to_string(q.cy);
        if (depth > margin) {
          ++inside;
          EXPECT_GE(p.g, 250) << where;
        } else if (depth < -margin) {
          ++outside;
          EXPECT_LE(p.g, 5) << where;
        }
      }
    }
    EXPECT_GT(inside, 0);
    EXPECT_GT(outside, 0);
  }
}

// A large picture drawn at its own size leaves out its squares with nothing to draw and copies
// its opaque ones: every part of it must still land as a whole picture would.
TEST(FrameRenderer, LargePicturesLandWholeWhateverTheirSquaresHold) {
  Canvas canvas;
  constexpr ResourceId kBlue = 1, kParts = 2;
  ASSERT_TRUE(canvas.Frames().UploadTexture(kBlue, SolidImage(0, 0, 255)));
  // Thirds of 64 texels: transparent but for one green texel, opaque red, half-transparent white.
  Image parts;
  parts.width = 192;
  parts.height = 96;
  for (int y = 0; y < parts.height; ++y) {
    for (int x = 0; x < parts.width; ++x) {
      if (x < 64) {
        const bool dot = x == 40 && y == 70;
        parts.rgba.insert(parts.rgba.end(), {0, static_cast<uint8_t>(dot ? 255 : 0), 0,
                                             static_cast<uint8_t>(dot ? 255 : 0)});
      } else if (x < 128) {
        parts.rgba.insert(parts.rgba.end(), {255, 0, 0, 255});
      } else {
        parts.rgba.insert(parts.rgba.end(), {255, 255, 255, 128});
      }
    }
  }
  ASSERT_TRUE(canvas.Frames().UploadTexture(kParts, parts));
  Frame frame;
  const Rgba plain{1, 1, 1, 1};
  AddQuad(frame, kBlue, Blend::kAlpha, 400, 300, 800, 600, plain);
  AddQuad(frame, kParts, Blend::kAlpha, 196, 148, 192, 96, plain);  // from (100, 100)
  AddQuad(frame, kParts, Blend::kAlpha, 496, 448, 192, 96, {0.5f, 0.5f, 0.5f, 1});
  canvas.Draw(frame);
  ExpectPixels(canvas, {
                           {110, 110, {0, 0, 255}, "the transparent third"},
                           {140, 170, {0, 255, 0}, "the one texel drawn in it"},
                           {141, 170, {0, 0, 255}, "beside it"},
                           {200, 150, {255, 0, 0}, "the opaque third"},
                           {290, 190, {128, 128, 255}, "the half-transparent third"},
                           {410, 410, {0, 0, 255}, "the transparent third, dimmed"},
                           {500, 450, {128, 0, 0}, "the opaque third, dimmed"},
                           {590, 490, {64, 64, 191}, "the half-transparent third, dimmed"},
                       });
}

// Opaque pictures copied over the screen first hide it, so the screen is not cleared under
// them; anywhere they leave a pixel, or blend instead of copying, the frame before must not show.
TEST(FrameRenderer, BackgroundsThatHideTheScreenLeaveNothingOfTheFrameBefore) {
  Canvas canvas;
  constexpr ResourceId kRed = 1, kBlue = 2, kSeeThrough = 3;
  ASSERT_TRUE(canvas.Frames().UploadTexture(kRed, SolidImage(255, 0, 0, 255, 800, 600)));
  ASSERT_TRUE(canvas.Frames().UploadTexture(kBlue, SolidImage(0, 0, 255, 255, 800, 300)));
  ASSERT_TRUE(canvas.Frames().UploadTexture(kSeeThrough, SolidImage(0, 0, 255, 128, 800, 300)));
  const Rgba plain{1, 1, 1, 1};
  const struct {
    const char* what;
    ResourceId picture;
    float upperY;  // centre of the upper half; the lower one is at 450
    Rgba tint;
    Blend blend;
    Check check;
  } kCases[] = {
      {"two halves that meet",
       kBlue,
       150,
       plain,
       Blend::kAlpha,
       {400, 299, {0, 0, 255}, "their seam"}},
      {"halves a fraction apart",
       kBlue,
       149.4f,
       plain,
       Blend::kAlpha,
       {400, 299, {0, 0, 0}, "the row between them"}},
      {"see-through halves",
       kSeeThrough,
       150,
       plain,
       Blend::kAlpha,
       {400, 100, {0, 0, 128}, "half blue over black"}},
      {"halves at half alpha",
       kBlue,
       150,
       {1, 1, 1, 0.5f},
       Blend::kAlpha,
       {400, 100, {0, 0, 128}, "blue at half alpha over black"}},
      {"added halves",
       kBlue,
       150,
       plain,
       Blend::kAdditive,
       {400, 100, {0, 0, 255}, "blue added to black"}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    Frame red;
    AddQuad(red, kRed, Blend::kAlpha, 400, 300, 800, 600, plain);
    canvas.Draw(red);
    ExpectPixels(canvas, {{400, 299, {255, 0, 0}, "the frame before"}});
    Frame halves;
    AddQuad(halves, c.picture, c.blend, 400, c.upperY, 800, 300, c.tint);
    AddQuad(halves, c.picture, c.blend, 400, 450, 800, 300, c.tint);
    canvas.Draw(halves);
    ExpectPixels(canvas, {c.check});
  }
}

TEST(FrameRenderer, RefusesPicturesWhoseBytesDoNotMatchTheirSize) {
  Canvas canvas;
  Image image = SolidImage(1, 2, 3);
  image.rgba.pop_back();
  EXPECT_FALSE(canvas.Frames().UploadTexture(1, image));
  EXPECT_FALSE(canvas.Frames().UploadTexture(2, Image{}));
  EXPECT_FALSE(canvas.Frames().LoadFont(3, std::vector<uint8_t>(64, 0x7F)));
}

TEST(FrameRenderer, TextStaysInItsCellsAndGlyphsAreRasterisedOnce) {
  const std::vector<uint8_t> font = ReadFile(kFontPath);
  ASSERT_FALSE(font.empty()) << kFontPath;
  Canvas canvas;
  constexpr ResourceId kFont = 7;
  ASSERT_TRUE(canvas.Frames().LoadFont(kFont, font));

  const TextRun run = Line(kFont, "HIH", 100, 300, 40, 40, {1, 1, 0, 1});
  Frame frame;
  frame.items.emplace_back(ItemSource{}, run);
  canvas.Draw(frame);

  // Ink lies within the cells (descenders aside, none for these letters), yellow, and the middle
  // letter's ink is centred in the middle cell.
  int inkLeft = 800, inkRight = -1, inkTop = 600, inkBottom = -1;
  int middleLeft = 800, middleRight = -1;
  for (int y = 200; y < 400; ++y) {
    for (int x = 0; x < 400; ++x) {
      const Pixel p = canvas.At(x, y);
      if (p.r < 128) {
        continue;
      }
      EXPECT_EQ(p.b, 0) << x << "," << y;
      inkLeft = std::min(inkLeft, x);
      inkRight = std::max(inkRight, x);
      inkTop = std::min(inkTop, y);
      inkBottom = std::max(inkBottom, y);
      if (x >= 140 && x < 180) {
        middleLeft = std::min(middleLeft, x);
        middleRight = std::max(middleRight, x);
      }
    }
  }
  EXPECT_GE(inkLeft, 100);
  EXPECT_LT(inkRight, 220);
  EXPECT_GE(inkTop, 260);
  EXPECT_LE(inkBottom, 300);
  // Capitals reach most of the ascent.
  EXPECT_LT(inkTop, 275);
  EXPECT_GT(inkBottom, 295);
  ASSERT_GE(middleRight, middleLeft);
  EXPECT_NEAR((middleLeft + middleRight) / 2.0, 160, 2);

  const GlyphAtlas* atlas = canvas.Frames().Font(kFont);
  ASSERT_NE(atlas, nullptr);
  const size_t glyphs = atlas->GlyphCount();
  EXPECT_EQ(glyphs, 2u);  // H and I
  const Pixel before = canvas.At((middleLeft + middleRight) / 2, 290);
  canvas.Draw(frame);
  EXPECT_EQ(atlas->GlyphCount(), glyphs);
  EXPECT_EQ(atlas->PageCount(), 1u);
  const Pixel after = canvas.At((middleLeft + middleRight) / 2, 290);
  EXPECT_EQ(before.r, after.r);
  EXPECT_EQ(before.g, after.g);
}

// Hinting rounds a small size's ascent up to whole pixels, so the point size for a height has
// to be found, not just worked out: text of any height the game uses is drawn at the size its
// glyphs were rasterised at.
TEST(GlyphAtlas, TextOfEveryHeightFindsGlyphsOfItsOwnSize) {
  const std::vector<uint8_t> font = ReadFile(kFontPath);
  ASSERT_FALSE(font.empty()) << kFontPath;
  SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_RGBA32));
  RendererPtr renderer(SDL_CreateSoftwareRenderer(surface.get()));
  const auto atlas = GlyphAtlas::Open(renderer.get(), font, true);
  ASSERT_NE(atlas, nullptr);
  for (const float height :
       {0.7f, 3.4f, 6.6f, 9.0f, 11.0f, 12.5f, 13.0f, 15.0f, 19.5f, 24.0f, 40.0f}) {
    TextRun run;
    run.text = "H";
    run.cellHeight = height;
    run.cellWidth = height;
    std::vector<GlyphQuad> quads;
    bool native = false;
    atlas->LayOut(run, quads, &native);
    EXPECT_TRUE(native) << height << " pixels high";
    ASSERT_EQ(quads.size(), 1u);
  }
}

// Text taller than the largest glyphs the atlas keeps is scaled from them by SDL, from a page
// the atlas fills in from its coverage at the first such draw; text at its own size first puts
// glyphs on that page without it.
TEST(FrameRenderer, TextLargerThanItsGlyphsIsDrawnFromTheirCoverage) {
  const std::vector<uint8_t> font = ReadFile(kFontPath);
  ASSERT_FALSE(font.empty()) << kFontPath;
  Canvas canvas;
  constexpr ResourceId kFont = 7;
  ASSERT_TRUE(canvas.Frames().LoadFont(kFont, font));
  const TextRun small = Line(kFont, "HI", 20, 50, 20, 20, {1, 1, 1, 1});
  const TextRun large = Line(kFont, "I", 300, 500, 200, 320, {0, 1, 0, 1});
  Frame frame;
  frame.items.emplace_back(ItemSource{}, small);
  canvas.Draw(frame);
  frame.items.emplace_back(ItemSource{}, large);
  canvas.Draw(frame);
  // The I's stem, around the middle of its cell, from near the top of the ascent to the baseline.
  int inked = 0;
  for (int y = 200; y < 500; ++y) {
    const Pixel p = canvas.At(400, y);
    if (p.g > 200) {
      ++inked;
      EXPECT_LT(p.r, 50) << y;
    }
  }
  EXPECT_GT(inked, 200);
  EXPECT_EQ(canvas.At(250, 350).g, 0) << "left of the cell";
  ExpectPixels(canvas, {{400, 520, {0, 0, 0}, "below the baseline"}});
}

}  // namespace
}  // namespace engine::sdl

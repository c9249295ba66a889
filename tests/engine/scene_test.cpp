// What the engine would draw: placement, order, tint and textures, read through the headless
// inspection.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "core/engine_state.h"
#include "core/frame_builder.h"
#include "core/uploads.h"
#include "engine_fixture.h"
#include "sample_files.h"

namespace {

using engine::ItemSource;
using SceneTest = EngineTest;

TEST_F(SceneTest, FullScreenPictureCoversTheScreen) {
  OpenEngine();
  const int32_t mesh = iMeshCreate("data/sprite.x");
  iMeshScaleSet(mesh, {62.5f, 46.875f, 1});
  iMeshLocationSet(mesh, {0, 0, 1});
  EXPECT_TRUE(headless::VisibleMeshes().empty()) << "a new mesh starts hidden";
  iMeshShow(mesh);
  const auto meshes = headless::VisibleMeshes();
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_FLOAT_EQ(meshes[0].left, 0);
  EXPECT_FLOAT_EQ(meshes[0].top, 0);
  EXPECT_FLOAT_EQ(meshes[0].width, 800);
  EXPECT_FLOAT_EQ(meshes[0].height, 600);
}

TEST_F(SceneTest, ScreenSizeScaleGivesExactPixels) {
  OpenEngine();
  ScreenPicture(15, 498, 304, 92, 2);
  const auto meshes = headless::VisibleMeshes();
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_NEAR(meshes[0].left, 15, 1e-3);
  EXPECT_NEAR(meshes[0].top, 498, 1e-3);
  EXPECT_NEAR(meshes[0].width, 304, 1e-3);
  EXPECT_NEAR(meshes[0].height, 92, 1e-3);
  Vec3f location{};
  ASSERT_NE(iMeshLocation(meshes[0].handle, location), 0);
  EXPECT_FLOAT_EQ(location.x * 8 + 400, 15 + 152);
}

TEST_F(SceneTest, LayersFollowPriorityCreationParticlesTextAndSprites) {
  OpenEngine();
  WriteFile("data/font.wid", sample::Font());
  const int32_t top = ScreenPicture(0, 0, 10, 10, 17);
  const int32_t low = ScreenPicture(0, 0, 10, 10, 0);
  const int32_t middleFirst = ScreenPicture(0, 0, 10, 10, 5);
  const int32_t middleSecond = ScreenPicture(0, 0, 10, 10, 5);
  const int32_t particles = iParticleCreate("data\\missing.dds", 10);
  iParticleShow(particles);
  iParticleEmitterEmit(iParticleEmitterCreate(particles), 10, 1);
  const int32_t font = iFontCreate("data\\font.wid", 0);
  iPrint("HELLO", {0, 0}, {0.5f, 0.5f}, 0.1f, font);
  const int32_t cursor = iSpriteCreate("data\\sprite.x", 0);
  iSpriteShow(cursor);
  const int32_t under = iSpriteCreate("data\\sprite.x", 0);
  iSpritePrioritySet(under, -1);
  iSpriteShow(under);

  using Kind = ItemSource::Kind;
  const std::vector<std::pair<Kind, int32_t>> expected = {
      {Kind::kMesh, low},          {Kind::kMesh, middleFirst},
      {Kind::kMesh, middleSecond}, {Kind::kParticles, particles},
      {Kind::kMesh, top},          {Kind::kText, 0},
      {Kind::kSprite, under},      {Kind::kSprite, cursor}};
  std::vector<std::pair<Kind, int32_t>> order;
  for (const ItemSource& item : headless::DrawOrder()) {
    order.emplace_back(item.kind, item.handle);
  }
  EXPECT_EQ(order, expected);
}

TEST_F(SceneTest, LightScalesBrightnessAndAlphaIsClamped) {
  OpenEngine();
  const int32_t mesh = ScreenPicture(0, 0, 100, 100, 0);
  iLightDirectionalSet({1, -1, 1}, {0.01f, 0.01f, 0.01f, 0.3f});
  EXPECT_FLOAT_EQ(headless::VisibleMeshes()[0].tint.r, 0.01f);
  iLightDirectionalSet({1, -1, 1}, {2, 2, 2, 0.3f});
  EXPECT_FLOAT_EQ(headless::VisibleMeshes()[0].tint.g, 1);
  EXPECT_FLOAT_EQ(headless::LightColour().x, 2);

  iMeshAlphaSet(mesh, -0.5f);
  EXPECT_FLOAT_EQ(headless::VisibleMeshes()[0].alpha, 0);
  iMeshAlphaSet(mesh, 1.7f);
  EXPECT_FLOAT_EQ(headless::VisibleMeshes()[0].tint.a, 1);
}

TEST_F(SceneTest, RotationAboutZTurnsThePictureOnTheScreen) {
  OpenEngine();
  const int32_t mesh = iMeshCreate("data/sprite.x");
  iMeshScaleSet(mesh, {10, 10, 1});  // 128 pixels square
  iMeshEulerOrientationSet(mesh, 0, 0, 90, "xyz");
  iMeshShow(mesh);
  EXPECT_FLOAT_EQ(headless::VisibleMeshes()[0].rotation, 90);

  // The draw list carries the turned corners: the model's top-left corner (-0.8, 0.8) turns a
  // quarter counter-clockwise to (-0.8, -0.8), the bottom-left of the screen square.
  engine::Frame frame;
  engine::BuildFrame(engine::Engine(), frame);
  ASSERT_EQ(frame.vertices.size(), 4u);
  EXPECT_NEAR(frame.vertices[0].x, 400 - 64, 1e-3);
  EXPECT_NEAR(frame.vertices[0].y, 300 + 64, 1e-3);
  EXPECT_FLOAT_EQ(frame.vertices[0].u, 0);
  EXPECT_FLOAT_EQ(frame.vertices[0].v, 0);
}

TEST_F(SceneTest, TexturesFromFilesAndMemoryWithTags) {
  OpenEngine();
  WriteFile("data/loading.jpg", sample::Jpeg(16, 8));
  const int32_t picture = iTextureCreate("data\\loading.jpg");
  ASSERT_NE(picture, 0);
  const auto png = sample::Png(4, 4, 0xFF0000FF);
  const int32_t face =
      iTextureCreateFromMemory(png.data(), static_cast<int32_t>(png.size()), 1000010);
  const int32_t again =
      iTextureCreateFromMemory(png.data(), static_cast<int32_t>(png.size()), 1000010);
  ASSERT_NE(face, 0);
  ASSERT_NE(again, 0);
  EXPECT_NE(face, again);
  EXPECT_EQ(headless::BackendResources(), 2u) << "one upload per picture, shared by tag";

  const int32_t a = ScreenPicture(0, 0, 10, 10, 0);
  const int32_t b = ScreenPicture(0, 0, 10, 10, 1);
  iMeshTextureSet(a, picture);
  iMeshTextureSet(b, face);
  auto meshes = headless::VisibleMeshes();
  EXPECT_EQ(meshes[0].texture, picture);
  EXPECT_EQ(meshes[0].textureSource, "data\\loading.jpg");
  EXPECT_EQ(meshes[1].textureTag, 1000010);

  // Destroying one handle of a shared picture leaves the other drawable.
  iTextureDestroy(face);
  EXPECT_EQ(headless::BackendResources(), 2u);
  iMeshTextureSet(b, again);
  EXPECT_EQ(headless::VisibleMeshes()[1].texture, again);
  iTextureDestroy(again);
  EXPECT_EQ(headless::BackendResources(), 1u);
  EXPECT_EQ(headless::VisibleMeshes()[1].texture, 0) << "a destroyed texture draws plain";

  iMeshTextureReset(a);
  EXPECT_EQ(headless::VisibleMeshes()[0].texture, 0);
  iMeshTextureSet(a, 12345);
  EXPECT_EQ(headless::VisibleMeshes()[0].texture, 0);
}

// A damaged picture gives no texture, so whatever it was meant for draws plain, and says so in
// one line of its own instead of the decoding library's stream of messages.
TEST_F(SceneTest, DamagedPicturesDrawPlainWithOneLineEach) {
  OpenEngine();
  const sample::Bytes png = sample::Png(64, 64, 0x336699FF);
  const sample::Bytes jpeg = sample::Jpeg(64, 64);
  const auto idat = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1);
  ASSERT_NE(idat, png.end());

  struct Case {
    const char* name;
    sample::Bytes bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"png with a damaged data chunk", png});
  cases.back().bytes[static_cast<size_t>(idat - png.begin()) + 6] ^= 0x5A;
  cases.push_back({"png cut short", sample::Bytes(png.begin(), png.end() - 20)});
  // The end marker put back on half a file: libjpeg would pad the missing half with grey.
  cases.push_back(
      {"jpeg cut in half", sample::Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)});
  cases.back().bytes.insert(cases.back().bytes.end(), {0xFF, 0xD9});
  cases.push_back({"jpeg without its data", sample::Bytes(jpeg.begin(), jpeg.begin() + 40)});
  cases.push_back({"no picture at all", sample::Bytes(300, 0x42)});

  const int32_t mesh = ScreenPicture(0, 0, 64, 64, 0);
  int32_t tag = 2000;
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    const int32_t texture =
        iTextureCreateFromMemory(c.bytes.data(), static_cast<int32_t>(c.bytes.size()), ++tag);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(texture, 0) << c.name;
    iMeshTextureSet(mesh, texture);
    EXPECT_EQ(headless::VisibleMeshes()[0].texture, 0) << c.name;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << c.name << ": " << printed;
    EXPECT_TRUE(printed.starts_with("quasarball: a picture gives nothing to draw: "))
        << c.name << ": " << printed;
  }

  WriteFile("data/GameOver.png", cases.front().bytes);
  testing::internal::CaptureStderr();
  EXPECT_EQ(iTextureCreate("data\\GameOver.png"), 0);
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

// Large pictures nothing draws (a menu's screens during play) give their pixels back to the
// backend after a few seconds and are decoded again when something draws them; small ones stay.
TEST_F(SceneTest, LargePicturesNothingDrawsAreLetGoAndComeBack) {
  OpenEngine();
  WriteFile("data/screen.png", sample::Png(400, 300, 0x204080FF));
  WriteFile("data/small.png", sample::Png(16, 16, 0xFF0000FF));
  const int32_t screen = iTextureCreate("data\\screen.png");
  const int32_t small = iTextureCreate("data\\small.png");
  const int32_t shown = ScreenPicture(0, 0, 400, 300, 0);
  const int32_t other = ScreenPicture(0, 0, 16, 16, 1);
  iMeshTextureSet(shown, screen);
  iMeshTextureSet(other, small);
  // The headless backend reads no frames, so the test builds them as a drawing backend's pass
  // would.
  engine::Frame frame;
  const auto pass = [&frame] {
    headless::AdvanceClock(1.0 / 60);
    engine::BuildFrame(engine::Engine(), frame);
    engine::ReleaseIdlePictures();
  };
  pass();
  const size_t held = headless::BackendResources();

  iMeshHide(shown);
  for (int i = 0; i < 4 * 60; ++i) {
    pass();
  }
  EXPECT_EQ(headless::BackendResources(), held) << "kept for a few seconds";
  for (int i = 0; i < 2 * 60; ++i) {
    pass();
  }
  EXPECT_EQ(headless::BackendResources(), held - 1) << "the large one let go, the small one kept";

  iMeshShow(shown);
  pass();
  EXPECT_EQ(headless::BackendResources(), held);
  const auto meshes = headless::VisibleMeshes();
  ASSERT_EQ(meshes.size(), 2u);
  EXPECT_EQ(meshes[0].texture, screen);

  // A picture let go of and then destroyed leaves nothing behind.
  iMeshHide(shown);
  for (int i = 0; i < 6 * 60; ++i) {
    pass();
  }
  iTextureDestroy(screen);
  EXPECT_EQ(headless::BackendResources(), held - 1);
  iMeshShow(shown);
  pass();
  EXPECT_EQ(headless::VisibleMeshes()[0].texture, 0) << "a destroyed texture draws plain";
}

// Through iRender, as the game draws, on a backend that reads its frames.
TEST_F(SceneTest, LargePicturesWaitForTheirFirstDrawAndGoWhenANewScreenReplacesThem) {
  OpenEngine();
  headless::SetReadsFrames(true);
  WriteFile("data/menu.png", sample::Png(400, 300, 0x204080FF));
  WriteFile("data/level.png", sample::Png(400, 300, 0x802040FF));
  WriteFile("data/small.png", sample::Png(16, 16, 0xFF0000FF));
  const size_t before = headless::BackendResources();
  const int32_t menu = iTextureCreate("data\\menu.png");
  const int32_t level = iTextureCreate("data\\level.png");
  const int32_t small = iTextureCreate("data\\small.png");
  EXPECT_EQ(headless::BackendResources(), before + 1) << "only the small one before any draw";

  const int32_t menuScreen = ScreenPicture(0, 0, 400, 300, 0);
  const int32_t levelScreen = ScreenPicture(0, 0, 400, 300, 0);
  const int32_t corner = ScreenPicture(0, 0, 16, 16, 1);
  iMeshTextureSet(menuScreen, menu);
  iMeshTextureSet(levelScreen, level);
  iMeshTextureSet(corner, small);
  iMeshHide(levelScreen);
  iRender();
  EXPECT_EQ(headless::BackendResources(), before + 2) << "the menu's screen, drawn, is held";

  // Long enough after the menu's decode that it may go at once.
  headless::AdvanceClock(2);
  iMeshHide(menuScreen);
  iMeshShow(levelScreen);
  iRender();
  EXPECT_EQ(headless::BackendResources(), before + 2) << "the level's in, the menu's out";
  const auto meshes = headless::VisibleMeshes();
  ASSERT_EQ(meshes.size(), 2u);
  EXPECT_EQ(meshes[0].texture, level);

  // Back to the menu: decoded again; the level's screen, decoded a moment ago, stays a while.
  headless::AdvanceClock(0.5);
  iMeshHide(levelScreen);
  iMeshShow(menuScreen);
  iRender();
  EXPECT_EQ(headless::BackendResources(), before + 3);
  EXPECT_EQ(headless::VisibleMeshes()[0].texture, menu);
  for (int i = 0; i < 6 * 60; ++i) {
    headless::AdvanceClock(1.0 / 60);
    iRender();
  }
  EXPECT_EQ(headless::BackendResources(), before + 2) << "the unused one goes in the end";
}

// A large picture is judged by its header until its first draw, so damage in its pixels shows
// only then.
TEST_F(SceneTest, ALargePictureDamagedPastItsHeaderDrawsPlainFromItsFirstDrawAndSaysSoOnce) {
  OpenEngine();
  headless::SetReadsFrames(true);
  sample::Bytes png = sample::Png(400, 300, 0x204080FF);
  const auto idat = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1);
  ASSERT_NE(idat, png.end());
  png[static_cast<size_t>(idat - png.begin()) + 6] ^= 0x5A;
  WriteFile("data/screen.png", png);
  const size_t before = headless::BackendResources();
  const int32_t texture = iTextureCreate("data\\screen.png");
  EXPECT_NE(texture, 0) << "its header is whole";
  iMeshTextureSet(ScreenPicture(0, 0, 400, 300, 0), texture);

  const auto drawnTexture = [] {
    const engine::Frame& frame = engine::Engine().frame;
    return frame.items.empty() ? ~engine::ResourceId{0}
                               : std::get<engine::Geometry>(frame.items[0].content).texture;
  };
  for (int draw = 0; draw < 3; ++draw) {
    testing::internal::CaptureStderr();
    iRender();
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), draw == 0 ? 1 : 0)
        << "draw " << draw << ": " << printed;
    EXPECT_EQ(drawnTexture(), 0u) << "draw " << draw << " is plain";
    EXPECT_EQ(headless::BackendResources(), before);
  }
}

TEST_F(SceneTest, CursorSpriteIsAbout32PixelsAtScale512) {
  OpenEngine();
  const int32_t cursor = iSpriteCreate("data\\sprite.x", 0);
  iSpriteScaleSet(cursor, {5.12f, 5.12f});
  iSpriteLocationSet(cursor, {-0.1f, -0.4f});
  iSpriteShow(cursor);
  const auto sprites = headless::VisibleSprites();
  ASSERT_EQ(sprites.size(), 1u);
  EXPECT_NEAR(sprites[0].width, 32, 1e-3);
  EXPECT_NEAR(sprites[0].height, 32, 1e-3);
  // Centred on the print-space point: (-0.1, -0.4) is pixel (397.5, 310).
  EXPECT_NEAR(sprites[0].left + 16, 397.5, 1e-3);
  EXPECT_NEAR(sprites[0].top + 16, 310, 1e-3);
}

TEST_F(SceneTest, StaleAndUnknownHandlesDoNothing) {
  OpenEngine();
  const int32_t mesh = ScreenPicture(0, 0, 10, 10, 0);
  iMeshDestroy(mesh);
  const int32_t reused = ScreenPicture(0, 0, 20, 20, 0);
  for (const int32_t handle : {0, -1, mesh, 0x7FFFFFFF}) {
    iMeshHide(handle);
    iMeshDestroy(handle);
    iMeshLocationSet(handle, {1, 1, 1});
    iSoundPlayNow(handle, 0);
    iParticleEmitterEmit(handle, 100, 1);
    iPrint("x", {0, 0}, {1, 1}, 0, handle);
    iSpriteShow(handle);
    EXPECT_EQ(iSoundPlaying(handle), 0);
    EXPECT_EQ(iParticleEmitterCreate(handle), 0);
  }
  const auto meshes = headless::VisibleMeshes();
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_EQ(meshes[0].handle, reused);
  EXPECT_FLOAT_EQ(meshes[0].width, 20);
  EXPECT_TRUE(headless::PrintedTexts().empty());
}

}  // namespace

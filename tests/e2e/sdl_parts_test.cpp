// The SDL backend's decisions that need no display: key codes, the pointer's fallback, frame
// pacing and the skipping of repeated frames.
#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "core/virtual_keys.h"
#include "sdl/frame_compare.h"
#include "sdl/frame_pacer.h"
#include "sdl/pointer_control.h"
#include "sdl/scan_codes.h"

namespace engine::sdl {
namespace {

TEST(ScanCodes, KeysTheGameNamesGetTheirDirectInputCodes) {
  const struct {
    SDL_Scancode key;
    int code;
  } kKeys[] = {
      {SDL_SCANCODE_ESCAPE, 1},      {SDL_SCANCODE_1, 2},          {SDL_SCANCODE_0, 11},
      {SDL_SCANCODE_BACKSPACE, 14},  {SDL_SCANCODE_TAB, 15},       {SDL_SCANCODE_Q, 16},
      {SDL_SCANCODE_P, 25},          {SDL_SCANCODE_RETURN, 28},    {SDL_SCANCODE_LCTRL, 29},
      {SDL_SCANCODE_A, 30},          {SDL_SCANCODE_L, 38},         {SDL_SCANCODE_LSHIFT, 42},
      {SDL_SCANCODE_Z, 44},          {SDL_SCANCODE_M, 50},         {SDL_SCANCODE_RSHIFT, 54},
      {SDL_SCANCODE_LALT, 56},       {SDL_SCANCODE_SPACE, 57},     {SDL_SCANCODE_F1, 59},
      {SDL_SCANCODE_F4, 62},         {SDL_SCANCODE_F10, 68},       {SDL_SCANCODE_F11, 87},
      {SDL_SCANCODE_F12, 88},        {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_RCTRL, 157},
      {SDL_SCANCODE_KP_DIVIDE, 181}, {SDL_SCANCODE_RALT, 184},     {SDL_SCANCODE_PAUSE, 197},
      {SDL_SCANCODE_HOME, 199},      {SDL_SCANCODE_UP, 200},       {SDL_SCANCODE_LEFT, 203},
      {SDL_SCANCODE_RIGHT, 205},     {SDL_SCANCODE_DOWN, 208},     {SDL_SCANCODE_DELETE, 211},
      {SDL_SCANCODE_UNKNOWN, 0},     {SDL_SCANCODE_AUDIOPLAY, 0},
  };
  for (const auto& [key, code] : kKeys) {
    EXPECT_EQ(DirectInputScanCode(key), code) << SDL_GetScancodeName(key);
  }
}

// Every scan code that has a Windows virtual key (so every key the game can bind or name) can be
// typed, and no two keys share a code.
TEST(ScanCodes, EveryKeyWithAVirtualKeyIsReachableAndNoCodeIsShared) {
  std::set<int> reached;
  for (int key = 0; key < SDL_NUM_SCANCODES; ++key) {
    const int code = DirectInputScanCode(static_cast<SDL_Scancode>(key));
    if (code != 0) {
      EXPECT_TRUE(reached.insert(code).second) << "code " << code << " twice";
    }
  }
  for (int code = 1; code < 256; ++code) {
    if (VirtualKeyOfScanCode(code) != 0) {
      EXPECT_TRUE(reached.contains(code)) << "no key gives scan code " << code;
    }
  }
}

// A desktop whose pointer moves only when it allows warping; the player's hand sets `pointer`.
struct FakeDesktop {
  bool allowsWarp = true;
  DesktopPoint pointer{10, 10};
  bool relative = false;

  PointerControl::Desktop Functions() {
    return {[this] { return pointer; },
            [this](DesktopPoint to) {
              if (allowsWarp) {
                pointer = to;
              }
              return allowsWarp;
            },
            [this](bool on) { relative = on; }};
  }
};

TEST(PointerControl, MovesTheDesktopPointerWhileTheDesktopAllowsIt) {
  FakeDesktop desktop;
  PointerControl pointer(desktop.Functions());
  pointer.MoveTo({400, 300}, 0);
  EXPECT_EQ(desktop.pointer, (DesktopPoint{400, 300}));
  desktop.pointer = {410, 290};  // the player moves the mouse
  pointer.EventsTaken();
  EXPECT_EQ(pointer.Position(), (DesktopPoint{410, 290}));
  EXPECT_FALSE(pointer.OwnPointer());
  EXPECT_FALSE(desktop.relative);
}

// The desktop tells where the pointer went only through its events, taken in at the next pump:
// until then, the pointer is where the program moved it.
TEST(PointerControl, APointerJustMovedIsWhereItWasMovedToUntilTheEventsAreTaken) {
  FakeDesktop desktop;
  DesktopPoint reported{10, 10};
  PointerControl::Desktop functions = desktop.Functions();
  functions.read = [&] { return reported; };
  PointerControl pointer(functions);
  pointer.MoveTo({123, 45}, 0);
  EXPECT_EQ(pointer.Position(), (DesktopPoint{123, 45}));
  reported = {130, 40};  // the move's own event, and the hand's after it
  pointer.EventsTaken();
  EXPECT_EQ(pointer.Position(), (DesktopPoint{130, 40}));
}

// An absolute device (a tablet, a virtual machine's pointer, a remote desktop) puts the pointer
// where the hand is, whatever the game just moved it to: the desktop still moves it.
TEST(PointerControl, APointerThatJumpsElsewhereAfterEveryMoveStaysTheDesktops) {
  FakeDesktop desktop;
  PointerControl pointer(desktop.Functions());
  for (int i = 0; i < 20; ++i) {
    pointer.MoveTo({400, 300}, i * 0.016);
    EXPECT_EQ(desktop.pointer, (DesktopPoint{400, 300}));
    desktop.pointer = {100 + 10 * i, 250};
    pointer.EventsTaken();
    EXPECT_EQ(pointer.Position(), (DesktopPoint{100 + 10 * i, 250}));
  }
  EXPECT_FALSE(pointer.OwnPointer());
  EXPECT_FALSE(desktop.relative);
}

TEST(PointerControl, ARefusingDesktopGetsAPointerOfOursUntilNobodyMovesIt) {
  FakeDesktop desktop;
  desktop.allowsWarp = false;
  PointerControl pointer(desktop.Functions());
  pointer.MoveTo({400, 300}, 0);
  ASSERT_TRUE(pointer.OwnPointer());
  EXPECT_TRUE(desktop.relative);
  EXPECT_EQ(pointer.Position(), (DesktopPoint{400, 300}));

  // Steering: the mouse moves the pointer, the game reads it and puts it back.
  pointer.MovedBy(-7, 2);
  EXPECT_EQ(pointer.Position(), (DesktopPoint{393, 302}));
  pointer.MoveTo({400, 300}, 0.1);
  EXPECT_EQ(pointer.Position(), (DesktopPoint{400, 300}));

  pointer.Tick(0.1 + PointerControl::kOwnPointerHold / 2);
  EXPECT_TRUE(pointer.OwnPointer());
  pointer.Tick(0.1 + PointerControl::kOwnPointerHold * 2);
  EXPECT_FALSE(pointer.OwnPointer());
  EXPECT_FALSE(desktop.relative);
  EXPECT_EQ(pointer.Position(), desktop.pointer);
  pointer.MovedBy(5, 5);
  EXPECT_EQ(pointer.Position(), desktop.pointer);

  // The desktop is not asked again: the next move takes our own pointer at once.
  desktop.allowsWarp = true;
  pointer.MoveTo({100, 100}, 2);
  EXPECT_TRUE(pointer.OwnPointer());
  EXPECT_EQ(pointer.Position(), (DesktopPoint{100, 100}));
  EXPECT_EQ(desktop.pointer, (DesktopPoint{10, 10}));
}

TEST(FramePacer, WithoutVsyncEveryPassWaitsForItsDeadline) {
  FramePacer pacer;
  pacer.Reset(false);
  pacer.NotePresent(1.0);
  EXPECT_NEAR(pacer.WaitBefore(1.016, 1.004), 0.012, 1e-9);
  EXPECT_NEAR(pacer.WaitBefore(1.016, 1.020), 0.0, 1e-9);
}

TEST(FramePacer, HonouredVsyncPacesPassesThatPresented) {
  FramePacer pacer;
  pacer.Reset(true);
  double now = 1.0;
  for (int i = 0; i < 10; ++i) {
    pacer.NotePresent(now);
    EXPECT_EQ(pacer.WaitBefore(now + 0.016, now + 0.001), 0.0) << i;
    now += 1.0 / 60;
  }
  EXPECT_TRUE(pacer.TrustsVsync());
  // A pass that presented nothing (an unchanged scene) has nothing to wait on but the clock.
  EXPECT_NEAR(pacer.WaitBefore(now + 0.010, now), 0.010, 1e-9);
}

TEST(FramePacer, VsyncThatDoesNotWaitIsCaught) {
  FramePacer pacer;
  pacer.Reset(true);
  double now = 1.0;
  for (int i = 0; i <= FramePacer::kQuickPresentsToDistrust; ++i) {
    pacer.NotePresent(now);
    now += 0.0001;
  }
  EXPECT_FALSE(pacer.TrustsVsync());
  EXPECT_NEAR(pacer.WaitBefore(now + 0.015, now), 0.015, 1e-9);
}

Frame SampleFrame() {
  Frame frame;
  frame.vertices = {{0, 0, 0, 0, {}}, {10, 0, 1, 0, {}}, {10, 10, 1, 1, {}}};
  frame.indices = {0, 1, 2};
  Geometry geometry;
  geometry.texture = 3;
  geometry.indexCount = 3;
  frame.items.emplace_back(ItemSource{ItemSource::Kind::kMesh, 1}, geometry);
  TextRun text;
  text.font = 4;
  text.text = "SCORE";
  frame.items.emplace_back(ItemSource{ItemSource::Kind::kText, 0}, text);
  return frame;
}

TEST(SameFrame, OnlyWhatIsDrawnCounts) {
  const Frame frame = SampleFrame();
  EXPECT_TRUE(SameFrame(frame, SampleFrame()));

  Frame relabelled = SampleFrame();
  relabelled.items[0].source.handle = 9;
  EXPECT_TRUE(SameFrame(frame, relabelled));

  Frame moved = SampleFrame();
  moved.vertices[1].x += 0.5f;
  Frame tinted = SampleFrame();
  tinted.vertices[2].colour.a = 0.5f;
  Frame retextured = SampleFrame();
  std::get<Geometry>(retextured.items[0].content).texture = 5;
  Frame retyped = SampleFrame();
  std::get<TextRun>(retyped.items[1].content).text = "SCORF";
  Frame shorter = SampleFrame();
  shorter.items.pop_back();
  for (const Frame* changed : {&moved, &tinted, &retextured, &retyped, &shorter}) {
    EXPECT_FALSE(SameFrame(frame, *changed));
  }
}

}  // namespace
}  // namespace engine::sdl

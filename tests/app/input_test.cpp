// The keyboard and mouse dispatch of the running program.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/input_mouse.h"
#include "app/startup_scene.h"
#include "game/game.h"
#include "headless/headless.h"
#include "persist/settings.h"
#include "program_test.h"

namespace {

constexpr int kScanF12 = 88;

std::optional<headless::SpriteView> Cursor() {
  for (const auto& sprite : headless::VisibleSprites())
    if (sprite.handle == CursorSprite)
      return sprite;
  return std::nullopt;
}

using InputTest = ProgramTest;

// The boss key wants Ctrl+F12 here; F12 alone does nothing, yet its press is used up.
TEST_F(InputTest, TheBossKeyWithTheWrongModifiersOnlyUsesUpThePress) {
  Settings.BossCtrl = 1;
  SaveSettings();
  bool minimised = false;
  headless::SetIdleHook([&] {
    minimised = true;
    PostMessageToGame(WM_SYSCOMMAND, SC_RESTORE);
  });
  RunSteps({[] {
              headless::TapKey(kScanF12);
              return true;
            },
            [&] {
              EXPECT_FALSE(minimised);
              EXPECT_EQ(iKeyClick(kScanF12), 0);
              headless::PressKey(kScanLeftCtrl);
              headless::TapKey(kScanF12);
              return true;
            },
            [&] {
              EXPECT_TRUE(minimised);
              return true;
            }});
}

TEST_F(InputTest, EscapeAndPInOneStepPauseWithTheQuitDialogOpen) {
  bool pressed = false;
  PlayUntil([&](uint64_t) {
    if (!pressed) {
      headless::TapKey(kScanEscape);
      headless::TapKey(kScanP);
      pressed = true;
      return false;
    }
    EXPECT_EQ(AppState, StatePaused);
    EXPECT_NE(Cursor(), std::nullopt);
    return true;
  });
}

// In a window the pointer is read from the desktop; in full screen from the engine. Either way
// the centre of the screen is print point (0, 0), screen pixel (400, 300).
class PointerTest : public ProgramTest, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(PointerTest, TheCentreOfTheScreenIsTheOriginOfPrintSpace) {
  SaveWindowed(GetParam());
  RunSteps({[] {
              headless::MoveMouse(400, 300);
              return true;
            },
            [] {
              const PointerPosition p = PlacePointer();
              EXPECT_TRUE(p.Inside);
              EXPECT_NEAR(static_cast<double>(p.Mx), 0, 1e-9);
              EXPECT_NEAR(static_cast<double>(p.My), 0, 1e-9);
              EXPECT_EQ(p.Px, 400);
              EXPECT_EQ(p.Py, 300);
              const auto cursor = Cursor();
              EXPECT_NE(cursor, std::nullopt);
              return true;
            }});
}

INSTANTIATE_TEST_SUITE_P(WindowAndFullScreen, PointerTest, ::testing::Values(1, 0));

TEST_F(InputTest, APointerOutsideTheWindowReachesNothing) {
  RunSteps({[] {
              const RECT rect = headless::Windows().back().rect;
              headless::SetCursorPosition(rect.right + 50, rect.top + 100);
              return true;
            },
            [] {
              EXPECT_FALSE(PlacePointer().Inside);
              EXPECT_GE(headless::CursorShowCount(), 0);
              return true;
            }});
}

}  // namespace

// The main menu's keyboard, hover and click rules, in the running program.
#include "menus/main_menu.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/startup_scene.h"
#include "headless/headless.h"
#include "menus/exit_menu.h"
#include "program_test.h"

namespace {

bool MoveSoundPlaying() {
  for (const auto& view : headless::Sounds())
    if (view.handle == MenuMoveSound)
      return view.playing;
  return false;
}

bool DialogShown() {
  for (const auto& view : headless::VisibleMeshes())
    if (view.handle == ExitMenu->DialogFrame->Mesh)
      return true;
  return false;
}

using MainMenuTest = ProgramTest;

// Each row: the item current before, the key, the item current after, whether the move sound
// plays.
TEST_F(MainMenuTest, ArrowKeysMoveTheCurrentItem) {
  struct Case {
    uint8_t before;
    int key;
    uint8_t after;
    bool sound;
  };
  const std::vector<Case> cases = {
      {1, kScanUp, 7, true},    {7, kScanDown, 1, false},  {8, kScanDown, 1, false},
      {3, kScanDown, 4, true},  {6, kScanDown, 6, true},   {3, kScanUp, 2, true},
      {3, kScanLeft, 3, false}, {3, kScanRight, 3, false}, {7, kScanRight, 8, true},
      {8, kScanRight, 8, true}, {8, kScanLeft, 7, true},   {7, kScanLeft, 7, true},
      {7, kScanUp, 7, false},
  };
  std::vector<std::function<bool()>> steps;
  for (const Case& c : cases) {
    steps.push_back([c] {
      headless::AdvanceClock(5);  // the previous move sound has ended
      MainMenu->Current = c.before;
      headless::TapKey(c.key);
      return true;
    });
    steps.push_back([c] {
      EXPECT_EQ(MainMenu->Current, c.after) << int(c.before) << " key " << c.key;
      EXPECT_EQ(MoveSoundPlaying(), c.sound) << int(c.before) << " key " << c.key;
      return true;
    });
  }
  RunSteps(steps);
}

TEST_F(MainMenuTest, ThePointerMakesTheLastItemItCoversCurrent) {
  RunSteps({[] {
              MainMenu->Current = 1;
              headless::MoveMouse(100, 305);  // inside the bands of items 1 and 2
              return true;
            },
            [] {
              EXPECT_EQ(MainMenu->Current, 2);
              EXPECT_TRUE(MoveSoundPlaying());
              headless::MoveMouse(100, 345);  // items 2 and 3: still over a button of the column
              return true;
            },
            [] {
              EXPECT_EQ(MainMenu->Current, 3);
              // A click on a button that is not current does nothing; on the current one it
              // runs the item.
              MainMenu->Current = 2;
              EXPECT_FALSE(MainMenu->Click(100, 370));  // item 3 alone
              EXPECT_EQ(AppState, StateMainMenu);
              EXPECT_TRUE(MainMenu->Click(100, 345));  // items 2 and 3: the current one runs
              EXPECT_EQ(AppState, StateOptions);
              return true;
            }});
}

TEST_F(MainMenuTest, EscapeAndItemSixAskBeforeLeaving) {
  RunSteps({[] {
              headless::TapKey(kScanEscape);
              return true;
            },
            [] {
              EXPECT_EQ(AppState, StateConfirmExit);
              EXPECT_TRUE(DialogShown());
              headless::TapKey(kScanEscape);  // No
              return true;
            },
            [] {
              EXPECT_EQ(AppState, StateMainMenu);
              EXPECT_FALSE(DialogShown());
              MainMenu->Current = 6;
              headless::TapKey(kScanEnter);
              return true;
            },
            [] {
              EXPECT_EQ(AppState, StateConfirmExit);
              return true;
            }});
}

}  // namespace

// The whole program over the headless engine: start-up, the engine loop with its reopen cycle,
// and the end, driven pass by pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/app_state.h"
#include "app/engine_loop.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "game/game.h"
#include "headless/headless.h"
#include "menus/main_menu.h"
#include "menus/opt_menu.h"
#include "persist/settings.h"
#include "program_test.h"

namespace {

constexpr int kScanF12 = 88;

size_t WindowsCreated() {
  return headless::Windows().size();
}

// Nothing but the level file, without which the program does not start.
class EmptyFolderProgramTest : public ProgramTest {
 protected:
  EmptyFolderProgramTest() : ProgramTest(TempProgramFolder::Contents::Empty) {
    std::filesystem::create_symlink(std::filesystem::path(QB_BUILD_ROOT) / "data/Levels.dat",
                                    folder.Data("Levels.dat"));
  }
};

TEST_F(EmptyFolderProgramTest, ClosingTheWindowEndsTheProgramAndOpensTheShortcut) {
  Run([](uint64_t pass) {
    if (pass == 10)
      PostMessageToGame(WM_CLOSE);
  });

  EXPECT_FALSE(headless::EngineOpen());
  EXPECT_EQ(WindowsCreated(), 1u);
  EXPECT_TRUE(headless::Windows().front().destroyed);
  const auto opened = headless::ShellOpened();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].file, "play.url");
  EXPECT_EQ(opened[0].showCommand, 0);
  EXPECT_EQ(std::filesystem::file_size(folder.Data("settings.dat")), 36u);
  EXPECT_EQ(std::filesystem::file_size(folder.Data("records.dat")), 160u);
}

TEST_F(EmptyFolderProgramTest, TheWindowIsCentredWithRoomForItsCaption) {
  headless::SetScreenSize(1024, 768);
  Run([](uint64_t pass) {
    if (pass == 2)
      PostMessageToGame(WM_CLOSE);
  });
  const RECT rect = headless::Windows().front().rect;
  EXPECT_EQ(rect.left, 112);
  EXPECT_EQ(rect.top, 84);
  EXPECT_EQ(rect.right, 912);
  EXPECT_EQ(rect.bottom, 684 + GetSystemMetrics(SM_CYCAPTION));
}

TEST_F(EmptyFolderProgramTest, AFailingEngineEndsTheProgramWithoutARunPhase) {
  headless::FailNextOpen();
  Run([](uint64_t) { ADD_FAILURE() << "no engine pass may run"; });
  EXPECT_FALSE(Initialised);
  EXPECT_EQ(headless::ShellOpened().size(), 1u);
  EXPECT_TRUE(headless::Windows().front().destroyed);
}

using DataProgramTest = ProgramTest;

TEST_F(DataProgramTest, AFirstStartFadesTheMenuInFromDarkness) {
  AppState = StatePaused;  // as a hand-over file may have preset it
  std::vector<long double> fades;
  Run([&](uint64_t pass) {
    if (pass == 2) {
      // The start-up scene ran in pass 1; its run step took the light one step up.
      EXPECT_EQ(AppState, StateMenuFade);
      EXPECT_EQ(LightLevel, 2);
      EXPECT_TRUE(FadeIn);
      for (int item = 1; item <= TMainMenu::kItems; ++item) {
        const TMeshButton& button = MainMenu->Button(item);
        for (const auto& mesh : headless::VisibleMeshes()) {
          if (mesh.handle == button.Face->Mesh || mesh.handle == button.Glow->Mesh) {
            EXPECT_EQ(mesh.alpha, 0) << "item " << item;
          }
        }
      }
      EXPECT_NEAR(headless::LightColour().x, 0.02f, 1e-6);
    }
    if (MenuReady())
      PostMessageToGame(WM_CLOSE);
  });
  EXPECT_EQ(AppState, StateMainMenu);
  EXPECT_TRUE(MenuBackgroundOn);
}

TEST_F(DataProgramTest, TheFadedInMenuShowsEveryButtonFully) {
  std::vector<headless::MeshView> meshes;
  Run([&](uint64_t) {
    if (!MenuReady())
      return;
    meshes = headless::VisibleMeshes();
    PostMessageToGame(WM_CLOSE);
  });
  for (int item = 1; item <= TMainMenu::kItems; ++item) {
    SCOPED_TRACE(item);
    const int32_t face = MainMenu->Button(item).Face->Mesh;
    const auto found = std::find_if(meshes.begin(), meshes.end(),
                                    [&](const auto& mesh) { return mesh.handle == face; });
    ASSERT_NE(found, meshes.end());
    EXPECT_EQ(found->alpha, 1.0f);
    EXPECT_NE(found->texture, 0);
  }
}

// Switching between window and full screen in the options reopens the engine at once.
TEST_F(DataProgramTest, ADisplayChangeReopensAtOnceWithTheNewMode) {
  bool reopened = false;
  Run([&](uint64_t pass) {
    if (pass == 5) {
      Settings.Windowed = 0;
      OptMenu->DisplayChanged = true;
      SetReopenRequest(-1);
    }
    if (pass > 5 && !reopened) {
      reopened = true;
      EXPECT_TRUE(headless::FullScreen());
      EXPECT_EQ(WindowsCreated(), 2u);
      EXPECT_EQ(headless::HotKeys().size(), 2u);
      EXPECT_FALSE(OptMenu->DisplayChanged);
    }
    if (pass == 8)
      PostMessageToGame(WM_CLOSE);
  });
  EXPECT_TRUE(reopened);
  EXPECT_EQ(WindowsCreated(), 2u);
  EXPECT_TRUE(headless::HotKeys().empty());
}

// In full screen the boss key closes the engine and waits, minimised, for the player.
TEST_F(DataProgramTest, TheBossKeySuspendsUntilTheWindowIsActivated) {
  SaveWindowed(0);
  uint64_t bossPass = 0;
  bool waited = false;
  headless::SetIdleHook([&] {
    waited = true;
    EXPECT_FALSE(headless::EngineOpen());
    EXPECT_EQ(headless::Windows().back().show, headless::ShowState::kMinimised);
    headless::PostMessage(headless::Windows().back().handle, WM_ACTIVATE, WA_ACTIVE, 0);
  });
  Run([&](uint64_t pass) {
    if (!bossPass && MenuReady()) {
      bossPass = pass;
      headless::TapKey(kScanF12);
    }
    if (bossPass && pass == bossPass + 5)
      PostMessageToGame(WM_CLOSE);
  });
  EXPECT_TRUE(waited);
  EXPECT_EQ(WindowsCreated(), 2u);
  EXPECT_EQ(headless::Windows().back().show, headless::ShowState::kShown);
  EXPECT_EQ(AppState, StateMainMenu);
}

// Switching to another program in full screen closes the engine; the game waits on the taskbar
// and comes back when the player activates it.
TEST_F(DataProgramTest, LosingActivationInFullScreenWaitsOnTheTaskbar) {
  SaveWindowed(0);
  bool switched = false;
  bool waited = false;
  headless::SetIdleHook([&] {
    waited = true;
    EXPECT_FALSE(headless::EngineOpen());
    EXPECT_EQ(headless::Windows().back().show, headless::ShowState::kMinimised);
    headless::PostMessage(headless::Windows().back().handle, WM_ACTIVATE, WA_ACTIVE, 0);
  });
  uint64_t back = 0;
  Run([&](uint64_t pass) {
    if (!switched && pass == 20) {
      switched = true;
      PostMessageToGame(WM_ACTIVATEAPP, 0);
    }
    if (switched && waited && back == 0)
      back = pass;
    if (back && pass == back + 3)
      PostMessageToGame(WM_CLOSE);
  });
  EXPECT_TRUE(waited);
  EXPECT_EQ(WindowsCreated(), 2u);
}

// In a window the boss key only minimises it; the engine stays open and waits.
TEST_F(DataProgramTest, TheBossKeyInAWindowOnlyMinimises) {
  uint64_t bossPass = 0;
  int idles = 0;
  headless::SetIdleHook([&] {
    ++idles;
    EXPECT_TRUE(headless::EngineOpen());
    EXPECT_EQ(headless::Windows().back().show, headless::ShowState::kMinimised);
    PostMessageToGame(WM_SYSCOMMAND, SC_RESTORE);
  });
  Run([&](uint64_t pass) {
    if (!bossPass && MenuReady()) {
      bossPass = pass;
      headless::TapKey(kScanF12);
    }
    if (bossPass && pass == bossPass + 5)
      PostMessageToGame(WM_CLOSE);
  });
  EXPECT_GT(idles, 0);
  EXPECT_EQ(WindowsCreated(), 1u);
}

TEST_F(DataProgramTest, AFailedWaitAsksAndEndsOnNo) {
  SaveWindowed(0);
  headless::QueueMessageBoxAnswer(IDNO);
  bool sent = false;
  Run([&](uint64_t) {
    if (!sent && MenuReady()) {
      sent = true;
      headless::TapKey(kScanF12);
      headless::FailNextGetMessage();
    }
  });
  const auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Fatal error");
  EXPECT_EQ(boxes[0].text,
            "Critical error on GetMessage function. Try to reset program? If No, then saved data "
            "will be losed!");
  EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONWARNING | MB_TOPMOST);
  EXPECT_EQ(headless::ShellOpened().size(), 1u);
}

// A run step that asks for a reopen finishes, and that pass draws nothing more.
TEST_F(DataProgramTest, AReopenRequestSkipsThatPassesRender) {
  uint64_t framesBefore = 0;
  bool checked = false;
  Run([&](uint64_t pass) {
    if (pass == 5) {
      framesBefore = headless::FramesDrawn();
      OptMenu->DisplayChanged = true;
      SetReopenRequest(-1);
    }
    if (pass == 6 && !checked) {
      checked = true;
      // Pass 5 drew once, at the end of its run step; its render phase did not run, and the
      // reopened engine has not built its scene yet.
      EXPECT_EQ(headless::FramesDrawn(), framesBefore + 1);
      EXPECT_EQ(WindowsCreated(), 2u);
    }
    if (pass == 7)
      PostMessageToGame(WM_CLOSE);
  });
  EXPECT_TRUE(checked);
}

}  // namespace

// Starting a game from the main menu, building levels, and reopening the engine in the middle of
// things, over the headless engine with the built data.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/engine_loop.h"
#include "app/input_keys.h"
#include "app/music.h"
#include "app/startup_scene.h"
#include "game/game.h"
#include "headless/headless.h"
#include "menus/opt_menu.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/paddle.h"
#include "program_test.h"

namespace {

bool Playing(int32_t sound) {
  for (const auto& view : headless::Sounds())
    if (view.handle == sound)
      return view.playing;
  return false;
}

bool Visible(int32_t mesh) {
  const auto meshes = headless::VisibleMeshes();
  return std::any_of(meshes.begin(), meshes.end(), [&](const auto& m) { return m.handle == mesh; });
}

using GameStartTest = ProgramTest;

TEST_F(GameStartTest, EnterOnTheFirstItemFadesIntoLevelOne) {
  PlayUntil([](uint64_t) {
    EXPECT_EQ(AppState, StatePlaying);
    EXPECT_EQ(Game->GetLevel(), 1);
    EXPECT_EQ(Game->GetLives(), 3);
    EXPECT_EQ(Game->GetScore(), 0);
    EXPECT_NEAR(static_cast<double>(Game->TimeLeft), 290, 0.1);
    EXPECT_FALSE(MenuBackgroundOn);
    EXPECT_FALSE(Visible(LoadingSprite->Mesh));
    EXPECT_FALSE(Visible(MenuPictures[0]->Mesh));
    EXPECT_TRUE(headless::VisibleSprites().empty());  // no cursor in play
    EXPECT_TRUE(Playing(GameMusic));
    EXPECT_FALSE(Playing(MenuMusic));
    EXPECT_TRUE(Visible(Game->Paddle->Body->Mesh));
    EXPECT_TRUE(Visible(Game->OverlaySprite->Mesh));
    EXPECT_TRUE(Visible(Game->BackA1->Mesh));
    const long visibleBlocks =
        std::count_if(Game->Blocks.begin(), Game->Blocks.end(),
                      [](const auto& b) { return Visible(b->Sprite->Mesh); });
    EXPECT_GT(visibleBlocks, 0);
    EXPECT_TRUE(Game->Balls[0]->InPlay);
    EXPECT_FALSE(Game->Balls[1]->InPlay);
    return true;
  });
}

TEST_F(GameStartTest, EachLevelHasALittleLessTime) {
  PlayUntil([](uint64_t) {
    for (int level = 2; level <= 3; ++level) {
      Game->ClearBlocks();
      Game->StartNextLevel();
      EXPECT_EQ(Game->GetLevel(), level);
    }
    EXPECT_NEAR(static_cast<double>(Game->TimeLeft), 270, 1e-9);
    Game->SetLevel(1);
    Game->StartNextLevel();
    EXPECT_NEAR(static_cast<double>(Game->TimeLeft), 275, 1e-9);
    EXPECT_NEAR(static_cast<double>(Game->LevelTimeTotal), 275.1, 1e-9);
    return true;
  });
}

TEST_F(GameStartTest, TheScoreNeverGoesNegative) {
  PlayUntil([](uint64_t) {
    Game->SetScore(120);
    Game->SetScore(-5);
    EXPECT_EQ(Game->GetScore(), 120);
    Game->SetScore(0);
    EXPECT_EQ(Game->GetScore(), 0);
    return true;
  });
}

TEST_F(GameStartTest, AReopenDuringPlayBringsBackTheGameSceneOnly) {
  int reopenPass = 0;
  PlayUntil([&](uint64_t pass) {
    if (reopenPass == 0) {
      reopenPass = static_cast<int>(pass);
      OptMenu->DisplayChanged = true;
      SetReopenRequest(-1);
      return false;
    }
    if (pass < static_cast<uint64_t>(reopenPass) + 3)
      return false;
    EXPECT_EQ(headless::Windows().size(), 2u);
    EXPECT_EQ(AppState, StatePlaying);
    EXPECT_FALSE(Playing(MenuMusic));
    EXPECT_TRUE(Playing(GameMusic));
    EXPECT_TRUE(Visible(Game->Paddle->Body->Mesh));
    EXPECT_TRUE(Visible(Game->OverlaySprite->Mesh));
    for (const auto& mesh : headless::VisibleMeshes()) {
      if (mesh.handle == Game->Paddle->Body->Mesh) {
        EXPECT_NEAR(mesh.width, 140, 0.01);  // the size-1 paddle, not a placeholder size
        EXPECT_EQ(mesh.texture, Game->PaddleTextures[1][1]);
      }
    }
    EXPECT_FALSE(Visible(MenuPictures[0]->Mesh));
    EXPECT_FALSE(Visible(MenuPictures[1]->Mesh));
    EXPECT_FALSE(Visible(LoadingSprite->Mesh));
    EXPECT_TRUE(headless::VisibleSprites().empty());
    for (const auto& block : Game->Blocks)
      EXPECT_EQ(Visible(block->Sprite->Mesh), block->Active);
    return true;
  });
}

TEST_F(GameStartTest, AReopenWhilePausedShowsThePausePictureAgain) {
  int reopenPass = 0;
  PlayUntil([&](uint64_t pass) {
    if (reopenPass == 0 && AppState == StatePlaying) {
      headless::TapKey(kScanP);
      reopenPass = -1;
      return false;
    }
    if (reopenPass == -1 && AppState == StatePaused) {
      reopenPass = static_cast<int>(pass);
      OptMenu->DisplayChanged = true;
      SetReopenRequest(-1);
      return false;
    }
    if (reopenPass <= 0 || pass < static_cast<uint64_t>(reopenPass) + 3)
      return false;
    EXPECT_EQ(AppState, StatePaused);
    EXPECT_TRUE(Visible(Game->PauseSprite->Mesh));
    return true;
  });
}

TEST_F(GameStartTest, AReopenBeforeAnyGameLeavesTheGameAlone) {
  bool reopened = false;
  Run([&](uint64_t pass) {
    if (pass == 20) {
      OptMenu->DisplayChanged = true;
      SetReopenRequest(-1);
    }
    if (pass == 25) {
      reopened = true;
      EXPECT_EQ(headless::Windows().size(), 2u);
      EXPECT_FALSE(Game->ResourcesCreated);
      EXPECT_EQ(Game->Paddle, nullptr);
      EXPECT_TRUE(Playing(MenuMusic));
      EXPECT_TRUE(Visible(MenuPictures[0]->Mesh));
      PostMessageToGame(WM_CLOSE);
    }
  });
  EXPECT_TRUE(reopened);
}

}  // namespace

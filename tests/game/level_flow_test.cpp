// The level flow of a running game: the intro, the clock and its overtime penalty, the level's
// end with the time payout, losing the last life and winning the last level.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "engine/paths.h"
#include "game/game.h"
#include "game/level_files.h"
#include "headless/headless.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/enemy.h"
#include "objects/paddle.h"
#include "program_test.h"

namespace {

bool Visible(int32_t mesh) {
  const auto meshes = headless::VisibleMeshes();
  return std::any_of(meshes.begin(), meshes.end(), [&](const auto& m) { return m.handle == mesh; });
}

// The level is in play: intro over, the paddle in place, ball 1 held.
void SkipToPlay() {
  Game->IntroShowing = false;
  Game->PaddleEntering = false;
}

void ClearAllBlocks() {
  for (auto& block : Game->Blocks)
    block->Active = false;
}

// Runs the game's own steps by hand, 13 ms each, while the program stands paused around them.
void Step(int count = 1) {
  FrameFactor = 1;
  for (int i = 0; i < count; ++i)
    Game->Update();
}

using LevelFlowTest = ProgramTest;

TEST_F(LevelFlowTest, ALevelClearedWithTimeLeftPaysItOutPointByPoint) {
  PlayUntil([](uint64_t) {
    AppState = StatePaused;  // the program's own steps leave the game alone from here
    SkipToPlay();
    ClearAllBlocks();
    Game->TimeLeft = 10.4L;
    Game->SetScore(100);
    Step();
    EXPECT_TRUE(Game->LevelComplete);
    const long double left = Game->TimeLeft;

    int steps = 0;
    while (Game->TimeLeft > 1 && steps < 100) {
      Step();
      ++steps;
    }
    EXPECT_EQ(steps, 38);
    EXPECT_EQ(Game->GetScore(), 100 + 38);
    EXPECT_NEAR(static_cast<double>(Game->TimeLeft), static_cast<double>(left) - 9.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(Game->TimeLeft), 0.9, 0.02);

    // The message pulses on, then shrinks; then the next level is due.
    int more = 0;
    while (AppState == StatePaused && more < 1000) {
      Step();
      ++more;
    }
    EXPECT_EQ(AppState, StateStartGame);
    EXPECT_GT(more, 200);  // 8 pi of pulse at 0.1 per step alone is 252 steps
    EXPECT_TRUE(Game->Blocks.empty());
    return true;
  });
}

TEST_F(LevelFlowTest, OvertimeCostsTenPointsASecondButNeverBelowZero) {
  PlayUntil([](uint64_t) {
    AppState = StatePaused;
    SkipToPlay();
    Game->TimeLeft = -0.1L;
    Game->SetScore(25);
    OvertimeMark = 0;
    struct Tick {
      int32_t shownSeconds;
      int32_t score;
    };
    for (const Tick& t : {Tick{0, 25}, Tick{1, 15}, Tick{1, 15}, Tick{2, 5}, Tick{3, 5}}) {
      ShownSeconds = t.shownSeconds;
      Step();
      EXPECT_EQ(Game->GetScore(), t.score) << "at " << t.shownSeconds;
    }
    EXPECT_FALSE(Game->LevelComplete);
    EXPECT_FALSE(Game->GameEnded);
    return true;
  });
}

TEST_F(LevelFlowTest, TheIntroFreezesPlayButNotTheEnemies) {
  PlayUntil([](uint64_t) {
    AppState = StatePaused;
    EXPECT_TRUE(Game->IntroShowing);
    TEnemy& enemy = *Game->Enemies[0];
    enemy.Active = true;
    enemy.X = 0;
    enemy.Y = 0;
    const long double time = Game->TimeLeft;
    const long double paddleX = Game->Paddle->X;
    Step(5);
    EXPECT_EQ(Game->TimeLeft, time);
    EXPECT_EQ(Game->Paddle->X, paddleX);
    EXPECT_TRUE(enemy.X != 0 || enemy.Y != 0);
    return true;
  });
}

TEST_F(LevelFlowTest, LosingTheLastBallWithOneLifeEndsTheGame) {
  bool lost = false;
  bool sawGameOver = false;
  PlayUntil([&](uint64_t) {
    if (!lost) {
      if (AppState != StatePlaying)
        return false;
      SkipToPlay();
      Game->SetLives(1);
      Game->SetScore(10);
      Game->Balls[0]->InPlay = false;
      lost = true;
      return false;
    }
    if (Game->GameEnded) {
      sawGameOver = true;
      EXPECT_TRUE(Visible(GameOverSprite->Mesh));
    }
    if (AppState != StateMainMenu)
      return false;
    EXPECT_TRUE(sawGameOver);
    EXPECT_EQ(Game->GetLevel(), 0);
    EXPECT_EQ(Game->GetLives(), 3);
    EXPECT_EQ(Game->GetScore(), 0);
    EXPECT_TRUE(MenuBackgroundOn);
    EXPECT_FALSE(Visible(GameOverSprite->Mesh));
    EXPECT_TRUE(Visible(MenuPictures[0]->Mesh));
    return true;
  });
}

TEST_F(LevelFlowTest, ClearingTheLastLevelShowsTheCongratulations) {
  PlayUntil([](uint64_t) {
    if (AppState != StatePlaying)
      return false;
    const auto count = ReadLevelCount(ProgramPath("data\\Levels.dat"));
    EXPECT_TRUE(count.has_value());
    AppState = StatePaused;
    SkipToPlay();
    Game->SetLevel(count.value_or(1));
    ClearAllBlocks();
    Game->TimeLeft = 0.5L;
    int steps = 0;
    while (!Game->GameEnded && steps < 2000) {
      Step();
      ++steps;
    }
    EXPECT_TRUE(Game->GameEnded);
    EXPECT_TRUE(Visible(CongratsSprite->Mesh));
    EXPECT_EQ(AppState, StatePaused);  // no next level
    return true;
  });
}

}  // namespace

namespace {

// Block 0 travels along `waypoints` for `steps` steps of 13 ms.
TBlock& Travel(std::vector<TWaypoint> waypoints, int steps) {
  TBlockPath path;
  path.Timer = waypoints.front().Time / 1000.0L;
  path.Waypoints = std::move(waypoints);
  Game->BlockPaths = {path};
  TBlock& block = *Game->Blocks.front();
  block.Kind = 2;
  Step(steps);
  return block;
}

long double CellX(int column) {
  return (column - 1) * 1.6L - 15.2L;
}

TEST_F(LevelFlowTest, MovingBlocksTravelBetweenTheirWaypoints) {
  PlayUntil([](uint64_t) {
    AppState = StatePaused;
    SkipToPlay();
    // 10 columns in 1 s of level clock (75 steps of 0.01333 s); halfway after 37.5 steps.
    TBlock& mover = Travel({{1, 3, 1000}, {11, 3, 1000}}, 30);
    EXPECT_NEAR(static_cast<double>(mover.X), static_cast<double>(CellX(1) + 16 * 0.3999), 0.01);
    Step(46);
    EXPECT_EQ(mover.Column, 11);
    EXPECT_EQ(Game->LevelGrid[3][11], 2);
    EXPECT_EQ(Game->LevelGrid[3][1], 0);

    TBlock& still = Travel({{5, 5, 400}}, 200);
    EXPECT_EQ(still.X, CellX(5));
    EXPECT_EQ(Game->LevelGrid[5][5], 2);

    // A leg of no length in time never ends: the block rests where it is.
    TBlock& resting = Travel({{7, 4, 0}, {12, 4, 500}}, 200);
    EXPECT_EQ(resting.X, CellX(7));
    EXPECT_EQ(Game->BlockPaths.front().Current, 0);
    return true;
  });
}

}  // namespace

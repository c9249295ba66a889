// Starting games and levels, serving the ball.
#include <numbers>

#include "app/music.h"
#include "app/random.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "engine/paths.h"
#include "game/asteroid.h"
#include "game/game.h"
#include "game/level_files.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/enemy.h"
#include "objects/missile.h"
#include "objects/paddle.h"
#include "sprites/screen_placement.h"

namespace {

constexpr const char* kLevelsFile = "data\\Levels.dat";
constexpr const char* kDynamicFile = "data\\Dynamic.dat";

long double CellX(int32_t column) {
  return (column - 1) * 1.6L - 15.2L;
}
long double CellY(int32_t row) {
  return 10.8L - (row - 1) * 1.2L;
}

// Two to four large asteroids circle on tilted ellipses for the whole level.
void LaunchLargeAsteroids() {
  const int count = Random(3) + 2;
  for (int l = 1; l <= count; ++l) {
    TAsteroid& asteroid = *Game->Asteroids[l - 1];
    asteroid.Active = true;
    const int sign = 1 - 2 * Random(2);
    asteroid.Tilt = sign * (Random(10) + 15) / 50.0L + std::numbers::pi_v<long double> / 4;
    SetMeshScreenSize(asteroid.Sprite->Mesh, 54.0f * l / 3, 53.0f * l / 3);
    asteroid.Phase = Random(60) / 10.0L;
    asteroid.Radius = l + 3;
  }
}

void SeatBallOnPaddle(TBubble& ball) {
  ball.X = Game->Paddle->X;
  ball.Y = Game->Paddle->Y + Game->Paddle->HalfHeight + ball.Radius;
  ball.Place();
}

}  // namespace

void TGame::ResetGame() {
  ClearBlocks();
  SetScore(0);
  SetLives(3);
  SetLevel(0);
}

void TGame::ClearBlocks() {
  Blocks.clear();
  SetShots(0);
  StopMusic();
}

TBlock& TGame::AddBlock(int32_t kind, int32_t column, int32_t row) {
  auto block = std::make_unique<TBlock>();
  block->Index = static_cast<int32_t>(Blocks.size());
  block->Setup(kind);
  block->X = CellX(column);
  block->Y = CellY(row);
  block->Column = column;
  block->Row = row;
  block->Place();
  Blocks.push_back(std::move(block));
  return *Blocks.back();
}

void TGame::BuildBlocks() {
  BlockPaths.clear();
  for (auto& record : ReadMovingBlocks(ProgramPath(kDynamicFile), GetLevel())) {
    const TWaypoint& first = record.Waypoints.front();
    TBlockPath path;
    path.Timer = first.Time / 1000.0L;
    path.Waypoints = std::move(record.Waypoints);
    BlockPaths.push_back(std::move(path));
    AddBlock(record.Kind, first.Column, first.Row);
  }
  for (int row = 1; row <= kGridSize; ++row) {
    for (int column = 1; column <= kGridSize; ++column) {
      const int32_t value = LevelGrid[row][column];
      if (value == 0 || value > 10)
        continue;
      AddBlock(value, column, row);
      if (value >= 7 && value <= 9) {
        // A stack: the visible block and eight spares of the next weaker kind underneath.
        for (int spare = 0; spare < 8; ++spare)
          AddBlock(value - 3, column, row).Active = false;
      }
    }
  }
}

void TGame::StartNextLevel() {
  for (auto& piece : Debris)
    piece.Active = false;
  for (auto& blast : Blasts)
    blast.Active = false;
  for (auto& blast : EnemyBlasts)
    blast.Active = false;
  BarrierActive = false;
  for (auto& asteroid : Asteroids)
    asteroid->Active = false;
  AsteroidDelay = Random(1500) / 1000.0L + 1.5L;

  Paddle->Body->Show();
  PauseSprite->Hide();
  SetShots(0);

  PaddleEntering = false;
  LoadingSprite->Show();
  iRender();

  SetLevel(GetLevel() + 1);
  ReadLevelGrid(ProgramPath(kLevelsFile), GetLevel(), LevelGrid);

  for (auto& enemy : Enemies)
    enemy->Active = false;

  BackgroundType = static_cast<uint8_t>(Random(3) + 1);
  if (BackgroundType == 3)
    LaunchLargeAsteroids();
  PlaceBackground();

  for (auto& bonus : Bonuses)
    bonus->Active = false;
  Paddle->Dead = false;

  BuildBlocks();
  PrepareServe();

  Paddle->X = 0;
  Paddle->Y = -10;
  Paddle->Place();
  Paddle->Bumped = false;
  Paddle->Dead = false;
  Paddle->Mode = 1;
  Paddle->Size = 1;
  Paddle->SetSize(Paddle->Size, Paddle->Mode);
  for (int i = 1; i < kBallCount; ++i) {
    TBubble& ball = *Balls[i];
    ball.InPlay = false;
    ball.Moving = false;
    ball.Caught = false;
    ball.Sprite->Hide();
    ball.Glare->Hide();
  }
  TBubble& served = *Balls[0];
  served.InPlay = true;
  served.Moving = false;
  served.Caught = false;
  SeatBallOnPaddle(served);

  LoadingSprite->Hide();
  ShowGameScene();

  TimeLeft = 20.0L / GetLevel() * 1.5L + 260;
  PlanetClock = TimeLeft;
  LevelTimeTotal = TimeLeft + 0.1L;

  GameEnded = false;
  LevelComplete = false;
  CompleteHold = -1;
  IntroShowing = true;
  IntroHold = 2.0;
  IntroScale = 0;
  IntroPhase = 0;
  IntroAlpha = 0;
  IntroGrowing = true;
  OvertimeMark = 0;

  PlayMusic("2");
}

void TGame::PrepareServe() {
  EscortActive = false;
  EscortSprite->Hide();

  TBita& paddle = *Paddle;
  paddle.Body->Show();
  for (auto& missile : paddle.Missiles) {
    missile->Active = false;
    missile->Sprite->Hide();
  }
  paddle.X = 19;
  paddle.Y = -10;
  paddle.Place();
  paddle.Dead = false;
  paddle.Bumped = false;
  paddle.Mode = 1;
  paddle.Gun->Hide();
  paddle.Size = 1;
  iMeshTextureReset(paddle.Body->Mesh);
  iMeshTextureSet(paddle.Body->Mesh, PaddleTextures[1][1]);
  iMeshTextureReset(paddle.Gun->Mesh);
  iMeshTextureSet(paddle.Gun->Mesh, PaddleGunTextures[1]);
  paddle.SetSize(paddle.Size, paddle.Mode);
  PaddleEntering = true;

  for (int i = 0; i < kBallCount; ++i) {
    TBubble& ball = *Balls[i];
    ball.InPlay = i == 0;
    ball.Moving = false;
    ball.Speed = 0.2L;
    ball.SpeedLevel = 0;
    ball.Caught = false;
    iMeshTextureReset(ball.Sprite->Mesh);
    iMeshTextureSet(ball.Sprite->Mesh, BallTexture);
    ball.Mode = 0;
    if (i == 0) {
      SeatBallOnPaddle(ball);
    } else {
      ball.X = 0;
      ball.Y = 0;
      ball.Angle = 0;
    }
  }
}

#include "game/asteroid.h"
#include "game/game.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/enemy.h"
#include "objects/missile.h"
#include "objects/paddle.h"

void ShowGameScene() {
  TGame& game = *Game;
  if (game.BarrierActive)
    game.BarrierSprite->Show();
  if (game.EscortActive)
    game.EscortSprite->Show();
  for (auto& piece : game.Debris)
    if (piece.Active)
      piece.Sprite->Show();
  for (auto& asteroid : game.Asteroids)
    if (asteroid->Active)
      asteroid->Sprite->Show();
  game.BackA1->Show();
  game.BackA2->Show();
  if (game.BackgroundType == 1) {
    game.BackB1->Show();
    game.BackB2->Show();
  }
  if (game.BackgroundType == 2)
    game.Planet->Show();
  for (auto& bonus : game.Bonuses)
    if (bonus->Active)
      bonus->Sprite->Show();
  for (auto& enemy : game.Enemies)
    if (enemy->Active)
      enemy->Sprite->Show();
  for (auto& block : game.Blocks)
    if (block->Active)
      block->Sprite->Show();
  TBita& paddle = *game.Paddle;
  paddle.Body->Show();
  if (paddle.Mode == 3)
    paddle.Gun->Show();
  for (auto& missile : paddle.Missiles)
    if (missile->Active)
      missile->Sprite->Show();
  for (auto& ball : game.Balls) {
    if (!ball->InPlay)
      continue;
    ball->Sprite->Show();
    if (ball->Mode != 9)
      ball->Glare->Show();
  }
  game.OverlaySprite->Show();
}

void HideGameScene() {
  TGame& game = *Game;
  game.BarrierSprite->Hide();
  game.EscortSprite->Hide();
  for (auto& piece : game.Debris)
    piece.Sprite->Hide();
  for (auto& asteroid : game.Asteroids)
    asteroid->Sprite->Hide();
  game.BackA1->Hide();
  game.BackA2->Hide();
  game.BackB1->Hide();
  game.BackB2->Hide();
  game.Planet->Hide();
  for (auto& bonus : game.Bonuses)
    bonus->Sprite->Hide();
  for (auto& enemy : game.Enemies)
    enemy->Sprite->Hide();
  for (auto& block : game.Blocks)
    block->Sprite->Hide();
  TBita& paddle = *game.Paddle;
  paddle.Body->Hide();
  paddle.Gun->Hide();
  for (auto& missile : paddle.Missiles)
    missile->Sprite->Hide();
  for (auto& piece : paddle.Pieces)
    piece.Sprite->Hide();
  for (auto& ball : game.Balls) {
    ball->Sprite->Hide();
    ball->Glare->Hide();
  }
  game.OverlaySprite->Hide();
}

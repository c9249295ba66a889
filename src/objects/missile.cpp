#include "objects/missile.h"

#include "app/run_phase.h"
#include "engine/engine.h"
#include "game/game.h"
#include "objects/block.h"
#include "objects/collision.h"
#include "objects/enemy.h"
#include "sprites/screen_placement.h"

namespace {

constexpr int32_t kPriority = 16;
constexpr float kWidthPx = 18, kHeightPx = 49;
constexpr long double kSpeed = 0.3L;  // playfield units per 13 ms step
constexpr long double kTopOut = 11;   // gone above this height

}  // namespace

void TBitaMissile::Setup() {
  Rebuild();
  Active = false;
  HalfHeight = 0.96L;
  HalfWidth = 0.36L;
}

void TBitaMissile::Rebuild() {
  Sprite = TMeshSprite::CreateBare(kPriority);
  SetMeshScreenSize(Sprite->Mesh, kWidthPx, kHeightPx);
  iMeshTextureSet(Sprite->Mesh, Game->MissileTextures[1]);
}

void TBitaMissile::Place() const {
  SetMeshScreenPos(Sprite->Mesh, ToScreenX(X), ToScreenY(Y));
}

void TBitaMissile::Update() {
  // The box is taken before the move, so a missile fired beside a block it already touches hits
  // it in its first step.
  const CollisionBox box = BoxAround(X, Y, HalfWidth, HalfHeight);

  for (auto& block : Game->Blocks) {
    if (!block->Active)
      continue;
    if (BoxesOverlap(box, BoxAround(block->X, block->Y, block->HalfWidth, block->HalfHeight))) {
      block->Hit();
      Sprite->Hide();
      Active = false;
      break;
    }
  }
  // One missile may damage a block and an enemy in the same step.
  for (auto& enemy : Game->Enemies) {
    if (!enemy->Active)
      continue;
    if (BoxesOverlap(box, BoxAround(enemy->X, enemy->Y, enemy->HalfWidth, enemy->HalfHeight))) {
      enemy->Hit();
      Sprite->Hide();
      Active = false;
      break;
    }
  }

  Y += kSpeed * FrameFactor;
  Place();
  if (Y > kTopOut) {
    Sprite->Hide();
    Active = false;
  }
}

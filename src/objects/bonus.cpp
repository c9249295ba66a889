#include "objects/bonus.h"

#include "app/run_phase.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "game/game.h"
#include "objects/collision.h"
#include "objects/paddle.h"
#include "sprites/screen_placement.h"

namespace {

constexpr int32_t kPriority = 15;
constexpr float kWidthPx = 63, kHeightPx = 49;
constexpr uint8_t kFrames = 8;
constexpr uint32_t kFrameMs = 30;
constexpr long double kFallSpeed = 0.1L;  // playfield units per 13 ms step
constexpr long double kLostBelow = -14;

}  // namespace

void TBonus::Setup(int32_t kind) {
  Frame = 1;
  Kind = kind;
  Rebuild();
  HalfHeight = 0.92L;
  HalfWidth = 0.88L;
}

void TBonus::Rebuild() {
  Sprite = TMeshSprite::CreateBare(kPriority);
  iMeshTextureSet(Sprite->Mesh, Game->BonusTextures[static_cast<size_t>(Kind - 1)][Frame - 1]);
  SetMeshScreenSize(Sprite->Mesh, kWidthPx, kHeightPx);
  Place();
}

void TBonus::Place() const {
  SetMeshScreenPos(Sprite->Mesh, ToScreenX(X), ToScreenY(Y));
}

void TBonus::Release(long double x, long double y) {
  X = x;
  Y = y;
  Place();
  Active = true;
  Sprite->Show();
}

void TBonus::Update() {
  const uint32_t now = GetTickCount();
  if (now - FrameTime > kFrameMs) {
    FrameTime = now;
    Frame = Frame >= kFrames ? 1 : Frame + 1;
    iMeshTextureReset(Sprite->Mesh);
    iMeshTextureSet(Sprite->Mesh, Game->BonusTextures[static_cast<size_t>(Kind - 1)][Frame - 1]);
  }

  // While the paddle is being destroyed the capsule hangs in the air and cannot be caught.
  TBita& paddle = *Game->Paddle;
  if (paddle.Dead)
    return;

  const CollisionBox paddleBox = BoxAround(paddle.X, paddle.Y, paddle.HalfWidth, paddle.HalfHeight);
  if (BoxesOverlap(BoxAround(X, Y, HalfWidth, HalfHeight), paddleBox)) {
    paddle.ApplyBonus(Kind);
    Active = false;
    Sprite->Hide();
    return;
  }

  Y -= kFallSpeed * FrameFactor;
  Place();
  if (Y < kLostBelow) {
    Active = false;
    Sprite->Hide();
  }
}

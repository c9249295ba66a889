#include "game/asteroid.h"

#include <cmath>
#include <numbers>

#include "app/run_phase.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "game/game.h"
#include "sprites/screen_placement.h"

namespace {

constexpr long double kTwoPi = 2 * std::numbers::pi_v<long double>;
constexpr int32_t kPriority = 10;
constexpr float kWidthPx = 54, kHeightPx = 53;
constexpr int32_t kFrames = 12;
constexpr uint32_t kFrameMs = 70;
constexpr long double kOrbitStep = 0.01L;  // radians per step, whatever the step's length

}  // namespace

void TAsteroid::Setup() {
  Frame = 1;
  Rebuild();
  Active = false;
}

void TAsteroid::Rebuild() {
  Sprite = TMeshSprite::CreateBare(kPriority);
  SetMeshScreenSize(Sprite->Mesh, kWidthPx, kHeightPx);
  iMeshTextureSet(Sprite->Mesh, Game->AsteroidTextures[static_cast<size_t>(Frame)]);
}

void TAsteroid::Place() const {
  SetMeshScreenPos(Sprite->Mesh, ToScreenX(X), ToScreenYRaised(Y));
}

void TAsteroid::Update() {
  switch (Game->BackgroundType) {
    case 3:
      Phase += kOrbitStep;
      if (Phase > kTwoPi)
        Phase -= kTwoPi;
      // An ellipse with half axes Radius and 2 Radius, turned by Tilt, around (-2, -2).
      X = Radius * std::cos(Phase) * std::cos(Tilt) -
          2 * Radius * std::sin(Phase) * std::sin(Tilt) - 2;
      Y = Radius * std::cos(Phase) * std::sin(Tilt) +
          2 * Radius * std::sin(Phase) * std::cos(Tilt) - 2;
      Place();
      Animate();
      break;
    case 1:
      X += std::cos(Heading) * Speed * FrameFactor;
      Y += std::sin(Heading) * Speed * FrameFactor;
      Animate();
      Place();
      if (std::fabs(X) > 20 || std::fabs(Y) > 18) {
        Active = false;
        Sprite->Hide();
      }
      break;
    default:
      break;
  }
}

void TAsteroid::Animate() {
  const uint32_t now = GetTickCount();
  if (now - FrameTick <= kFrameMs)
    return;
  FrameTick = now;
  Frame = Frame >= kFrames ? 1 : Frame + 1;
  iMeshTextureReset(Sprite->Mesh);
  iMeshTextureSet(Sprite->Mesh, Game->AsteroidTextures[static_cast<size_t>(Frame)]);
}

#include "objects/enemy.h"

#include <array>
#include <cmath>
#include <numbers>

#include "app/random.h"
#include "app/run_phase.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "game/game.h"
#include "persist/settings.h"
#include "sprites/screen_placement.h"

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr int32_t kPriority = 14;
constexpr int32_t kFrames = 5;
constexpr uint32_t kFrameMs = 51;

struct KindLook {
  float WidthPx, HeightPx;
  long double HalfHeight;
  int32_t HitPoints;  // when released
  int32_t Points;     // for the kill
};

// Indexed by kind - 1.
constexpr std::array<KindLook, 3> kKinds = {{
    {94, 65, 1.04L, 2, 50},
    {70, 70, 1.04L, 3, 75},
    {79, 81, 0.96L, 4, 100},
}};

const KindLook& LookOf(int32_t kind) {
  return kKinds[static_cast<size_t>(kind - 1)];
}

int32_t RandomSign() {
  return 1 - 2 * Random(2);
}

// A heading near `base`: up to 0.4 radians either way.
long double AroundHeading(long double base) {
  const int32_t sign = RandomSign();
  return base + sign * Random(5) / 10.0L;
}

}  // namespace

void TEnemy::Setup(int32_t kind, int32_t index) {
  Kind = kind;
  Index = index;
  Rebuild();
  Active = false;
  HalfHeight = LookOf(Kind).HalfHeight;
  HalfWidth = 0.96L;
  Up = false;
  Countdown = Random(150) + 50;
  Speed = 0.1L;
}

void TEnemy::Rebuild() {
  HitSound = iSoundCreate("sound\\EnemyHit.wav", 0);
  DeathSound = iSoundCreate("sound\\Enemy1.wav", 0);
  Sprite = TMeshSprite::CreateBare(kPriority);
  SetMeshScreenSize(Sprite->Mesh, LookOf(Kind).WidthPx, LookOf(Kind).HeightPx);
  iMeshTextureSet(Sprite->Mesh, Game->EnemyTextures[static_cast<size_t>(Kind - 1)][0]);
  Place();
}

void TEnemy::Place() const {
  SetMeshScreenPos(Sprite->Mesh, ToScreenX(X), ToScreenY(Y));
}

void TEnemy::Release(long double x, long double y) {
  X = x;
  Y = y;
  Place();
  Active = true;
  Sprite->Show();
  HitPoints = LookOf(Kind).HitPoints;
}

void TEnemy::Update() {
  if (Countdown > 0)
    --Countdown;
  if (Countdown <= 0) {
    Angle = Random(600) / 100.0L;
    Countdown = Random(150) + 50;
  }

  // Each test may override the one before, so near a corner the later one wins.
  if (X > 12)
    Angle = AroundHeading(3 * kPi / 2);
  if (X < -12)
    Angle = AroundHeading(kPi / 2);
  if (Y > 10)
    Angle = AroundHeading(kPi);
  if (Y < -6)
    Angle = AroundHeading(0);

  X += std::sin(Angle) * Speed * FrameFactor;
  Y += std::cos(Angle) * Speed * FrameFactor;
  Place();

  // The pictures run 1-2-3-4-5-4-3-2-1-2-...; a fresh enemy (picture 0, backward) starts at 2.
  const uint32_t now = GetTickCount();
  if (now - FrameTime >= kFrameMs) {
    FrameTime = now;
    if (Up) {
      if (++Frame > kFrames) {
        Frame = kFrames - 1;
        Up = false;
      }
    } else {
      if (--Frame < 1) {
        Frame = 2;
        Up = true;
      }
    }
    iMeshTextureReset(Sprite->Mesh);
    iMeshTextureSet(
        Sprite->Mesh,
        Game->EnemyTextures[static_cast<size_t>(Kind - 1)][static_cast<size_t>(Frame - 1)]);
  }
}

void TEnemy::Hit() {
  if (HitPoints >= 2) {
    iSoundVolumeSet(HitSound, EngineVolume(Settings.SoundVolume));
    iSoundPlay(HitSound, 0);
    --HitPoints;
    return;
  }
  iSoundVolumeSet(DeathSound, EngineVolume(Settings.SoundVolume));
  iSoundPlay(DeathSound, 0);
  Game->SetScore(Game->GetScore() + LookOf(Kind).Points);
  Sprite->Hide();
  Active = false;
  if (Index >= 0 && Index < kEnemyBlastCount) {
    TEnemyBlast& blast = Game->EnemyBlasts[static_cast<size_t>(Index)];
    blast.Active = true;
    blast.X = X;
    blast.Y = Y;
    blast.Age = 0;
  }
}

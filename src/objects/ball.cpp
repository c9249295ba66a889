#include "objects/ball.h"

#include <cmath>
#include <iterator>
#include <numbers>

#include "app/random.h"
#include "app/run_phase.h"
#include "engine/engine.h"
#include "game/game.h"
#include "objects/block.h"
#include "objects/collision.h"
#include "objects/enemy.h"
#include "objects/paddle.h"
#include "persist/settings.h"
#include "sprites/particle_effect.h"
#include "sprites/screen_placement.h"

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr int32_t kPriority = 15;
constexpr float kSizePx = 100;
constexpr long double kBounceSparkTime = 0.3L;  // seconds
constexpr long double kSpinAfterBounce = 2.0L;  // degrees per step
constexpr long double kSpinAfterSteer = 10.0L;  // degrees per step
// Part of the paddle's half width at each end where a ball inside the paddle is not pushed out.
constexpr long double kPaddleEdge = 0.8L;

enum class Reflection { Vertical, Horizontal, Reversal };
enum class Corner { TopLeft, TopRight, BottomRight, BottomLeft };

// `face` is the neighbour over the corner's top or bottom face, `side` the one beside it. With
// exactly one of them the ball hits the face left open; otherwise the heading decides, and a
// heading that points into the corner from outside sends the ball back the way it came.
Reflection CornerReflection(Corner corner, bool face, bool side, long double a) {
  if (side && !face)
    return Reflection::Vertical;
  if (face && !side)
    return Reflection::Horizontal;
  switch (corner) {
    case Corner::TopLeft:
      if (kPi / 2 < a && a < kPi)
        return Reflection::Reversal;
      if (a < kPi / 2)
        return Reflection::Vertical;
      return Reflection::Horizontal;
    case Corner::TopRight:
      if (kPi < a && a < 3 * kPi / 2)
        return Reflection::Reversal;
      if (a > 3 * kPi / 2)
        return Reflection::Vertical;
      return Reflection::Horizontal;
    case Corner::BottomRight:
      if (3 * kPi / 2 < a && a < 2 * kPi)
        return Reflection::Reversal;
      if ((kPi < a && a <= 3 * kPi / 2) || a >= 2 * kPi)
        return Reflection::Vertical;
      return Reflection::Horizontal;
    case Corner::BottomLeft:
      if (0 < a && a < kPi / 2)
        return Reflection::Reversal;
      if (a <= 0 || (kPi / 2 <= a && a < kPi))
        return Reflection::Vertical;
      return Reflection::Horizontal;
  }
  return Reflection::Horizontal;
}

// Every bounce is bent by 0.02 to 0.2 radians either way.
long double RandomDeflection() {
  const int32_t sign = 1 - 2 * Random(2);
  return sign * (Random(10) + 1) / 50.0L;
}

long double Reflect(Reflection reflection, long double a) {
  const long double d = RandomDeflection();
  switch (reflection) {
    case Reflection::Vertical:
      return kPi - a + d;
    case Reflection::Horizontal:
      // Deliberately not brought back into 0..2pi here; the next step does that once.
      return 4 * kPi - a + d;
    case Reflection::Reversal:
      return a + kPi + d;
  }
  return a;
}

Reflection ZoneReflection(size_t zone, const TNeighbours& n, long double a) {
  switch (zone) {
    case 0:
    case 1:
      return Reflection::Vertical;
    case 2:
    case 3:
      return Reflection::Horizontal;
    case 4:
      return CornerReflection(Corner::TopLeft, n.Top, n.Left, a);
    case 5:
      return CornerReflection(Corner::TopRight, n.Top, n.Right, a);
    case 6:
      return CornerReflection(Corner::BottomRight, n.Bottom, n.Right, a);
    default:
      return CornerReflection(Corner::BottomLeft, n.Bottom, n.Left, a);
  }
}

CollisionBox Zone(long double left, long double right, long double bottom, long double top) {
  return {static_cast<double>(top), static_cast<double>(left), static_cast<double>(bottom),
          static_cast<double>(right)};
}

// The level grid with the cells outside it read as empty.
int32_t GridCell(int32_t row, int32_t column) {
  if (row < 1 || row > kGridSize || column < 1 || column > kGridSize)
    return 0;
  return Game->LevelGrid[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

TNeighbours NeighboursOf(const TBlock& block) {
  const int32_t r = block.Row, c = block.Column;
  return {.Top = r >= 2 && GridCell(r - 1, c) != 0,
          .Right = c <= kGridSize - 1 && GridCell(r, c + 1) != 0,
          .Bottom = r <= kGridSize - 1 && GridCell(r + 1, c) != 0,
          .Left = c >= 2 && GridCell(r, c - 1) != 0};
}

bool Falling(long double angle) {
  return kPi / 2 < angle && angle < 3 * kPi / 2;
}

}  // namespace

void TBubble::Setup() {
  CreateEngineResources(false);
  Moving = InPlay = false;
  Radius = 0.4L;
  Mode = 0;
  Spin = 0;
  SpinStep = kSpinAfterBounce;
  SpeedLevel = 0;
  SparkLife = 0;
}

void TBubble::Rebuild() {
  CreateEngineResources(true);
  Place();
}

// A rebuilt trail differs a little from the first one (it sinks and shades to red); the colours
// are set again on every step anyway.
void TBubble::CreateEngineResources(bool rebuilt) {
  TParticleLook trail;
  trail.Capacity = 100;
  trail.Gravity = rebuilt ? Vec3f{0, -100, 80} : Vec3f{0, 0, 1000};
  trail.ColourFrom = {0, 0, 1};
  trail.ColourTo = rebuilt ? Vec3f{1, 0, 0} : Vec3f{0, 0, 1};
  trail.LifeTime = 0.2f;
  TEmitterLook trailEmitter;
  const float trailScale = rebuilt ? 0.15f : 0.2f;
  trailEmitter.ScaleFrom = trailEmitter.ScaleTo = {trailScale, trailScale};
  const TParticleEffect trailEffect = CreateParticleEffect(trail, trailEmitter);
  TrailParticles = trailEffect.Particles;
  TrailEmitter = trailEffect.Emitter;

  TParticleLook sparks;
  sparks.Gravity = {0, 0, -100};
  sparks.LifeTime = 0.2f;
  TEmitterLook sparkEmitter;
  sparkEmitter.ScaleFrom = sparkEmitter.ScaleTo = {0.05f, 0.05f};
  const TParticleEffect sparkEffect = CreateParticleEffect(sparks, sparkEmitter);
  SparkParticles = sparkEffect.Particles;
  SparkEmitter = sparkEffect.Emitter;

  for (int32_t slot = 1; slot <= 9; ++slot)
    Sounds[slot] = iSoundCreate("sound\\Block1.wav", 0);
  Sounds[kWallSound] = iSoundCreate("sound\\Block10.wav", 0);
  Sounds[kPaddleSound] = iSoundCreate("sound\\Bita_Sound.wav", 0);

  Sprite = TMeshSprite::CreateBare(kPriority);
  SetMeshScreenSize(Sprite->Mesh, kSizePx, kSizePx);
  const bool armoured = rebuilt && Mode == kArmoured;
  iMeshTextureSet(Sprite->Mesh, armoured ? Game->BallTextureArmored : Game->BallTexture);
  // Made after the ball, so it is drawn over it.
  Glare = TMeshSprite::CreateBare(kPriority);
  SetMeshScreenSize(Glare->Mesh, kSizePx, kSizePx);
  iMeshTextureSet(Glare->Mesh, Game->BallTextureGlare);
}

void TBubble::Place() const {
  SetMeshScreenPos(Sprite->Mesh, ToScreenX(X), ToScreenY(Y));
  SetMeshScreenPos(Glare->Mesh, ToScreenX(X), ToScreenY(Y));
}

bool TBubble::BounceOffBox(bool respond, const TNeighbours& neighbours, long double cx,
                           long double cy, long double w, long double h) {
  const long double r = Radius;
  const long double v = Speed * FrameFactor;
  const CollisionBox probe = PointBox(X + std::sin(Angle) * v, Y + std::cos(Angle) * v);

  const long double c = 1.41L * r;
  // Strips first, then corners; the first zone the probe touches decides. The top-left zone is
  // 1.21 r high where every other corner reaches 1.41 r.
  const CollisionBox zones[] = {
      Zone(cx - w - r / 4, cx + w + r / 4, cy - h - r, cy - h),  // bottom strip
      Zone(cx - w - r / 4, cx + w + r / 4, cy + h, cy + h + r),  // top strip
      Zone(cx - w - r, cx - w, cy - h - r / 4, cy + h + r / 4),  // left strip
      Zone(cx + w, cx + w + r, cy - h - r / 4, cy + h + r / 4),  // right strip
      Zone(cx - w - c, cx - w, cy + h, cy + h + 1.21L * r),      // top-left corner
      Zone(cx + w, cx + w + c, cy + h, cy + h + c),              // top-right corner
      Zone(cx + w, cx + w + c, cy - h - c, cy - h),              // bottom-right corner
      Zone(cx - w - c, cx - w, cy - h - c, cy - h),              // bottom-left corner
  };

  for (size_t zone = 0; zone < std::size(zones); ++zone) {
    if (!BoxesOverlap(probe, zones[zone]))
      continue;
    if (respond) {
      SparkX = X + std::sin(Angle) * (r + v);
      SparkY = Y + std::cos(Angle) * (r + v);
      SparkLife = kBounceSparkTime;
    }
    SpinStep = kSpinAfterBounce;
    if (respond) {
      Angle = Reflect(ZoneReflection(zone, neighbours, Angle), Angle);
      X += std::sin(Angle) * v;
      Y += std::cos(Angle) * v;
      Place();
    }
    return true;
  }
  return false;
}

void TBubble::EmitTrail(float lifeTime) const {
  iParticleLifeTimeSet(TrailParticles, lifeTime);
  if (Mode == kArmoured)
    iParticleColorSet(TrailParticles, {239 / 255.0f, 84 / 255.0f, 11 / 255.0f}, {1, 0, 0});
  else
    iParticleColorSet(TrailParticles, {0, 0, 1}, {0, 0, 1});
  iParticleEmitterLocationSet(TrailEmitter, ParticlePoint(X, Y));
  iParticleEmitterEmit(TrailEmitter, 20, 0.5f);
}

void TBubble::EmitSparks() {
  if (SparkLife <= 0)
    return;
  iParticleEmitterLocationSet(SparkEmitter, ParticlePoint(SparkX, SparkY));
  iParticleEmitterEmit(SparkEmitter, 20, 0.5f);
  SparkLife -= FrameFactor * 0.013L;
}

void TBubble::PlaySound(int32_t slot) const {
  const int32_t sound = Sounds[static_cast<size_t>(slot)];
  iSoundVolumeSet(sound, EngineVolume(Settings.SoundVolume));
  iSoundPlayNow(sound, 0);
}

void TBubble::Update() {
  if (!Moving) {
    // Held on the paddle, which moves it.
    if (InPlay)
      EmitTrail(0.2f);
    return;
  }
  EmitTrail(Mode == kArmoured ? 0.5f : 0.2f);
  EmitSparks();

  Spin += SpinStep;
  if (Spin > 360)
    Spin -= 360;
  iMeshEulerOrientationSet(Sprite->Mesh, 0, 0, static_cast<float>(Spin), "xyz");

  if (Angle > 2 * kPi)
    Angle -= 2 * kPi;
  if (Angle < 0)
    Angle += 2 * kPi;

  if (!Collide())
    return;

  if (Y < -15 || std::fabs(X) > 17) {
    Moving = false;
    InPlay = false;
  }
}

bool TBubble::Collide() {
  // A ball inside the ceiling (put there by the push below, or by the deflection of a flat
  // bounce) on its way down leaves through the ceiling's face: bounced back up by it, it would run
  // along inside the ceiling for ever, out of the paddle's reach.
  const bool leavingCeiling = Y > 10 - Radius && std::cos(Angle) < 0;
  if (!leavingCeiling && BounceOffBox(true, {}, 0, 11, 16, 1)) {
    PlaySound(kWallSound);
    if (Y > 11)
      Y = 10.4L;
    return false;
  }
  if (Game->BarrierActive && BounceOffBox(true, {}, 0, -11.8L, 16, 1)) {
    PlaySound(kWallSound);
    Game->BarrierActive = false;
    Game->BarrierSprite->Hide();
    return false;
  }
  // The side walls reach from y = -7.8 up to 12; below them a ball beside the field is lost.
  if (BounceOffBox(true, {}, -15.8L, 2.1L, 0.4L, 9.9L)) {
    PlaySound(kWallSound);
    if (X < -15)
      X = -14.5L;
    return false;
  }
  if (BounceOffBox(true, {}, 15.8L, 2.1L, 0.4L, 9.9L)) {
    PlaySound(kWallSound);
    if (X > 15)
      X = 14.5L;
    return false;
  }

  // Only a falling ball above the paddle's centre meets the paddle.
  const TBita& paddle = *Game->Paddle;
  if (Falling(Angle) && Y > paddle.Y &&
      BounceOffBox(true, {}, paddle.X, paddle.Y, paddle.HalfWidth, paddle.HalfHeight))
    return LeavePaddle();

  if (Game->EscortActive && Falling(Angle) && Y > Game->EscortY &&
      BounceOffBox(true, {}, Game->EscortX, Game->EscortY, 2.6L, 0.64L)) {
    PlaySound(kWallSound);
    if (BoxesOverlap(PointBox(X, Y), BoxAround(Game->EscortX, Game->EscortY, 2, 0.56L)))
      Y += 1;
    return false;
  }

  return BounceOffEnemiesAndBlocks();
}

bool TBubble::LeavePaddle() {
  ++Touches;
  TBita& paddle = *Game->Paddle;
  if (paddle.Mode == TBita::kSticky) {
    Moving = false;
    Caught = true;
    const long double dx = X - paddle.X;
    Y = paddle.Y + paddle.HalfHeight + Radius - 0.1L;
    // The paddle is thinner near its ends, so a ball caught there rests lower.
    if (std::fabs(dx) > paddle.HalfWidth - kPaddleEdge)
      Y -= std::fabs(paddle.HalfWidth - std::fabs(dx));
    Place();
    return false;
  }

  paddle.Bump();
  // A ball that got into the paddle is pushed out above it instead of steered.
  if (BoxesOverlap(PointBox(X, Y), BoxAround(paddle.X, paddle.Y, paddle.HalfWidth - kPaddleEdge,
                                             paddle.HalfHeight))) {
    Y += 1;
    return false;
  }

  if (paddle.MoveDir == TBita::kMovingLeft) {
    Angle -= kPi / 6;
    SpinStep = kSpinAfterSteer;
  } else if (paddle.MoveDir == TBita::kMovingRight) {
    Angle += kPi / 6;
    SpinStep = kSpinAfterSteer;
  }
  // Too flat to the right becomes 45 degrees; too flat to the left (in 0..2pi terms) 315. A
  // negative heading left by the steering is not caught here.
  if (kPi / 3 < Angle && Angle < kPi)
    Angle = kPi / 4;
  if (kPi < Angle && Angle < 5 * kPi / 3)
    Angle = 7 * kPi / 4;
  PlaySound(kPaddleSound);
  return true;
}

bool TBubble::BounceOffEnemiesAndBlocks() {
  const bool armoured = Mode == kArmoured;
  bool advance = true;

  for (auto& enemy : Game->Enemies) {
    if (!enemy->Active)
      continue;
    const bool hit =
        BounceOffBox(!armoured, {}, enemy->X, enemy->Y, enemy->HalfWidth, enemy->HalfHeight);
    advance = !hit;
    if (hit) {
      enemy->Hit();
      if (armoured)
        advance = true;
      break;
    }
  }

  // Blocks are tested even after an enemy bounce; each block missed lets the ball move on.
  for (auto& block : Game->Blocks) {
    if (!block->Active)
      continue;
    const bool hit = BounceOffBox(!armoured, NeighboursOf(*block), block->X, block->Y,
                                  block->HalfWidth, block->HalfHeight);
    advance = !hit;
    if (!hit)
      continue;
    ++Touches;
    const int32_t kind = block->Kind;
    PlaySound(kind >= 1 && kind <= 9 ? kind : kWallSound);
    if (kind == 10 && BoxesOverlap(PointBox(X, Y), BoxAround(block->X, block->Y, block->HalfWidth,
                                                             block->HalfHeight))) {
      Y -= 1;
      return false;
    }
    // A normal ball only bounces off kind 10; an armoured ball breaks it.
    if (kind != 10 || armoured)
      block->Hit();
    if (armoured)
      advance = true;
    break;
  }

  if (advance) {
    X += std::sin(Angle) * Speed * FrameFactor;
    Y += std::cos(Angle) * Speed * FrameFactor;
    Place();
  }
  return true;
}

// The player's paddle. Steering is direction-only: the mouse or the bound keys choose left, right
// or stop and the paddle always moves at one speed. It has four sizes and three modes (normal,
// sticky, gun); bonuses change them through ApplyBonus. When no ball is left in play it breaks
// apart and comes back with the next serve, or the game ends.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "objects/missile.h"
#include "sprites/mesh_sprite.h"

class TBita {
 public:
  static constexpr int32_t kNormal = 1;
  static constexpr int32_t kSticky = 2;
  static constexpr int32_t kGun = 3;
  static constexpr uint8_t kStill = 0;
  static constexpr uint8_t kMovingLeft = 1;
  static constexpr uint8_t kMovingRight = 2;
  static constexpr int kPieceCount = 15;
  static constexpr int kExplosionCount = 5;
  static constexpr int kMissileCount = 10;
  static constexpr size_t kShotSound = 17;

  struct TPiece {
    std::unique_ptr<TMeshSprite> Sprite;
    long double X = 0, Y = 0;   // where the paddle broke
    long double Direction = 0;  // radians, x = cos, y = sin
    long double Alpha = 0;
    long double Distance = 0;  // how far it has flown, scaled per piece
    bool Active = false;
    long double Spin = 0;  // degrees
  };

  struct TExplosion {
    int32_t Particles1 = 0, Emitter1 = 0;  // red
    int32_t Particles2 = 0, Emitter2 = 0;  // yellow
  };

  void Setup();
  // The engine was reopened: new engine resources. Position, size, mode and flags are kept; the
  // pictures get their sizes back at the next SetSize.
  void Rebuild();
  void Place() const;
  // Collision half extents and picture sizes of `size` (1..4); the body picture only for modes
  // 1..3.
  void SetSize(uint8_t size, int32_t mode);
  // A ball hit it: it dips for a moment.
  void Bump();
  void Update();
  void ApplyBonus(int32_t kind);

  std::unique_ptr<TMeshSprite> Body;
  std::unique_ptr<TMeshSprite> Gun;  // shown in gun mode only
  std::array<TPiece, kPieceCount> Pieces;
  std::array<TExplosion, kExplosionCount> Explosions;
  uint8_t Size = 1;                // 1..4; from small to large: 2, 1, 3, 4
  long double X = 0, Y = 0;        // centre, playfield units; x stays within -13..13
  long double HalfHeight = 0.64L;  // playfield units
  long double HalfWidth = 2.8L;    // playfield units
  uint32_t BumpTime = 0;           // tick (ms) of the last bump; while dead, of the last tick
  bool Bumped = false;             // dipped by a ball
  bool Firing = false;             // the gun recoils after a shot
  uint32_t FireTime = 0;           // tick (ms) of the last shot
  int32_t DeathTicks = 0;          // 100 ms periods counted while dead, over the whole game
  bool Dead = false;               // broken; its explosion runs
  int32_t Mode = -1;               // kNormal, kSticky, kGun; -1 until the first serve
  uint8_t MouseDir = kStill;       // the direction the mouse chose
  std::array<std::unique_ptr<TBitaMissile>, kMissileCount> Missiles;
  bool GunSide = false;  // true: the next side shot leaves on the right
  int32_t ExhaustParticles = 0, ExhaustEmitter = 0;
  std::array<int32_t, 18> Sounds{};  // [0] explosion, [1..16] bonus kinds, [17] shot
  uint8_t MoveDir = kStill;          // how it moved in this step; the balls read it

 private:
  void CreateEngineResources();
  void StartDestruction();
  void StepDestruction(uint32_t now);
  void PlacePiece(int piece) const;
  void Steer();
  void Fire(uint32_t now);
  enum class ShotKind { Side, SecondSide, Centre };
  void Shoot(ShotKind kind, uint32_t now);
  void SetBodyTexture(int32_t mode) const;
  void ChangeSize(uint8_t size);
  void AddExtraBalls() const;
  void EndGame() const;
};

// A ball. The game keeps twenty; ball slot 0 is the one served on the paddle. A flying ball moves
// straight along its heading and bounces off the ceiling, the side walls, the paddle, the barrier,
// the escort platform, enemies and blocks, all through one rectangle routine (BounceOffBox).
//
// Slot states (InPlay, Moving): (false, false) free; (true, false) held on the paddle;
// (true, true) flying.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "sprites/mesh_sprite.h"

// Which faces of a box are covered by a neighbouring box; decides the corner bounces.
struct TNeighbours {
  bool Top = false;
  bool Right = false;
  bool Bottom = false;
  bool Left = false;
};

class TBubble {
 public:
  static constexpr int32_t kArmoured = 9;  // Mode of a ball that passes through blocks and enemies
  static constexpr int32_t kWallSound = 10;
  static constexpr int32_t kPaddleSound = 11;

  void Setup();
  // The engine was reopened: new particles, sounds and sprites; the ball's state is kept.
  void Rebuild();
  void Place() const;
  // One step of a flying or held ball.
  void Update();

  // Tests the point one step ahead against the box centred at (cx, cy) with half extents w, h,
  // surrounded by four side strips and four corner zones sized by the radius. On a hit with
  // `respond` the ball bounces (with a small random deflection) and takes one step; without it
  // the routine only detects. True on a hit.
  bool BounceOffBox(bool respond, const TNeighbours& neighbours, long double cx, long double cy,
                    long double w, long double h);

  std::unique_ptr<TMeshSprite> Sprite;  // the ball, turned by Spin
  std::unique_ptr<TMeshSprite> Glare;   // the highlight, never turned
  long double X = 0, Y = 0;             // centre, playfield units
  long double Radius = 0.4L;            // playfield units
  long double Angle = 0;                // heading, radians: 0 up, pi/2 right
  long double SpinStep = 2.0L;          // degrees added to Spin per step
  long double Spin = 0;                 // degrees 0..360
  long double Speed = 0.2L;             // playfield units per 13 ms step
  int32_t SpeedLevel = 0;               // -4..4, from the speed bonuses
  bool Moving = false;                  // flies and collides
  bool InPlay = false;                  // a ball of the player, flying or held
  int32_t Mode = 0;                     // 0 normal, kArmoured
  std::array<int32_t, 12> Sounds{};     // [1..9] block kinds, [10] wall, [11] paddle
  int32_t TrailParticles = 0, TrailEmitter = 0;
  int32_t SparkParticles = 0, SparkEmitter = 0;
  long double SparkLife = 0;           // seconds of sparks left
  long double SparkX = 0, SparkY = 0;  // where the last bounce touched
  bool Caught = false;  // stopped by the sticky paddle; keeps its heading for the launch
  // Hits on blocks and on the paddle since the game began; nothing in play reads it, the balance
  // report tells a ball that has lost its way by it.
  uint64_t Touches = 0;

 private:
  void CreateEngineResources(bool rebuilt);
  void EmitTrail(float lifeTime) const;
  void EmitSparks();
  void PlaySound(int32_t slot) const;
  // The walls, the paddle, the barrier, the escort platform, enemies and blocks, and the move;
  // false when a bounce ended the step before the loss test.
  bool Collide();
  // After a hit on the paddle: the sticky catch or the steered bounce.
  bool LeavePaddle();
  bool BounceOffEnemiesAndBlocks();
};

// A creature released by a broken block: wanders the upper playfield, turns at random moments and
// at invisible bounds, bounces balls and takes 2 to 4 hits. The game keeps nine in a pool, three
// of each kind 1..3.
#pragma once

#include <cstdint>
#include <memory>

#include "sprites/mesh_sprite.h"

class TEnemy {
 public:
  // `index` is its place in the game's pool.
  void Setup(int32_t kind, int32_t index);
  // The engine was reopened: new sounds and a new sprite; the enemy's state is kept.
  void Rebuild();
  void Place() const;
  // One step: random turn, bounds, move, animation. Only for an active enemy.
  void Update();
  // A ball or a missile touched it: one hit point, or death with points and a blast.
  void Hit();
  // Brings a pool entry into play at a broken block (Angle, Countdown and the animation keep
  // their last values).
  void Release(long double x, long double y);

  int32_t Frame = 0;               // picture 1..5; 0 until the first animation step
  bool Up = false;                 // the animation runs forward
  uint32_t FrameTime = 0;          // tick count (ms) of the last picture change
  int32_t Countdown = 0;           // steps until the next random turn
  long double X = 0, Y = 0;        // centre, playfield units
  long double HalfHeight = 1.04L;  // playfield units
  long double HalfWidth = 0.96L;   // playfield units
  int32_t Kind = 1;                // 1..3
  std::unique_ptr<TMeshSprite> Sprite;
  bool Active = false;
  long double Speed = 0.1L;  // playfield units per 13 ms step
  long double Angle = 0;     // heading, radians: 0 up, pi/2 right
  int32_t HitPoints = 0;
  int32_t HitSound = 0;
  int32_t DeathSound = 0;
  int32_t Index = 0;  // its place 0..8 in the game's pool, which is also its blast set
};

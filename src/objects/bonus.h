// A falling capsule released by a broken block. Caught by the paddle it applies its effect
// (TBita::ApplyBonus) and goes back to the pool. The game keeps 48, three of each kind 1..16.
#pragma once

#include <cstdint>
#include <memory>

#include "sprites/mesh_sprite.h"

class TBonus {
 public:
  void Setup(int32_t kind);
  // The engine was reopened: a new sprite with the current picture.
  void Rebuild();
  void Place() const;
  // One step: animation, then the catch or the fall. Only for an active bonus.
  void Update();
  // Brings a pool entry into play at a broken block.
  void Release(long double x, long double y);

  std::unique_ptr<TMeshSprite> Sprite;
  long double X = 0, Y = 0;        // centre, playfield units
  long double HalfHeight = 0.92L;  // playfield units
  long double HalfWidth = 0.88L;   // playfield units
  bool Active = false;             // falling in play
  int32_t Kind = 1;                // 1..16
  uint32_t FrameTime = 0;          // tick count (ms) of the last picture change
  uint8_t Frame = 1;               // picture 1..8
};

// A shot of the paddle's gun: flies straight up, damages the first block and the first enemy its
// box touches and disappears at the top of the playfield. The paddle owns ten of them.
#pragma once

#include <memory>

#include "sprites/mesh_sprite.h"

class TBitaMissile {
 public:
  void Setup();
  // The engine was reopened: a new sprite (the old handle is dead).
  void Rebuild();
  void Place() const;
  // One step of flight; only for an active missile.
  void Update();

  long double X = 0, Y = 0;        // centre, playfield units
  long double HalfHeight = 0.96L;  // playfield units
  long double HalfWidth = 0.36L;   // playfield units
  std::unique_ptr<TMeshSprite> Sprite;
  bool Active = false;  // in flight
};

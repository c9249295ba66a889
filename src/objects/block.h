// A brick of the level. The level builder creates the blocks from the level grid and the moving-
// block list and places them; a block reacts only when a ball or a missile hits it.
//
// Kinds: 1..3 break; 4..6 step down to 1..3; 7..9 (stacks) step down to 4..6 and release their
// eight hidden spares (the next eight entries of the block list) into the free cells around them;
// 10 breaks only for an armoured ball or a missile; 11 and above never break.
#pragma once

#include <cstdint>
#include <memory>

#include "sprites/mesh_sprite.h"

class TBlock {
 public:
  void Setup(int32_t kind);
  // The engine was reopened: a new sprite with the same picture.
  void Rebuild();
  void Place() const;
  // A ball or a missile hit it: debris, blast, the kind's rule, points and drops.
  void Hit();

  std::unique_ptr<TMeshSprite> Sprite;
  long double X = 0, Y = 0;       // centre, playfield units
  long double HalfHeight = 0.8L;  // playfield units
  long double HalfWidth = 0.6L;   // playfield units
  uint8_t Kind = 1;
  bool Active = false;  // in play: shown and colliding
  int32_t Column = 1;   // grid cell, 1..20
  int32_t Row = 1;      // grid cell, 1..20, growing downward
  int32_t Index = 0;    // its own place in the game's block list

 private:
  void SetPicture() const;
  void ScatterDebris() const;
  void SetOffBlast() const;
  void Drop() const;
  void ReleaseSpares() const;
};

// The picture of a block kind: kinds past the ten block pictures run on into the game's
// following texture rows (debris, explosions, asteroids, bonuses, backgrounds); 0 past them all.
int32_t BlockTexture(int32_t kind);
// The debris picture of a kind, counted the same way from the debris row.
int32_t DebrisTexture(int32_t kind);

// An asteroid drifting behind the playfield; nothing collides with it. With background type 1
// small ones are launched above or below the field and drift across it; with type 3 two to four
// large ones circle on tilted ellipses for the whole level. The game launches and sets them up
// by writing the fields; Update moves and animates an active one.
#pragma once

#include <cstdint>
#include <memory>

#include "sprites/mesh_sprite.h"

class TAsteroid {
 public:
  void Setup();
  // The engine was reopened: a new sprite with the current picture.
  void Rebuild();
  // Centres the sprite on the playfield point (X, Y).
  void Place() const;
  void Update();

  std::unique_ptr<TMeshSprite> Sprite;
  uint32_t FrameTick = 0;   // tick count (ms) of the last picture change
  int32_t Frame = 1;        // picture 1..12
  long double Speed = 0;    // playfield units per 13 ms step (small ones)
  long double Heading = 0;  // radians, x = cos, y = sin (small ones)
  bool Active = false;
  long double Phase = 0;     // radians along the orbit (large ones)
  long double X = 0, Y = 0;  // playfield units
  long double Tilt = 0;      // radians the orbit is turned by (large ones)
  long double Radius = 0;    // the orbit's smaller half axis, playfield units (large ones)

 private:
  void Animate();
};

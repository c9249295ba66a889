// A button of two pictures from an image pack: its face and a glow drawn over it, which fades in
// while the button is the current one. The owner picks the current button each frame (HoverOn on
// it, HoverOff on the others) and calls Animate on all of them.
#pragma once

#include <cstdint>
#include <memory>

#include "sprites/mesh_sprite.h"

class TMeshButton {
 public:
  // (x, y) is the top-left corner unless `centered`; the hit test assumes the top-left corner.
  TMeshButton(const char* packFile, uint16_t glowIndex, uint16_t faceIndex, int32_t glowTag,
              int32_t faceTag, float width, float height, float x, float y, int32_t priority,
              bool centered);

  void Show() const;
  void Hide() const;
  void HoverOn() { HoverDir = +1; }
  void HoverOff() { HoverDir = -1; }
  // One fade step of the glow: 20 frames from off to full and back.
  void Animate();
  void SetHitMargins(float marginX, float marginY);
  // Strictly inside the rectangle less the margins (a negative margin widens it).
  bool HitTest(int32_t px, int32_t py) const;

  std::unique_ptr<TMeshSprite> Glow;  // drawn one priority above the face
  std::unique_ptr<TMeshSprite> Face;
  float GlowAlpha = 0;  // within [0, 0.99]
  int32_t HoverDir = -1;
  float Left, Top, Width, Height;  // screen pixels
  float MarginX = 0, MarginY = 0;  // screen pixels
};

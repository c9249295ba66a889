// What the three panels beside the main menu share: they slide in from the right, 3 percent a
// frame, and every picture is drawn at its home centre plus 500 - 5 x Slide pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "sprites/mesh_button.h"
#include "sprites/mesh_sprite.h"

// A panel picture and the centre it has when the panel is in place.
struct THomedPicture {
  const TMeshSprite* Sprite = nullptr;
  float HomeX = 0, HomeY = 0;
};

// Records where the picture stands now as its home.
THomedPicture AtHome(const TMeshSprite& sprite);
// Both pictures of a button.
void AddAtHome(std::vector<THomedPicture>& pictures, const TMeshButton& button);

// Pixels right of home for a slide amount.
float SlideOffset(int32_t slide);
// One frame of sliding: true when the amount moved (it moves only strictly between 0 and 100).
bool StepSlide(bool open, int32_t& slide);
void PlaceSlid(const THomedPicture& picture, float offsetX);
void PlaceSlid(const std::vector<THomedPicture>& pictures, float offsetX);

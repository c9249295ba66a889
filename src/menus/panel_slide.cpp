#include "menus/panel_slide.h"

#include <algorithm>

#include "sprites/screen_placement.h"

namespace {

constexpr int32_t kSlideStep = 3;

}  // namespace

THomedPicture AtHome(const TMeshSprite& sprite) {
  return {&sprite, sprite.ScreenX(), sprite.ScreenY()};
}

void AddAtHome(std::vector<THomedPicture>& pictures, const TMeshButton& button) {
  pictures.push_back(AtHome(*button.Face));
  pictures.push_back(AtHome(*button.Glow));
}

float SlideOffset(int32_t slide) {
  return static_cast<float>(500 - 5 * slide);
}

bool StepSlide(bool open, int32_t& slide) {
  if (slide <= 0 || slide >= 100)
    return false;
  slide = std::clamp(slide + (open ? kSlideStep : -kSlideStep), 0, 100);
  return true;
}

void PlaceSlid(const THomedPicture& picture, float offsetX) {
  SetMeshScreenPos(picture.Sprite->Mesh, picture.HomeX + offsetX, picture.HomeY);
}

void PlaceSlid(const std::vector<THomedPicture>& pictures, float offsetX) {
  for (const THomedPicture& picture : pictures)
    PlaceSlid(picture, offsetX);
}

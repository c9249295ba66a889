#include "sprites/mesh_button.h"

#include <algorithm>

namespace {

constexpr float kGlowStep = 0.05f;
// The glow never becomes fully opaque.
constexpr float kGlowMax = 0.99f;

}  // namespace

TMeshButton::TMeshButton(const char* packFile, uint16_t glowIndex, uint16_t faceIndex,
                         int32_t glowTag, int32_t faceTag, float width, float height, float x,
                         float y, int32_t priority, bool centered)
    : Left(x), Top(y), Width(width), Height(height) {
  Face = TMeshSprite::CreateFromPack(packFile, faceIndex, faceTag, width, height, x, y, priority,
                                     centered);
  Glow = TMeshSprite::CreateFromPack(packFile, glowIndex, glowTag, width, height, x, y,
                                     priority + 1, centered);
  Face->SetAlpha(0.9f);
  Animate();
}

void TMeshButton::Show() const {
  Face->Show();
  Glow->Show();
}

void TMeshButton::Hide() const {
  Face->Hide();
  Glow->Hide();
}

void TMeshButton::Animate() {
  GlowAlpha += HoverDir == +1 ? kGlowStep : -kGlowStep;
  GlowAlpha = std::clamp(GlowAlpha, 0.0f, kGlowMax);
  Glow->SetAlpha(GlowAlpha);
}

void TMeshButton::SetHitMargins(float marginX, float marginY) {
  MarginX = marginX;
  MarginY = marginY;
}

bool TMeshButton::HitTest(int32_t px, int32_t py) const {
  const auto x = static_cast<float>(px);
  const auto y = static_cast<float>(py);
  return Left + MarginX < x && x < Left + Width - MarginX && Top + MarginY < y &&
         y < Top + Height - MarginY;
}

#include "sdl/pointer_control.h"

namespace engine::sdl {

void PointerControl::MoveTo(DesktopPoint target, double now) {
  if (!desktopRefuses_ && desktop_.warp(target)) {
    warped_ = target;
    return;
  }
  desktopRefuses_ = true;
  TakeOver(target, now);
}

void PointerControl::MovedBy(int dx, int dy) {
  if (own_) {
    position_.x += dx;
    position_.y += dy;
  }
}

void PointerControl::Tick(double now) {
  if (own_ && now - lastMove_ > kOwnPointerHold) {
    own_ = false;
    desktop_.setRelativeMode(false);
  }
}

void PointerControl::TakeOver(DesktopPoint at, double now) {
  if (!own_) {
    own_ = true;
    desktop_.setRelativeMode(true);
  }
  position_ = at;
  lastMove_ = now;
}

}  // namespace engine::sdl

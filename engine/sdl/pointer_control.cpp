#include "sdl/pointer_control.h"

namespace engine::sdl {

void PointerControl::MoveTo(DesktopPoint target, double now) {
  if (desktopRefuses_) {
    TakeOver(target, now);
    return;
  }
  desktop_.warp(target);
  if (desktop_.read() == target) {
    refusals_ = 0;
    return;
  }
  // One miss may be the player's hand moving at the same moment; a run of them is the desktop.
  if (++refusals_ >= kRefusalsToGiveUp) {
    desktopRefuses_ = true;
    TakeOver(target, now);
  }
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

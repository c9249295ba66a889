#include "core/input_state.h"

#include <algorithm>
#include <cmath>

#include "core/frame.h"

namespace engine {
namespace {

bool ValidKey(int scanCode) {
  return scanCode > 0 && scanCode < InputState::kKeys;
}
bool ValidButton(int button) {
  return button >= 0 && button < InputState::kButtons;
}

float Fraction(float pixels, int extent) {
  if (!std::isfinite(pixels)) {
    return 0.5f;
  }
  return std::clamp(pixels / static_cast<float>(extent), 0.0f, 1.0f);
}

}  // namespace

void InputState::KeyDown(int scanCode) {
  if (!ValidKey(scanCode)) {
    return;
  }
  // Auto-repeat is not a new press.
  if (!keyHeld_[scanCode]) {
    keyClicked_[scanCode] = true;
  }
  keyHeld_[scanCode] = true;
}

void InputState::KeyUp(int scanCode) {
  if (ValidKey(scanCode)) {
    keyHeld_[scanCode] = false;
  }
}

bool InputState::KeyHeld(int scanCode) const {
  return ValidKey(scanCode) && keyHeld_[scanCode];
}

bool InputState::TakeKeyClick(int scanCode) {
  if (!ValidKey(scanCode) || !keyClicked_[scanCode]) {
    return false;
  }
  keyClicked_[scanCode] = false;
  return true;
}

void InputState::MouseMoved(float x, float y) {
  mouseX_ = Fraction(x, kScreenWidth);
  mouseY_ = Fraction(y, kScreenHeight);
}

void InputState::ButtonDown(int button) {
  if (!ValidButton(button)) {
    return;
  }
  if (!buttonHeld_[button]) {
    buttonClicked_[button] = true;
  }
  buttonHeld_[button] = true;
}

void InputState::ButtonUp(int button) {
  if (ValidButton(button)) {
    buttonHeld_[button] = false;
  }
}

bool InputState::ButtonHeld(int button) const {
  return ValidButton(button) && buttonHeld_[button];
}

bool InputState::TakeButtonClick(int button) {
  if (!ValidButton(button) || !buttonClicked_[button]) {
    return false;
  }
  buttonClicked_[button] = false;
  return true;
}

void InputState::ExpireClicks() {
  keyClicked_.fill(false);
  buttonClicked_.fill(false);
}

UINT InputState::HeldModifiers() const {
  UINT modifiers = 0;
  if (keyHeld_[56] || keyHeld_[184]) {
    modifiers |= MOD_ALT;
  }
  if (keyHeld_[29] || keyHeld_[157]) {
    modifiers |= MOD_CONTROL;
  }
  if (keyHeld_[42] || keyHeld_[54]) {
    modifiers |= MOD_SHIFT;
  }
  return modifiers;
}

}  // namespace engine

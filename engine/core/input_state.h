// Keyboard and mouse as the game's queries see them.
#pragma once

#include <array>
#include <cstdint>

#include "engine/platform.h"

namespace engine {

// Clicks are remembered from the press until a query takes them or the run phase after the press
// ends, whichever comes first: a press is never lost between two run phases, and a press nobody
// asked about does not surface screens later.
class InputState {
 public:
  static constexpr int kKeys = 256;   // DirectInput scan codes 1..255
  static constexpr int kButtons = 3;  // left, right, middle

  void Reset() { *this = InputState(); }

  void KeyDown(int scanCode);
  void KeyUp(int scanCode);
  bool KeyHeld(int scanCode) const;
  bool TakeKeyClick(int scanCode);

  // Virtual-screen pixels; kept within the screen.
  void MouseMoved(float x, float y);
  float MouseX() const { return mouseX_; }  // fraction of the screen width, from the left
  float MouseY() const { return mouseY_; }  // fraction of the screen height, from the top
  void ButtonDown(int button);
  void ButtonUp(int button);
  bool ButtonHeld(int button) const;
  bool TakeButtonClick(int button);

  void ExpireClicks();

  // MOD_ALT, MOD_CONTROL and MOD_SHIFT for the modifier keys held now.
  UINT HeldModifiers() const;

 private:
  std::array<bool, kKeys> keyHeld_{};
  std::array<bool, kKeys> keyClicked_{};
  std::array<bool, kButtons> buttonHeld_{};
  std::array<bool, kButtons> buttonClicked_{};
  float mouseX_ = 0.5f;
  float mouseY_ = 0.5f;
};

}  // namespace engine

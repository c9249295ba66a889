// Game controllers, read as the keyboard the game already knows. The d-pad and the left stick
// press the bound left and right keys and the cursor keys, A the bound fire key and Enter, B
// Escape, Start P; the d-pad's up and down are the cursor keys. A cursor key or Enter that is
// bound to another of the game's keys is left out, so that no direction ever presses both.
// Controllers come and go at any time; one that goes releases what it held.
#pragma once

#include <SDL.h>

#include <bitset>
#include <map>
#include <memory>
#include <set>

namespace engine::sdl {

class Gamepads {
 public:
  Gamepads() = default;
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // Takes SDL's game controller events (added, removed, buttons, axes); false for any other.
  bool OnEvent(const SDL_Event& event);

 private:
  enum Control { kLeft, kRight, kUp, kDown, kFire, kBack, kPause, kControls };
  struct CloseController {
    void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
  };
  struct Pad {
    std::unique_ptr<SDL_GameController, CloseController> controller;  // empty for one not opened
    std::bitset<kControls> buttons;
    std::bitset<kControls> stick;
  };

  void Open(int deviceIndex);
  void OnButton(const SDL_ControllerButtonEvent& event);
  void OnAxis(const SDL_ControllerAxisEvent& event);
  // Presses and releases keys until the keys down are those of the controls held.
  void Sync();

  std::map<SDL_JoystickID, Pad> pads_;
  std::set<int> pressed_;
};

// The running game's controllers, SDL's game controller support started on first use (after
// the video subsystem, so that it is shut down first).
Gamepads& TheGamepads();

}  // namespace engine::sdl

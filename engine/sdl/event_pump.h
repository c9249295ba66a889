// Takes SDL's events and hands them on: window events become messages for the window procedure,
// keys and the mouse go to the engine's input (or, for a registered hot key, become WM_HOTKEY).
#pragma once

namespace engine::sdl {

// With `wait`, blocks until at least one event has come; false when waiting failed.
bool PumpEvents(bool wait);

}  // namespace engine::sdl

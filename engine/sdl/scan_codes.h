// SDL's key positions (USB usage codes) as the DirectInput scan codes the engine speaks: the
// main block as on a PC keyboard's set 1, extended keys (right Ctrl, right Alt, the arrows, the
// navigation block, keypad Enter and slash) at 128 and up.
#pragma once

#include <SDL_scancode.h>

namespace engine::sdl {

// 0 for a key without a DirectInput code.
int DirectInputScanCode(SDL_Scancode key);

}  // namespace engine::sdl

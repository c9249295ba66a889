// The hot keys the program registered, which the event pump turns into WM_HOTKEY.
#pragma once

#include "core/hot_keys.h"
#include "engine/platform.h"

namespace engine::sdl {

HotKeyRegistry& HotKeys();
// Drops every hot key of a window that is being destroyed.
void ForgetHotKeys(HWND window);

}  // namespace engine::sdl

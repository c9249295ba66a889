// The queue the window procedure's messages wait in, filled from SDL's events.
#pragma once

#include "engine/platform.h"

namespace engine::sdl {

void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Forgets the messages still queued for a window that is being destroyed.
void DropWindowMessages(HWND window);

}  // namespace engine::sdl

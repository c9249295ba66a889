// The one pointer of the desktop the platform layer and the backend share.
#pragma once

#include "sdl/pointer_control.h"

namespace engine::sdl {

PointerControl& SystemPointer();

// In full screen only the game's own cursor picture is seen: the system cursor stays hidden,
// whatever ShowCursor counts.
void HideSystemCursorForFullScreen(bool hide);

}  // namespace engine::sdl

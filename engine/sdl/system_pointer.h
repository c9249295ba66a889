// The one pointer of the desktop the platform layer and the backend share.
#pragma once

#include "sdl/pointer_control.h"

namespace engine::sdl {

PointerControl& SystemPointer();

}  // namespace engine::sdl

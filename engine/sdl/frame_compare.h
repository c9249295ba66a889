// Whether two frames draw the same picture. The game draws its scene at the end of every run step
// and the engine loop draws it again right after; the second draw of an unchanged scene is then
// skipped instead of rendered and presented twice (which with vertical sync would also halve the
// frame rate).
#pragma once

#include "core/frame.h"

namespace engine::sdl {

// Compares what is drawn; the items' sources (which engine object each came from) do not count.
bool SameFrame(const Frame& a, const Frame& b);

}  // namespace engine::sdl

// Fixed-cell layout of printed text. At scale s every character takes a cell s print units wide
// and s print units tall, so a line of n characters at scale s is about n * s units long: the
// game centres a line by moving its start left by half of that. Spacing widens the step from one
// cell to the next by spacing * s / 2 print units.
#pragma once

#include "core/engine_state.h"
#include "core/frame.h"

namespace engine {

// The cells of one printed text, in screen pixels, drawn with `font` (a backend font id).
TextRun LayOutText(const PrintedText& text, ResourceId font);

}  // namespace engine

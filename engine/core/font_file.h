// Checks that a ".wid" font file is a TrueType or OpenType font before a backend opens it.
#pragma once

#include <cstdint>
#include <span>

namespace engine {

// True for an sfnt font (TrueType outlines, 'true' or CFF 'OTTO') or a collection of them whose
// table directory lies inside the file and names the tables every font needs ('cmap', 'head').
bool IsFontFile(std::span<const uint8_t> bytes);

}  // namespace engine

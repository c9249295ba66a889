// Reader for the one DirectDraw Surface flavour the game uses: uncompressed 32-bit pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/image.h"

namespace engine {

bool LooksLikeDds(std::span<const uint8_t> bytes);

// The top mip level; nothing for a compressed, extended (DX10), short or malformed file.
std::optional<Image> ReadDds(std::span<const uint8_t> bytes);

}  // namespace engine

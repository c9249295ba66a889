// Turns the bytes of a picture file into pixels: PNG and JPEG through SDL2_image, uncompressed
// 32-bit DDS through our own reader.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/image.h"

namespace engine {

// Nothing for any other format, a damaged file or a picture larger than kMaxImageSide.
std::optional<Image> DecodeImage(std::span<const uint8_t> bytes);

}  // namespace engine

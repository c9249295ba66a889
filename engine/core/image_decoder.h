// Turns the bytes of a picture file into pixels: PNG through libpng, JPEG through libjpeg,
// uncompressed 32-bit DDS through our own reader.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/image.h"

namespace engine {

struct DecodedImage {
  std::optional<Image> image;
  std::string problem;  // without an image: why, in one line
};

// Nothing for any other format, a damaged file or a picture larger than kMaxImageSide; says
// nothing itself.
DecodedImage TryDecodeImage(std::span<const uint8_t> bytes);

// TryDecodeImage, with one line on standard error for each file that gives no picture, in place
// of the libraries' own messages.
std::optional<Image> DecodeImage(std::span<const uint8_t> bytes);

struct ImageSize {
  int width = 0;
  int height = 0;
};
// The size a PNG or JPEG says it has, from its header alone, without decoding its pixels; nothing
// for a file whose header DecodeImage would refuse (other formats included). The pixels may
// still turn out damaged. Says nothing itself.
std::optional<ImageSize> ProbeImage(std::span<const uint8_t> bytes);

}  // namespace engine

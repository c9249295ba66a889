// A decoded picture, ready for a backend to upload.
#pragma once

#include <cstdint>
#include <vector>

namespace engine {

struct Image {
  int width = 0;   // pixels
  int height = 0;  // pixels
  // Rows top to bottom, four bytes per pixel in the order red, green, blue, alpha (not
  // premultiplied).
  std::vector<uint8_t> rgba;
};

// Larger pictures are refused: nothing the game shows needs more, and a corrupt header must not
// make us allocate gigabytes.
constexpr int kMaxImageSide = 8192;

}  // namespace engine

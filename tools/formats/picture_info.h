// Tells what kind of picture a pack entry holds, from its first bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qbtools {

struct PictureInfo {
  std::string format = "unknown";  // "PNG", "JPEG", "DDS" or "unknown"
  std::string extension = "bin";
  int width = 0;  // 0 when the header does not say
  int height = 0;
};

PictureInfo InspectPicture(std::span<const uint8_t> bytes);

}  // namespace qbtools

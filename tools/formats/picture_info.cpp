#include "formats/picture_info.h"

#include "formats/byte_io.h"

namespace qbtools {

namespace {

int BigEndian16(std::span<const uint8_t> bytes, size_t at) {
  return bytes[at] << 8 | bytes[at + 1];
}

int BigEndian32(std::span<const uint8_t> bytes, size_t at) {
  return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
}

// Walks the JPEG markers up to the first start-of-frame, which holds the size.
void ReadJpegSize(std::span<const uint8_t> bytes, PictureInfo& info) {
  size_t at = 2;
  while (at + 9 < bytes.size() && bytes[at] == 0xFF) {
    const uint8_t marker = bytes[at + 1];
    const bool start_of_frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (start_of_frame) {
      info.height = BigEndian16(bytes, at + 5);
      info.width = BigEndian16(bytes, at + 7);
      return;
    }
    at += 2 + static_cast<size_t>(BigEndian16(bytes, at + 2));
  }
}

}  // namespace

PictureInfo InspectPicture(std::span<const uint8_t> bytes) {
  PictureInfo info;
  if (bytes.size() >= 24 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' &&
      bytes[3] == 'G') {
    info = {"PNG", "png", BigEndian32(bytes, 16), BigEndian32(bytes, 20)};
  } else if (bytes.size() >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
    info.format = "JPEG";
    info.extension = "jpg";
    ReadJpegSize(bytes, info);
  } else if (bytes.size() >= 20 && bytes[0] == 'D' && bytes[1] == 'D' && bytes[2] == 'S') {
    info = {"DDS", "dds", static_cast<int>(GetWord(bytes, 16)),
            static_cast<int>(GetWord(bytes, 12))};
  }
  return info;
}

}  // namespace qbtools

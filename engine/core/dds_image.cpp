#include "core/dds_image.h"

#include <bit>

#include "core/byte_reader.h"

namespace engine {
namespace {

constexpr uint32_t kHeaderSize = 124;
constexpr uint32_t kPixelFormatSize = 32;
constexpr uint32_t kFlagPitch = 0x8;
constexpr uint32_t kFormatAlphaPixels = 0x1;
constexpr uint32_t kFormatFourCc = 0x4;
constexpr uint32_t kFormatRgb = 0x40;

// One colour channel described by a bit mask within the 32-bit pixel.
struct Channel {
  int shift = 0;
  int bits = 0;

  // False for a mask whose bits are not contiguous.
  bool Set(uint32_t mask) {
    if (mask == 0) {
      return true;
    }
    shift = std::countr_zero(mask);
    bits = std::popcount(mask);
    return std::countr_one(mask >> shift) == bits;
  }

  uint8_t Extract(uint32_t pixel, uint8_t absent) const {
    if (bits == 0) {
      return absent;
    }
    const uint64_t max = (uint64_t{1} << bits) - 1;
    const uint64_t value = (pixel >> shift) & max;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
  }
};

}  // namespace

bool LooksLikeDds(std::span<const uint8_t> bytes) {
  return ByteReader(bytes).Tag("DDS ");
}

std::optional<Image> ReadDds(std::span<const uint8_t> bytes) {
  ByteReader in(bytes);
  uint32_t headerSize, flags, height, width, pitch;
  if (!in.Tag("DDS ") || !in.U32(headerSize) || headerSize != kHeaderSize || !in.U32(flags) ||
      !in.U32(height) || !in.U32(width) || !in.U32(pitch)) {
    return std::nullopt;
  }
  // Depth, mip count and eleven reserved words.
  uint32_t formatSize, formatFlags, fourCc, bitCount, red, green, blue, alpha;
  if (!in.Skip(13 * 4) || !in.U32(formatSize) || formatSize != kPixelFormatSize ||
      !in.U32(formatFlags) || !in.U32(fourCc) || !in.U32(bitCount) || !in.U32(red) ||
      !in.U32(green) || !in.U32(blue) || !in.U32(alpha) || !in.Seek(4 + kHeaderSize)) {
    return std::nullopt;
  }
  if ((formatFlags & kFormatFourCc) || !(formatFlags & kFormatRgb) || bitCount != 32) {
    return std::nullopt;
  }
  if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) {
    return std::nullopt;
  }
  Channel channels[4];
  if (!(formatFlags & kFormatAlphaPixels)) {
    alpha = 0;
  }
  if (!channels[0].Set(red) || !channels[1].Set(green) || !channels[2].Set(blue) ||
      !channels[3].Set(alpha)) {
    return std::nullopt;
  }
  const size_t rowBytes = size_t{width} * 4;
  const size_t stride = (flags & kFlagPitch) && pitch >= rowBytes ? pitch : rowBytes;
  if (in.Remaining() / stride < height - 1 || in.Remaining() - stride * (height - 1) < rowBytes) {
    return std::nullopt;
  }

  Image image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.rgba.resize(rowBytes * height);
  const uint8_t* source = bytes.data() + in.Position();
  uint8_t* target = image.rgba.data();
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = source + stride * y;
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = row + size_t{x} * 4;
      const uint32_t pixel =
          uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
      *target++ = channels[0].Extract(pixel, 0);
      *target++ = channels[1].Extract(pixel, 0);
      *target++ = channels[2].Extract(pixel, 0);
      *target++ = channels[3].Extract(pixel, 255);
    }
  }
  return image;
}

}  // namespace engine

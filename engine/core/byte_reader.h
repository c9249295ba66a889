// Bounds-checked little-endian reads over a byte range, for the binary file readers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace engine {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t Position() const { return position_; }
  size_t Remaining() const { return bytes_.size() - position_; }

  // Each read fails, leaving the position alone, when the range is too short.
  bool Skip(size_t count) {
    if (count > Remaining()) {
      return false;
    }
    position_ += count;
    return true;
  }
  bool Seek(size_t position) {
    if (position > bytes_.size()) {
      return false;
    }
    position_ = position;
    return true;
  }
  bool U16(uint16_t& value) {
    uint64_t wide;
    if (!Unsigned(2, wide)) {
      return false;
    }
    value = static_cast<uint16_t>(wide);
    return true;
  }
  bool U32(uint32_t& value) {
    uint64_t wide;
    if (!Unsigned(4, wide)) {
      return false;
    }
    value = static_cast<uint32_t>(wide);
    return true;
  }
  // True when the next bytes are `tag`; consumes them only then.
  bool Tag(std::string_view tag) {
    if (tag.size() > Remaining()) {
      return false;
    }
    for (size_t i = 0; i < tag.size(); ++i) {
      if (bytes_[position_ + i] != static_cast<uint8_t>(tag[i])) {
        return false;
      }
    }
    position_ += tag.size();
    return true;
  }
  // Big-endian, as TrueType stores its numbers.
  bool U32BigEndian(uint32_t& value) {
    if (Remaining() < 4) {
      return false;
    }
    value = 0;
    for (int i = 0; i < 4; ++i) {
      value = value << 8 | bytes_[position_++];
    }
    return true;
  }
  bool U16BigEndian(uint16_t& value) {
    if (Remaining() < 2) {
      return false;
    }
    value = static_cast<uint16_t>(bytes_[position_] << 8 | bytes_[position_ + 1]);
    position_ += 2;
    return true;
  }

 private:
  bool Unsigned(int count, uint64_t& value) {
    if (Remaining() < static_cast<size_t>(count)) {
      return false;
    }
    value = 0;
    for (int i = count - 1; i >= 0; --i) {
      value = value << 8 | bytes_[position_ + static_cast<size_t>(i)];
    }
    position_ += static_cast<size_t>(count);
    return true;
  }

  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
};

}  // namespace engine

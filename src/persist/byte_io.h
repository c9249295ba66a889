// Little-endian reading and writing of fixed-layout records, byte by byte, so the files are the
// same whatever the machine's byte order and whatever the compiler does with struct padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace byte_io {

inline void PutU16(std::span<uint8_t> out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void PutI32(std::span<uint8_t> out, size_t at, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (size_t i = 0; i < 4; ++i)
    out[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

inline uint16_t GetU16(std::span<const uint8_t> in, size_t at) {
  return static_cast<uint16_t>(in[at] | (in[at + 1] << 8));
}

inline int32_t GetI32(std::span<const uint8_t> in, size_t at) {
  uint32_t u = 0;
  for (size_t i = 0; i < 4; ++i)
    u |= static_cast<uint32_t>(in[at + i]) << (8 * i);
  return static_cast<int32_t>(u);
}

// A text of at most 10 characters stored as a length byte and ten character bytes.
constexpr size_t kShortStringMax = 10;
constexpr size_t kShortStringBytes = 1 + kShortStringMax;

inline void PutShortString(std::span<uint8_t> out, size_t at, const std::string& text) {
  const size_t length = text.size() < kShortStringMax ? text.size() : kShortStringMax;
  out[at] = static_cast<uint8_t>(length);
  for (size_t i = 0; i < kShortStringMax; ++i)
    out[at + 1 + i] = i < length ? static_cast<uint8_t>(text[i]) : 0;
}

// A length byte above 10 cannot have been written by us; the text is cut to what the field holds.
inline std::string GetShortString(std::span<const uint8_t> in, size_t at) {
  size_t length = in[at];
  if (length > kShortStringMax)
    length = kShortStringMax;
  return std::string(reinterpret_cast<const char*>(&in[at + 1]), length);
}

}  // namespace byte_io

// Little-endian 32-bit words in byte buffers, shared by the pack and level formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qbtools {

inline void PutWord(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<uint8_t>(value >> shift));
  }
}

inline uint32_t GetWord(std::span<const uint8_t> in, size_t offset) {
  return static_cast<uint32_t>(in[offset]) | static_cast<uint32_t>(in[offset + 1]) << 8 |
         static_cast<uint32_t>(in[offset + 2]) << 16 | static_cast<uint32_t>(in[offset + 3]) << 24;
}

}  // namespace qbtools

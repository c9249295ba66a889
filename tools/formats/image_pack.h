// Image packs: many pictures in one file. A table of 8-byte entries starts at offset 0 (entry N at
// N * 8: the picture's file offset, then its size, both 32-bit little-endian); every picture is a
// complete image file stored at its offset. The table has no count: the first picture begins
// where the table ends, so the first entry's offset divided by 8 is the number of entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace qbtools {

class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Bytes = std::vector<uint8_t>;

// Lays the pictures out one after another behind the table, in entry order. Throws PackError for
// no entries, more than the 65536 an entry number can address, or a pack past 4 GiB.
Bytes BuildPack(const std::vector<Bytes>& pictures);

// Reads a whole pack held in memory; throws PackError when the table or an entry points outside
// the file.
class PackReader {
 public:
  explicit PackReader(Bytes pack);

  size_t Count() const { return entries_.size(); }
  uint32_t Offset(size_t index) const { return entries_.at(index).offset; }
  std::span<const uint8_t> Picture(size_t index) const;

 private:
  struct Entry {
    uint32_t offset;
    uint32_t size;
  };
  Bytes pack_;
  std::vector<Entry> entries_;
};

}  // namespace qbtools

#include "formats/image_pack.h"

#include <limits>
#include <string>
#include <utility>

#include "formats/byte_io.h"

namespace qbtools {

namespace {
constexpr size_t kEntrySize = 8;
constexpr size_t kMaxEntries = 65536;  // entry numbers are 16-bit
}  // namespace

Bytes BuildPack(const std::vector<Bytes>& pictures) {
  if (pictures.empty()) {
    throw PackError("a pack needs at least one picture: the table has no count of its own");
  }
  if (pictures.size() > kMaxEntries) {
    throw PackError("a pack holds at most 65536 pictures");
  }
  uint64_t offset = pictures.size() * kEntrySize;
  Bytes pack;
  for (const Bytes& picture : pictures) {
    if (offset + picture.size() > std::numeric_limits<uint32_t>::max()) {
      throw PackError("a pack cannot grow past 4 GiB");
    }
    PutWord(pack, static_cast<uint32_t>(offset));
    PutWord(pack, static_cast<uint32_t>(picture.size()));
    offset += picture.size();
  }
  for (const Bytes& picture : pictures) {
    pack.insert(pack.end(), picture.begin(), picture.end());
  }
  return pack;
}

PackReader::PackReader(Bytes pack) : pack_(std::move(pack)) {
  if (pack_.size() < kEntrySize) {
    throw PackError("a pack is at least one 8-byte table entry long");
  }
  const uint32_t table_end = GetWord(pack_, 0);
  if (table_end < kEntrySize || table_end % kEntrySize != 0 || table_end > pack_.size()) {
    throw PackError("the first entry's offset " + std::to_string(table_end) +
                    " does not end a table of 8-byte entries inside the file");
  }
  for (size_t at = 0; at < table_end; at += kEntrySize) {
    const Entry entry{GetWord(pack_, at), GetWord(pack_, at + 4)};
    if (uint64_t{entry.offset} + entry.size > pack_.size()) {
      throw PackError("entry " + std::to_string(at / kEntrySize) +
                      " reaches past the end of the file");
    }
    entries_.push_back(entry);
  }
}

std::span<const uint8_t> PackReader::Picture(size_t index) const {
  const Entry& entry = entries_.at(index);
  return std::span<const uint8_t>(pack_).subspan(entry.offset, entry.size);
}

}  // namespace qbtools

#include "core/font_file.h"

#include "core/byte_reader.h"

namespace engine {
namespace {

constexpr uint32_t kTrueType = 0x00010000;
constexpr uint32_t kApple = 0x74727565;       // 'true'
constexpr uint32_t kOpenType = 0x4F54544F;    // 'OTTO'
constexpr uint32_t kCollection = 0x74746366;  // 'ttcf'
constexpr uint32_t kCmap = 0x636D6170;
constexpr uint32_t kHead = 0x68656164;
constexpr uint16_t kMaxTables = 256;

bool IsSfntAt(std::span<const uint8_t> bytes, size_t offset) {
  ByteReader in(bytes);
  uint32_t version;
  uint16_t tables;
  if (!in.Seek(offset) || !in.U32BigEndian(version) ||
      (version != kTrueType && version != kApple && version != kOpenType) ||
      !in.U16BigEndian(tables) || tables == 0 || tables > kMaxTables || !in.Skip(6)) {
    return false;
  }
  bool cmap = false, head = false;
  for (uint16_t i = 0; i < tables; ++i) {
    uint32_t tag, checksum, tableOffset, length;
    if (!in.U32BigEndian(tag) || !in.U32BigEndian(checksum) || !in.U32BigEndian(tableOffset) ||
        !in.U32BigEndian(length)) {
      return false;
    }
    if (tableOffset > bytes.size() || length > bytes.size() - tableOffset) {
      return false;
    }
    cmap = cmap || tag == kCmap;
    head = head || tag == kHead;
  }
  return cmap && head;
}

}  // namespace

bool IsFontFile(std::span<const uint8_t> bytes) {
  ByteReader in(bytes);
  uint32_t magic;
  if (!in.U32BigEndian(magic)) {
    return false;
  }
  if (magic != kCollection) {
    return IsSfntAt(bytes, 0);
  }
  // A collection: the backend opens its first font.
  uint32_t version, fonts, first;
  return in.U32BigEndian(version) && in.U32BigEndian(fonts) && fonts > 0 &&
         in.U32BigEndian(first) && IsSfntAt(bytes, first);
}

}  // namespace engine

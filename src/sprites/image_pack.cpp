#include "sprites/image_pack.h"

#include <array>
#include <fstream>
#include <vector>

#include "engine/engine.h"
#include "engine/paths.h"

namespace {

// Far above any picture of ours; a larger entry is a damaged table, not a picture.
constexpr uint64_t kMaxPictureBytes = 16u << 20;
constexpr uint64_t kEntryBytes = 8;

uint32_t ReadU32(std::ifstream& in) {
  std::array<unsigned char, 4> b{};
  if (!in.read(reinterpret_cast<char*>(b.data()), b.size()))
    return 0;
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

}  // namespace

int32_t LoadPackTexture(const char* packFile, uint16_t index, int32_t tag) {
  std::ifstream in(ProgramPath(packFile), std::ios::binary | std::ios::ate);
  if (!in)
    return 0;
  const auto fileSize = static_cast<uint64_t>(in.tellg());

  in.seekg(0);
  const uint64_t tableEnd = ReadU32(in);
  if (!in || (index + 1) * kEntryBytes > tableEnd)
    return 0;

  in.seekg(static_cast<std::streamoff>(index * kEntryBytes));
  const uint64_t offset = ReadU32(in);
  const uint64_t size = ReadU32(in);
  if (!in || size == 0 || size > kMaxPictureBytes || offset + size > fileSize)
    return 0;

  std::vector<char> picture(size);
  in.seekg(static_cast<std::streamoff>(offset));
  if (!in.read(picture.data(), static_cast<std::streamsize>(size)))
    return 0;
  return iTextureCreateFromMemory(picture.data(), static_cast<int32_t>(size), tag);
}

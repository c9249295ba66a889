// "data\Levels.dat" and "data\Dynamic.dat": the game's readers, and the tools' decoder, whose
// levels must encode back to files that decode to the same levels (levelc's decompile then
// compile). The input is the length of the Levels.dat part as 4 little-endian bytes, that part,
// and then Dynamic.dat.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "formats/level_set.h"
#include "fuzz_check.h"
#include "game/level_files.h"

namespace {

// The first levels, and a few past any real count.
constexpr int32_t kLevelsRead = 6;

void CheckGameReaders(const std::filesystem::path& levels, const std::filesystem::path& dynamic) {
  const auto count = ReadLevelCount(levels);
  const int32_t last = count ? std::clamp(*count, 0, kLevelsRead) : kLevelsRead;
  for (int32_t level = -1; level <= last + 1; ++level) {
    TLevelGrid grid;
    ReadLevelGrid(levels, level, grid);
    for (const TMovingBlockRecord& block : ReadMovingBlocks(dynamic, level)) {
      fuzz::Check(!block.Waypoints.empty(), "a moving block has a waypoint");
      for (const TWaypoint& point : block.Waypoints) {
        fuzz::Check(point.Column >= 1 && point.Column <= kGridSize && point.Row >= 1 &&
                        point.Row <= kGridSize,
                    "waypoints on the grid");
      }
    }
  }
}

void CheckDecoder(std::span<const uint8_t> levels, std::span<const uint8_t> dynamic) {
  std::vector<qbtools::Level> decoded;
  try {
    decoded = qbtools::DecodeLevels(levels, dynamic);
  } catch (const qbtools::LevelFormatError&) {
    return;
  }
  const qbtools::LevelFiles files = qbtools::EncodeLevels(decoded);
  fuzz::Check(qbtools::DecodeLevels(files.levels, files.dynamic) == decoded,
              "decoded levels encode back to the same levels");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) {
    return 0;
  }
  const size_t split = std::min<size_t>(
      data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<uint32_t>(data[3]) << 24),
      size - 4);
  const std::span levels(data + 4, split);
  const std::span dynamic(data + 4 + split, size - 4 - split);

  static const fuzz::ScratchFolder folder;
  CheckGameReaders(folder.Write("Levels.dat", levels), folder.Write("Dynamic.dat", dynamic));
  CheckDecoder(levels, dynamic);
  return 0;
}

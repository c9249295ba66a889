#include "formats/level_set.h"

#include <string>

#include "formats/byte_io.h"

namespace qbtools {

namespace {

constexpr size_t kLevelRecordSize = kGridSize * kGridSize * 4;
constexpr int32_t kEndMark = -1;

void PutInt(std::vector<uint8_t>& out, int32_t value) {
  PutWord(out, static_cast<uint32_t>(value));
}

// Reads the words of one travelling-block list, refusing to run past the end of the file.
class WordCursor {
 public:
  WordCursor(std::span<const uint8_t> bytes, size_t offset, int level)
      : bytes_(bytes), offset_(offset), level_(level) {}

  int32_t Next() {
    if (offset_ + 4 > bytes_.size()) {
      throw LevelFormatError("Dynamic.dat: the list of level " + std::to_string(level_) +
                             " runs past the end of the file");
    }
    const auto value = static_cast<int32_t>(GetWord(bytes_, offset_));
    offset_ += 4;
    return value;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t offset_;
  int level_;
};

}  // namespace

LevelFiles EncodeLevels(const std::vector<Level>& levels) {
  if (levels.empty()) {
    throw LevelFormatError("there must be at least one level");
  }
  LevelFiles files;
  PutInt(files.levels, static_cast<int32_t>(levels.size()));
  for (const Level& level : levels) {
    for (const auto& row : level.cells) {
      for (int32_t cell : row) {
        PutWord(files.levels, static_cast<uint32_t>(cell) ^ kLevelMask);
      }
    }
  }

  std::vector<uint8_t> lists;
  const size_t index_size = levels.size() * 4;
  for (size_t n = 0; n < levels.size(); ++n) {
    PutInt(files.dynamic, static_cast<int32_t>(index_size + lists.size()));
    for (const TravellingBlock& block : levels[n].travellers) {
      if (block.waypoints.empty()) {
        throw LevelFormatError("level " + std::to_string(n + 1) +
                               ": a travelling block needs at least one waypoint");
      }
      PutInt(lists, block.kind);
      for (const Waypoint& point : block.waypoints) {
        PutInt(lists, point.column);
        PutInt(lists, point.row);
        PutInt(lists, point.time_ms);
      }
      PutInt(lists, kEndMark);
      PutInt(lists, 0);  // the two words the game skips
      PutInt(lists, 0);
    }
    PutInt(lists, kEndMark);
  }
  files.dynamic.insert(files.dynamic.end(), lists.begin(), lists.end());
  return files;
}

std::vector<Level> DecodeLevels(std::span<const uint8_t> levels, std::span<const uint8_t> dynamic) {
  if (levels.size() < 4) {
    throw LevelFormatError("Levels.dat: shorter than its level count");
  }
  const auto count = static_cast<int32_t>(GetWord(levels, 0));
  if (count < 1) {
    throw LevelFormatError("Levels.dat: level count " + std::to_string(count) + " is below 1");
  }
  if (levels.size() != 4 + static_cast<size_t>(count) * kLevelRecordSize) {
    throw LevelFormatError("Levels.dat: " + std::to_string(levels.size()) + " bytes do not hold " +
                           std::to_string(count) + " levels");
  }
  if (dynamic.size() < static_cast<size_t>(count) * 4) {
    throw LevelFormatError("Dynamic.dat: shorter than its index of " + std::to_string(count) +
                           " levels");
  }

  std::vector<Level> result(static_cast<size_t>(count));
  for (int n = 0; n < count; ++n) {
    Level& level = result[static_cast<size_t>(n)];
    const size_t base = 4 + static_cast<size_t>(n) * kLevelRecordSize;
    for (int row = 0; row < kGridSize; ++row) {
      for (int column = 0; column < kGridSize; ++column) {
        const size_t at = base + static_cast<size_t>(row * kGridSize + column) * 4;
        level.cells[row][column] = static_cast<int32_t>(GetWord(levels, at) ^ kLevelMask);
      }
    }

    const uint32_t list_offset = GetWord(dynamic, static_cast<size_t>(n) * 4);
    WordCursor words(dynamic, list_offset, n + 1);
    for (int32_t kind = words.Next(); kind != kEndMark; kind = words.Next()) {
      TravellingBlock block{kind, {}};
      for (int32_t column = words.Next(); column != kEndMark; column = words.Next()) {
        const int32_t row = words.Next();
        const int32_t time_ms = words.Next();
        if (time_ms <= 0) {
          throw LevelFormatError("Dynamic.dat: a travelling block of level " +
                                 std::to_string(n + 1) + " has a travel time of " +
                                 std::to_string(time_ms) + " ms, not above 0");
        }
        block.waypoints.push_back(Waypoint{column, row, time_ms});
      }
      // The encoder cannot write such a record back: it would read as the end of the list.
      if (block.waypoints.empty()) {
        throw LevelFormatError("Dynamic.dat: a travelling block of level " + std::to_string(n + 1) +
                               " has no waypoints");
      }
      words.Next();
      words.Next();
      level.travellers.push_back(std::move(block));
    }
  }
  return result;
}

}  // namespace qbtools

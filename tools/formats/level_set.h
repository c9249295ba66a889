// The two level files the game reads.
//
// "data/Levels.dat": the level count (plain), then per level a 20 x 20 grid of 32-bit cells,
// row-major from the top-left, each stored XOR kLevelMask.
// "data/Dynamic.dat": one offset per level, each pointing at that level's list of travelling
// blocks. A record is the kind, waypoints (column, row, travel time in ms), a -1 where the next
// waypoint's column would be, and two words the game skips; a kind of -1 ends the list.
// All words are 32-bit signed little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace qbtools {

inline constexpr int kGridSize = 20;
inline constexpr uint32_t kLevelMask = 0x006D2E91;

// Cell values as the game reads them.
inline constexpr int32_t kEmptyCell = 0;
inline constexpr int32_t kFirstStack = 7;  // 7..9: a stack of nine blocks in one cell
inline constexpr int32_t kLastStack = 9;
inline constexpr int32_t kArmouredBlock = 10;     // only missiles and armoured balls break it
inline constexpr int32_t kFirstIgnoredCell = 11;  // no block, but the cell counts as occupied

class LevelFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Waypoint {
  int32_t column = 1;   // 1..20, left to right
  int32_t row = 1;      // 1..20, top to bottom
  int32_t time_ms = 1;  // time to travel on to the next waypoint (or back to the first)
  bool operator==(const Waypoint&) const = default;
};

struct TravellingBlock {
  int32_t kind = 1;
  std::vector<Waypoint> waypoints;
  bool operator==(const TravellingBlock&) const = default;
};

struct Level {
  // cells[row - 1][column - 1]
  std::array<std::array<int32_t, kGridSize>, kGridSize> cells{};
  std::vector<TravellingBlock> travellers;
  bool operator==(const Level&) const = default;
};

struct LevelFiles {
  std::vector<uint8_t> levels;   // "data/Levels.dat"
  std::vector<uint8_t> dynamic;  // "data/Dynamic.dat"
};

// Throws LevelFormatError for no levels or a traveller without waypoints (its record could not
// be told from the end of its list).
LevelFiles EncodeLevels(const std::vector<Level>& levels);

// Throws LevelFormatError when either file is cut short, sizes disagree, an offset points
// outside the file, or a travelling block has no waypoints or a travel time not above 0.
std::vector<Level> DecodeLevels(std::span<const uint8_t> levels, std::span<const uint8_t> dynamic);

}  // namespace qbtools

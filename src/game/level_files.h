// The two read-only level files. "data\Levels.dat": the level count, then per level a 20 x 20
// grid of cells (row-major, each value XOR kLevelMask). "data\Dynamic.dat": per level the offset
// of its moving-block list; each record is a kind, waypoints (column, row, milliseconds) up to a
// -1, and two ignored words; a kind of -1 ends the list. All integers are 32-bit little-endian.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"

constexpr uint32_t kLevelMask = 0x006D2E91;

using TLevelGrid = std::array<std::array<int32_t, kGridSize + 1>, kGridSize + 1>;

// The cell values of level `level` (1-based), un-masked. A level that cannot be read whole leaves
// the grid empty (false). Negative cell values read as empty cells.
bool ReadLevelGrid(const std::filesystem::path& levelsFile, int32_t level, TLevelGrid& grid);

// The number of the last level, or nothing when the file cannot be read.
std::optional<int32_t> ReadLevelCount(const std::filesystem::path& levelsFile);

// What keeps the levels file from being played ("is missing", "holds 3 of the 30 levels it
// counts"), or nothing when it holds a level count of at least 1 and every level up to it. Bytes
// past the last counted level are no fault.
std::optional<std::string> LevelFileFault(const std::filesystem::path& levelsFile);

// At start-up: a levels file the game cannot be played from would give an empty playfield that
// is cleared at once, so it is said once, in a message box and in one line on standard error,
// and the answer is false: the program must not go on.
bool LevelFileUsableAtStart();

struct TMovingBlockRecord {
  int32_t Kind = 0;
  std::vector<TWaypoint> Waypoints;  // at least one
};

// The moving blocks of level `level`, in file order. Reading stops, keeping what was complete,
// at the end of the file, at a record whose kind or waypoints are out of range, or after a bound
// on the list's length, so a damaged file can never loop or run away.
std::vector<TMovingBlockRecord> ReadMovingBlocks(const std::filesystem::path& dynamicFile,
                                                 int32_t level);

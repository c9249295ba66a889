#include "game/level_files.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "engine/paths.h"
#include "engine/platform.h"

namespace {

constexpr const char* kLevelsFile = "data\\Levels.dat";
constexpr int32_t kListEnd = -1;
constexpr std::streamoff kLevelBytes = kGridSize * kGridSize * 4;
// Block kinds a moving block may have: their pictures run on through the game's texture rows.
constexpr int32_t kMaxBlockKind = 48;
// No level has room for more; the bounds turn a damaged list into a short one.
constexpr size_t kMaxMovingBlocks = kGridSize * kGridSize;
constexpr size_t kMaxWaypoints = 64;

class Reader {
 public:
  explicit Reader(const std::filesystem::path& path) : in_(path, std::ios::binary) {}
  bool Ok() const { return static_cast<bool>(in_); }
  bool Seek(std::streamoff offset) {
    if (offset < 0)
      return false;
    in_.seekg(offset);
    return Ok();
  }
  std::optional<int32_t> Next() {
    unsigned char b[4];
    if (!in_.read(reinterpret_cast<char*>(b), 4))
      return std::nullopt;
    return static_cast<int32_t>(b[0] | (b[1] << 8) | (b[2] << 16) |
                                (static_cast<uint32_t>(b[3]) << 24));
  }

 private:
  std::ifstream in_;
};

bool OnGrid(int32_t v) {
  return v >= 1 && v <= kGridSize;
}

std::optional<TMovingBlockRecord> ReadRecord(Reader& in, int32_t kind) {
  TMovingBlockRecord record;
  record.Kind = kind;
  for (;;) {
    const auto column = in.Next();
    if (!column)
      return std::nullopt;
    if (*column == kListEnd)
      break;
    const auto row = in.Next();
    const auto time = in.Next();
    if (!row || !time || !OnGrid(*column) || !OnGrid(*row))
      return std::nullopt;
    if (record.Waypoints.size() == kMaxWaypoints)
      return std::nullopt;
    record.Waypoints.push_back({*column, *row, *time});
  }
  if (record.Waypoints.empty() || !in.Next() || !in.Next())
    return std::nullopt;
  return record;
}

}  // namespace

bool ReadLevelGrid(const std::filesystem::path& levelsFile, int32_t level, TLevelGrid& grid) {
  for (auto& row : grid)
    row.fill(0);
  if (level < 1)
    return false;
  Reader in(levelsFile);
  TLevelGrid read{};
  if (!in.Seek(4 + (static_cast<std::streamoff>(level) - 1) * kLevelBytes))
    return false;
  for (int row = 1; row <= kGridSize; ++row) {
    for (int column = 1; column <= kGridSize; ++column) {
      const auto cell = in.Next();
      if (!cell)
        return false;
      const auto value = static_cast<int32_t>(static_cast<uint32_t>(*cell) ^ kLevelMask);
      read[row][column] = value < 0 ? 0 : value;
    }
  }
  grid = read;
  return true;
}

std::optional<int32_t> ReadLevelCount(const std::filesystem::path& levelsFile) {
  Reader in(levelsFile);
  return in.Next();
}

std::optional<std::string> LevelFileFault(const std::filesystem::path& levelsFile) {
  std::error_code error;
  if (!std::filesystem::exists(levelsFile, error))
    return "is missing";
  const auto size = std::filesystem::file_size(levelsFile, error);
  if (error)
    return "cannot be read (" + error.message() + ")";
  if (size == 0)
    return "is empty";
  const auto count = ReadLevelCount(levelsFile);
  if (!count)
    return size < 4 ? "is " + std::to_string(size) + " bytes, too short to hold a level count"
                    : std::string("cannot be read");
  if (*count < 1)
    return "counts " + std::to_string(*count) + " levels";
  const auto held = (size - 4) / static_cast<uintmax_t>(kLevelBytes);
  if (held < static_cast<uintmax_t>(*count))
    return "holds " + std::to_string(held) + " of the " + std::to_string(*count) +
           " levels it counts";
  return std::nullopt;
}

bool LevelFileUsableAtStart() {
  const auto path = ProgramPath(kLevelsFile);
  const auto fault = LevelFileFault(path);
  if (!fault)
    return true;
  std::fprintf(stderr, "quasarball: %s %s; the game cannot start without its levels\n",
               path.c_str(), fault->c_str());
  const std::string text = "Quasarball cannot start: its level file " + path.string() + " " +
                           *fault + ".\n\nInstalling the game again puts it back.";
  MessageBoxA(nullptr, text.c_str(), "Quasarball", MB_OK | MB_ICONERROR | MB_TOPMOST);
  return false;
}

std::vector<TMovingBlockRecord> ReadMovingBlocks(const std::filesystem::path& dynamicFile,
                                                 int32_t level) {
  std::vector<TMovingBlockRecord> blocks;
  Reader in(dynamicFile);
  if (level < 1 || !in.Seek((static_cast<std::streamoff>(level) - 1) * 4))
    return blocks;
  const auto offset = in.Next();
  if (!offset || !in.Seek(*offset))
    return blocks;
  while (blocks.size() < kMaxMovingBlocks) {
    const auto kind = in.Next();
    if (!kind || *kind == kListEnd || *kind < 1 || *kind > kMaxBlockKind)
      break;
    auto record = ReadRecord(in, *kind);
    if (!record)
      break;
    blocks.push_back(std::move(*record));
  }
  return blocks;
}

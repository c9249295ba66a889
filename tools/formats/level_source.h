// The level sources in levels/: a campaign file naming the level files in play order, and one
// text file per level. levels/README.md describes the text form for level designers.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "formats/level_set.h"

namespace qbtools {

// "file:line: message", so an editor can jump to the fault.
class SourceError : public std::runtime_error {
 public:
  SourceError(const std::string& file, int line, const std::string& message)
      : std::runtime_error(file + ":" + std::to_string(line) + ": " + message) {}
};

struct LevelSource {
  std::string title;
  Level level;
};

// Parses one level text; `file` only names it in errors.
LevelSource ParseLevelSource(std::string_view text, const std::string& file);

// The text form of a level; ParseLevelSource gives the same level back.
std::string FormatLevelSource(const LevelSource& source);

// Reads the campaign file and every level it names (paths relative to the campaign file).
std::vector<LevelSource> LoadCampaign(const std::filesystem::path& campaign);

// Writes a campaign file "campaign.txt" and one file per level into `folder`.
void SaveCampaign(const std::vector<LevelSource>& levels, const std::filesystem::path& folder);

// The character a cell value is written as, or 0 when the text form has none for it.
char CellSymbol(int32_t value);

}  // namespace qbtools

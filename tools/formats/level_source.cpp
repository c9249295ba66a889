#include "formats/level_source.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace qbtools {

namespace {

struct CellSpelling {
  char symbol;
  int32_t value;
};

// '.' empty, digits the block kinds 1..9, 'X' the armoured kind 10; ':' and '=' are the two
// ignored values the designers use: no block is made there, but the cell stays occupied, so a
// stack releases nothing into it.
constexpr CellSpelling kCells[] = {
    {'.', kEmptyCell},
    {'1', 1},
    {'2', 2},
    {'3', 3},
    {'4', 4},
    {'5', 5},
    {'6', 6},
    {'7', 7},
    {'8', 8},
    {'9', 9},
    {'X', kArmouredBlock},
    {':', 11},
    {'=', 12},
};

bool IsStack(int32_t value) {
  return value >= kFirstStack && value <= kLastStack;
}
bool IsBlock(int32_t value) {
  return value >= 1 && value <= kArmouredBlock;
}

// Every character the word split below counts as white space, so a line Trim leaves is never
// without words.
constexpr const char* kWhiteSpace = " \t\r\f\v";

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(kWhiteSpace);
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    words.push_back(word);
  }
  return words;
}

bool ParseInt(std::string_view text, int32_t& value) {
  const auto* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && ptr == end;
}

class LevelParser {
 public:
  LevelParser(std::string_view text, const std::string& file) : file_(file) {
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
      lines_.push_back(line);
    }
  }

  LevelSource Parse() {
    int grid_rows = -1;  // -1 before "grid", then the rows read so far
    int grid_line = 0;
    for (size_t i = 0; i < lines_.size(); ++i) {
      line_ = static_cast<int>(i) + 1;
      const std::string line = Trim(lines_[i]);
      if (grid_rows >= 0 && grid_rows < kGridSize) {
        ParseRow(line, grid_rows++);
        continue;
      }
      if (line.empty() || line[0] == '#') {
        continue;
      }
      const std::vector<std::string> words = Words(line);
      if (words[0] == "title") {
        source_.title = Trim(std::string_view(line).substr(5));
      } else if (words[0] == "grid") {
        if (grid_rows >= 0) {
          Fail("a level has one grid");
        }
        grid_rows = 0;
        grid_line = line_;
      } else if (words[0] == "mover") {
        ParseMover(words);
      } else {
        Fail("unknown line '" + words[0] + "': expected title, grid or mover");
      }
    }
    line_ = static_cast<int>(lines_.size());
    if (grid_rows < 0) {
      Fail("the level has no grid");
    }
    if (grid_rows < kGridSize) {
      line_ = grid_line;
      Fail("the grid has " + std::to_string(grid_rows) + " rows, expected 20");
    }
    CheckStacks(grid_line);
    CheckTravellers();
    return source_;
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw SourceError(file_, line_, message);
  }

  void ParseRow(const std::string& line, int row) {
    if (line.size() != kGridSize) {
      Fail("grid row " + std::to_string(row + 1) + " has " + std::to_string(line.size()) +
           " cells, expected 20");
    }
    for (int column = 0; column < kGridSize; ++column) {
      const char symbol = line[static_cast<size_t>(column)];
      const CellSpelling* found = nullptr;
      for (const CellSpelling& cell : kCells) {
        if (cell.symbol == symbol) {
          found = &cell;
        }
      }
      if (found == nullptr) {
        Fail(std::string("unknown cell '") + symbol + "' in column " + std::to_string(column + 1) +
             ": use . 1-9 X : =");
      }
      source_.level.cells[row][column] = found->value;
    }
  }

  // "mover KIND COL,ROW TIMEms COL,ROW TIMEms ..."
  void ParseMover(const std::vector<std::string>& words) {
    TravellingBlock block;
    if (words.size() < 2 || !ParseInt(words[1], block.kind)) {
      Fail("a mover starts with its block kind");
    }
    if (IsStack(block.kind)) {
      Fail("a mover cannot be a stack (kind " + std::to_string(block.kind) +
           "): its hidden blocks would be other blocks of the level");
    }
    if (block.kind < 1 || block.kind > 255) {
      Fail("mover kind " + std::to_string(block.kind) + " is outside 1..6, 10..255");
    }
    if (words.size() < 4 || words.size() % 2 != 0) {
      Fail("a mover needs waypoints written as COLUMN,ROW TIMEms");
    }
    for (size_t i = 2; i < words.size(); i += 2) {
      block.waypoints.push_back(ParseWaypoint(words[i], words[i + 1]));
    }
    source_.level.travellers.push_back(std::move(block));
    traveller_lines_.push_back(line_);
  }

  Waypoint ParseWaypoint(const std::string& cell, const std::string& time) {
    Waypoint point;
    const auto comma = cell.find(',');
    if (comma == std::string::npos ||
        !ParseInt(std::string_view(cell).substr(0, comma), point.column) ||
        !ParseInt(std::string_view(cell).substr(comma + 1), point.row)) {
      Fail("waypoint '" + cell + "' is not COLUMN,ROW");
    }
    if (point.column < 1 || point.column > kGridSize || point.row < 1 || point.row > kGridSize) {
      Fail("waypoint " + cell + " is outside the grid: columns and rows run 1..20");
    }
    if (time.size() < 3 || time.substr(time.size() - 2) != "ms" ||
        !ParseInt(std::string_view(time).substr(0, time.size() - 2), point.time_ms)) {
      Fail("travel time '" + time + "' is not written as milliseconds, like 1500ms");
    }
    if (point.time_ms <= 0) {
      Fail("travel time " + time + " must be above 0 ms");
    }
    return point;
  }

  // A stack on the edge would release blocks into cells the grid does not have.
  void CheckStacks(int grid_line) {
    for (int row = 0; row < kGridSize; ++row) {
      for (int column = 0; column < kGridSize; ++column) {
        const bool edge =
            row == 0 || column == 0 || row == kGridSize - 1 || column == kGridSize - 1;
        if (edge && IsStack(source_.level.cells[row][column])) {
          line_ = grid_line + 1 + row;
          Fail("a stack in column " + std::to_string(column + 1) +
               " sits on the edge of the grid, where it would release blocks outside it");
        }
      }
    }
  }

  // A mover leaving a waypoint clears that cell, which would wipe a fixed block's place there.
  void CheckTravellers() {
    for (size_t i = 0; i < source_.level.travellers.size(); ++i) {
      for (const Waypoint& point : source_.level.travellers[i].waypoints) {
        if (IsBlock(source_.level.cells[point.row - 1][point.column - 1])) {
          line_ = traveller_lines_[i];
          Fail("waypoint " + std::to_string(point.column) + "," + std::to_string(point.row) +
               " lies on a fixed block");
        }
      }
    }
  }

  std::string file_;
  std::vector<std::string> lines_;
  std::vector<int> traveller_lines_;
  int line_ = 0;
  LevelSource source_;
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

char CellSymbol(int32_t value) {
  for (const CellSpelling& cell : kCells) {
    if (cell.value == value) {
      return cell.symbol;
    }
  }
  return 0;
}

LevelSource ParseLevelSource(std::string_view text, const std::string& file) {
  return LevelParser(text, file).Parse();
}

std::string FormatLevelSource(const LevelSource& source) {
  std::string text = "title " + source.title + "\n\ngrid\n";
  for (const auto& row : source.level.cells) {
    for (int32_t value : row) {
      const char symbol = CellSymbol(value);
      if (symbol == 0) {
        throw LevelFormatError("cell value " + std::to_string(value) +
                               " has no spelling in the level text");
      }
      text += symbol;
    }
    text += '\n';
  }
  for (const TravellingBlock& block : source.level.travellers) {
    text += "\nmover " + std::to_string(block.kind);
    for (const Waypoint& point : block.waypoints) {
      text += "  " + std::to_string(point.column) + "," + std::to_string(point.row) + " " +
              std::to_string(point.time_ms) + "ms";
    }
  }
  if (!source.level.travellers.empty()) {
    text += '\n';
  }
  return text;
}

std::vector<LevelSource> LoadCampaign(const std::filesystem::path& campaign) {
  std::ifstream in(campaign);
  if (!in) {
    throw SourceError(campaign.string(), 0, "cannot open the campaign file");
  }
  std::vector<LevelSource> levels;
  int line_number = 0;
  for (std::string line; std::getline(in, line);) {
    ++line_number;
    const std::string name = Trim(line);
    if (name.empty() || name[0] == '#') {
      continue;
    }
    const std::filesystem::path path = campaign.parent_path() / name;
    if (!std::filesystem::is_regular_file(path)) {
      throw SourceError(
          campaign.string(), line_number,
          "level " + std::to_string(levels.size() + 1) + " is missing: no file '" + name + "'");
    }
    levels.push_back(ParseLevelSource(ReadText(path), path.string()));
  }
  if (levels.empty()) {
    throw SourceError(campaign.string(), line_number, "the campaign names no level");
  }
  return levels;
}

void SaveCampaign(const std::vector<LevelSource>& levels, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::ofstream campaign(folder / "campaign.txt");
  campaign << "# Play order: one level file per line.\n";
  for (size_t n = 0; n < levels.size(); ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "%02zu.lvl", n + 1);
    campaign << name << '\n';
    std::ofstream(folder / name) << FormatLevelSource(levels[n]);
  }
  if (!campaign) {
    throw std::runtime_error("cannot write the campaign into " + folder.string());
  }
}

}  // namespace qbtools

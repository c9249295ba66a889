#include "game/level_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "temp_program_folder.h"

namespace {

// Builds level files word by word, as the level compiler lays them out.
class Words {
 public:
  Words& Put(int32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes_.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
    return *this;
  }
  size_t Size() const { return bytes_.size(); }
  void WriteTo(const std::filesystem::path& path, size_t keep = SIZE_MAX) const {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes_.data(), static_cast<std::streamsize>(std::min(keep, bytes_.size())));
  }

 private:
  std::vector<char> bytes_;
};

// Level files with `levels` grids; cell (row, column) of level n holds n * 1000 + row * 20 +
// column, except the cells given in `cells`.
Words LevelsFile(int levels, std::initializer_list<std::tuple<int, int, int, int32_t>> cells = {}) {
  Words words;
  words.Put(levels);
  for (int n = 1; n <= levels; ++n) {
    for (int row = 1; row <= 20; ++row) {
      for (int column = 1; column <= 20; ++column) {
        int32_t value = n * 1000 + row * 20 + column;
        for (const auto& [cn, cr, cc, cv] : cells)
          if (cn == n && cr == row && cc == column)
            value = cv;
        words.Put(static_cast<int32_t>(static_cast<uint32_t>(value) ^ kLevelMask));
      }
    }
  }
  return words;
}

class LevelFilesTest : public ::testing::Test {
 protected:
  TempProgramFolder folder;
  std::filesystem::path levels = folder.Data("Levels.dat");
  std::filesystem::path dynamic = folder.Data("Dynamic.dat");
};

TEST_F(LevelFilesTest, ReadsTheGridUnmaskedInRowAndColumnOrder) {
  LevelsFile(3, {{2, 1, 1, 0}, {2, 20, 20, 7}, {2, 5, 6, -4}}).WriteTo(levels);
  TLevelGrid grid{};

  ASSERT_TRUE(ReadLevelGrid(levels, 2, grid));

  EXPECT_EQ(grid[1][1], 0);
  EXPECT_EQ(grid[1][2], 2000 + 20 + 2);
  EXPECT_EQ(grid[3][17], 2000 + 60 + 17);
  EXPECT_EQ(grid[20][20], 7);
  EXPECT_EQ(grid[5][6], 0);  // a negative cell reads as empty
  EXPECT_EQ(ReadLevelCount(levels), 3);
}

TEST_F(LevelFilesTest, ALevelThatCannotBeReadWholeBuildsNothing) {
  const Words file = LevelsFile(2);
  file.WriteTo(levels, file.Size() - 1);
  TLevelGrid grid{};
  grid[4][4] = 9;

  EXPECT_TRUE(ReadLevelGrid(levels, 1, grid));
  EXPECT_FALSE(ReadLevelGrid(levels, 2, grid));
  for (const auto& row : grid)
    for (int32_t cell : row)
      EXPECT_EQ(cell, 0);
  EXPECT_FALSE(ReadLevelGrid(levels, 3, grid));
  EXPECT_FALSE(ReadLevelGrid(levels, 0, grid));
  EXPECT_FALSE(ReadLevelGrid(folder.Data("missing.dat"), 1, grid));

  Words({}).WriteTo(levels);
  EXPECT_FALSE(ReadLevelCount(levels).has_value());
  EXPECT_FALSE(ReadLevelCount(folder.Data("missing.dat")).has_value());
}

// Only a file that cannot be played to its own last level is broken; what lies past that level
// is no concern.
TEST_F(LevelFilesTest, AFileIsBrokenWhenItCannotHoldTheLevelsItCounts) {
  const Words three = LevelsFile(3);
  struct Case {
    const char* name;
    Words file;
    size_t keep;
    std::optional<std::string> fault;
  };
  const Case cases[] = {
      {"empty", Words(), 0, "is empty"},
      {"cut inside the count", three, 3, "is 3 bytes, too short to hold a level count"},
      {"count alone", Words().Put(3), SIZE_MAX, "holds 0 of the 3 levels it counts"},
      {"last level cut by a byte", three, three.Size() - 1, "holds 2 of the 3 levels it counts"},
      {"count of zero", Words().Put(0), SIZE_MAX, "counts 0 levels"},
      {"negative count", Words().Put(-2), SIZE_MAX, "counts -2 levels"},
      {"whole", three, SIZE_MAX, std::nullopt},
      {"longer than its count", Words(three).Put(7).Put(8), SIZE_MAX, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.file.WriteTo(levels, c.keep);
    EXPECT_EQ(LevelFileFault(levels), c.fault);
  }
  EXPECT_EQ(LevelFileFault(folder.Data("missing.dat")), "is missing");
  std::filesystem::create_directory(folder.Data("folder.dat"));
  EXPECT_NE(LevelFileFault(folder.Data("folder.dat")), std::nullopt);
}

TEST_F(LevelFilesTest, ReadsMovingBlocksInFileOrder) {
  Words file;
  file.Put(8).Put(8 + 4 * 18);  // level 1's list, level 2's list
  // Level 1: a block of kind 3 with two waypoints, one of kind 20 with one waypoint.
  file.Put(3).Put(1).Put(2).Put(1500).Put(20).Put(2).Put(3000).Put(-1).Put(0).Put(0);
  file.Put(20).Put(5).Put(6).Put(700).Put(-1).Put(0).Put(0);
  file.Put(-1);
  ASSERT_EQ(file.Size(), 8u + 4 * 18);
  file.Put(-1);  // level 2 has none
  file.WriteTo(dynamic);

  const auto blocks = ReadMovingBlocks(dynamic, 1);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].Kind, 3);
  ASSERT_EQ(blocks[0].Waypoints.size(), 2u);
  EXPECT_EQ(blocks[0].Waypoints[1].Column, 20);
  EXPECT_EQ(blocks[0].Waypoints[1].Row, 2);
  EXPECT_EQ(blocks[0].Waypoints[1].Time, 3000);
  EXPECT_EQ(blocks[1].Kind, 20);
  EXPECT_EQ(blocks[1].Waypoints.size(), 1u);
}

// A damaged list never loops or runs away: reading stops at the first bad record.
TEST_F(LevelFilesTest, DamagedMovingBlockListsEndEarly) {
  struct Case {
    const char* name;
    Words file;
    size_t expected;
  };
  std::vector<Case> cases;
  cases.push_back(
      {"no end marker", Words().Put(4).Put(1).Put(1).Put(1).Put(100).Put(-1).Put(0).Put(0), 1});
  cases.push_back({"waypoint off the grid",
                   Words().Put(4).Put(1).Put(21).Put(1).Put(100).Put(-1).Put(0).Put(0).Put(-1), 0});
  cases.push_back({"kind out of range",
                   Words().Put(4).Put(0).Put(1).Put(1).Put(100).Put(-1).Put(0).Put(0).Put(-1), 0});
  cases.push_back({"no waypoint", Words().Put(4).Put(2).Put(-1).Put(0).Put(0).Put(-1), 0});
  cases.push_back({"cut inside a record", Words().Put(4).Put(2).Put(1).Put(1), 0});
  cases.push_back({"offset past the end", Words().Put(4000), 0});
  cases.push_back({"negative offset", Words().Put(-8), 0});
  Words endless;
  endless.Put(4).Put(2).Put(1);
  for (int i = 0; i < 200; ++i)
    endless.Put(1).Put(1).Put(10);
  cases.push_back({"waypoints without end", endless, 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.file.WriteTo(dynamic);
    EXPECT_EQ(ReadMovingBlocks(dynamic, 1).size(), c.expected);
  }
  EXPECT_TRUE(ReadMovingBlocks(folder.Data("missing.dat"), 1).empty());
}

}  // namespace

// The shipped campaign in levels/: it compiles, survives the trip through the game's files, and
// keeps the variety the game is designed around.
#include <gtest/gtest.h>

#include <set>

#include "formats/level_source.h"

namespace qbtools {
namespace {

std::vector<LevelSource> Campaign() {
  return LoadCampaign(std::filesystem::path(QB_LEVEL_SOURCES_DIR) / "campaign.txt");
}

TEST(Campaign, SurvivesCompileDecompileCompile) {
  const std::vector<LevelSource> sources = Campaign();
  std::vector<Level> levels;
  for (const LevelSource& source : sources) {
    levels.push_back(source.level);
  }
  const LevelFiles files = EncodeLevels(levels);
  const std::vector<Level> decoded = DecodeLevels(files.levels, files.dynamic);
  ASSERT_EQ(decoded, levels);

  std::vector<Level> reparsed;
  for (const Level& level : decoded) {
    reparsed.push_back(ParseLevelSource(FormatLevelSource({"", level}), "again.lvl").level);
  }
  const LevelFiles again = EncodeLevels(reparsed);
  EXPECT_EQ(again.levels, files.levels);
  EXPECT_EQ(again.dynamic, files.dynamic);
}

TEST(Campaign, HasThirtyLevelsUsingEveryKindOfBlock) {
  const std::vector<LevelSource> sources = Campaign();
  EXPECT_GE(sources.size(), 30u);

  std::set<int32_t> kinds;
  int levels_with_movers = 0;
  int levels_with_stacks = 0;
  for (const LevelSource& source : sources) {
    int counted = 0;  // blocks that must go before the level is clear
    bool stack = false;
    for (const auto& row : source.level.cells) {
      for (int32_t cell : row) {
        kinds.insert(cell);
        counted += cell >= 1 && cell <= 9;
        stack = stack || (cell >= kFirstStack && cell <= kLastStack);
      }
    }
    for (const TravellingBlock& block : source.level.travellers) {
      kinds.insert(block.kind);
      counted += block.kind <= 9;
    }
    EXPECT_GT(counted, 0) << source.title << " would be cleared before it starts";
    levels_with_movers += !source.level.travellers.empty();
    levels_with_stacks += stack;
  }
  for (int32_t kind = 1; kind <= kArmouredBlock; ++kind) {
    EXPECT_TRUE(kinds.count(kind)) << "block kind " << kind << " is never used";
  }
  EXPECT_TRUE(kinds.lower_bound(kFirstIgnoredCell) != kinds.end()) << "no reserved cells used";
  EXPECT_GE(levels_with_movers, 10);
  EXPECT_GE(levels_with_stacks, 8);
}

}  // namespace
}  // namespace qbtools

#include <gtest/gtest.h>

#include <vector>

#include "formats/level_set.h"

namespace qbtools {
namespace {

// One level: kind 1 top-left, kind 10 bottom-right, one kind-4 block travelling between two cells.
Level SmallLevel() {
  Level level;
  level.cells[0][0] = 1;
  level.cells[19][19] = 10;
  level.travellers.push_back({4, {{3, 6, 1500}, {18, 6, 250}}});
  return level;
}

TEST(LevelFiles, MatchHandWrittenBytes) {
  const LevelFiles files = EncodeLevels({SmallLevel()});

  // Count 1, then 400 masked cells: 0 ^ mask = 91 2E 6D 00, 1 ^ mask = 90 2E 6D 00,
  // 10 ^ mask = 9B 2E 6D 00.
  std::vector<uint8_t> levels = {1, 0, 0, 0};
  for (int cell = 0; cell < 400; ++cell) {
    const uint8_t low = cell == 0 ? 0x90 : cell == 399 ? 0x9B : 0x91;
    levels.insert(levels.end(), {low, 0x2E, 0x6D, 0x00});
  }
  EXPECT_EQ(files.levels, levels);

  const std::vector<uint8_t> dynamic = {
      4,    0,    0,    0,                             // offset of level 1's list
      4,    0,    0,    0,                             // kind 4
      3,    0,    0,    0,                             // column 3
      6,    0,    0,    0,                             // row 6
      0xDC, 0x05, 0,    0,                             // 1500 ms
      18,   0,    0,    0,                             // column 18
      6,    0,    0,    0,                             // row 6
      0xFA, 0,    0,    0,                             // 250 ms
      0xFF, 0xFF, 0xFF, 0xFF,                          // end of waypoints
      0,    0,    0,    0,                             // two skipped words
      0,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF,  // end of the list
  };
  EXPECT_EQ(files.dynamic, dynamic);
}

TEST(LevelFiles, DecodeGivesBackTheLevels) {
  Level busy = SmallLevel();
  busy.cells[5][7] = 9;
  busy.cells[6][8] = 11;
  busy.travellers.push_back({10, {{1, 1, 1}}});
  const std::vector<Level> levels = {SmallLevel(), Level{}, busy};
  const LevelFiles files = EncodeLevels(levels);
  EXPECT_EQ(DecodeLevels(files.levels, files.dynamic), levels);
  EXPECT_EQ(files.levels.size(), 4u + 3 * 1600);
}

TEST(LevelFiles, DecodeFollowsTheIndexWhereverItPoints) {
  // Two levels sharing one list, laid out in reverse: the game only follows offsets.
  const std::vector<uint8_t> dynamic = {8, 0, 0, 0, 8, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  std::vector<uint8_t> levels = {2, 0, 0, 0};
  levels.resize(4 + 2 * 1600, 0);
  const std::vector<Level> decoded = DecodeLevels(levels, dynamic);
  ASSERT_EQ(decoded.size(), 2u);
  EXPECT_EQ(decoded[1].cells[0][0], static_cast<int32_t>(kLevelMask));
  EXPECT_TRUE(decoded[1].travellers.empty());
}

TEST(LevelFiles, RejectMalformedFiles) {
  const LevelFiles good = EncodeLevels({SmallLevel()});
  auto cut = [](std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
  };
  std::vector<uint8_t> zero_count = good.levels;
  zero_count[0] = 0;
  std::vector<uint8_t> wild_offset = good.dynamic;
  wild_offset[0] = 200;
  // The first waypoint's travel time is the word at 16.
  auto timed = [&](std::initializer_list<uint8_t> time) {
    std::vector<uint8_t> bytes = good.dynamic;
    std::copy(time.begin(), time.end(), bytes.begin() + 16);
    return bytes;
  };
  const std::vector<uint8_t> no_waypoints = {4, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                             0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  const struct {
    const char* why;
    std::vector<uint8_t> levels;
    std::vector<uint8_t> dynamic;
  } cases[] = {
      {"no count", {}, good.dynamic},
      {"count of zero", zero_count, good.dynamic},
      {"grid cut short", cut(good.levels, 1000), good.dynamic},
      {"index cut short", good.levels, {}},
      {"list offset past the end", good.levels, wild_offset},
      {"list without its end", good.levels, cut(good.dynamic, good.dynamic.size() - 4)},
      {"a traveller without waypoints", good.levels, no_waypoints},
      {"a travel time of 0", good.levels, timed({0, 0, 0, 0})},
      {"a travel time below 0", good.levels, timed({0x9C, 0xFF, 0xFF, 0xFF})},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(DecodeLevels(c.levels, c.dynamic), LevelFormatError) << c.why;
  }
  EXPECT_THROW(EncodeLevels({}), LevelFormatError);
  EXPECT_THROW(EncodeLevels({Level{{}, {{4, {}}}}}), LevelFormatError);
}

}  // namespace
}  // namespace qbtools

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "formats/level_source.h"

namespace qbtools {
namespace {

const std::string kEmptyRow = "....................\n";

std::string Grid(const std::string& first_rows = "") {
  std::string text = "grid\n" + first_rows;
  const auto given = static_cast<int>(std::count(first_rows.begin(), first_rows.end(), '\n'));
  for (int row = given; row < 20; ++row) {
    text += kEmptyRow;
  }
  return text;
}

TEST(LevelSource, ReadsCellsAndMovers) {
  const std::string text = "# a comment\ntitle  Twin Gates \n" +
                           Grid(kEmptyRow + "1234567...X:=.......\n.........8........9.\n") +
                           "mover 4  3,6 1500ms  18,6 250ms\nmover 10 8,2 80ms\n";
  const LevelSource source = ParseLevelSource(text, "gates.lvl");
  EXPECT_EQ(source.title, "Twin Gates");
  const auto& second = source.level.cells[1];
  const int32_t expected[] = {1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 10, 11, 12, 0};
  for (int column = 0; column < 14; ++column) {
    EXPECT_EQ(second[column], expected[column]) << "column " << column + 1;
  }
  EXPECT_EQ(source.level.cells[2][9], 8);
  EXPECT_EQ(source.level.cells[2][18], 9);
  ASSERT_EQ(source.level.travellers.size(), 2u);
  EXPECT_EQ(source.level.travellers[0], (TravellingBlock{4, {{3, 6, 1500}, {18, 6, 250}}}));
  EXPECT_EQ(source.level.travellers[1], (TravellingBlock{10, {{8, 2, 80}}}));
}

TEST(LevelSource, FormatThenParseGivesTheSameLevel) {
  LevelSource source;
  source.title = "Round Trip";
  source.level.cells[3][4] = 8;
  source.level.cells[10][0] = 10;
  source.level.cells[19][19] = 12;
  source.level.travellers.push_back({5, {{1, 2, 300}, {20, 20, 9000}, {7, 7, 1}}});
  const LevelSource back = ParseLevelSource(FormatLevelSource(source), "round.lvl");
  EXPECT_EQ(back.title, source.title);
  EXPECT_EQ(back.level, source.level);
}

// Lines of nothing but white space of any kind are blank, as the words on a line are split at
// any of it.
TEST(LevelSource, SkipsLinesOfAnyWhiteSpace) {
  for (const std::string blank : {"\f", "\v\v", " \t\f\r", "\f\v \r"}) {
    const std::string text = blank + "\ntitle Blank\n" + blank + "\n" + Grid() + blank + "\n";
    EXPECT_EQ(ParseLevelSource(text, "blank.lvl").title, "Blank");
  }
}

TEST(LevelSource, RejectsFaultsNamingFileAndLine) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"title x\n" + Grid("1111Q...............\n"), "bad.lvl:3: unknown cell 'Q' in column 5"},
      {Grid("111.................1\n"), "bad.lvl:2: grid row 1 has 21 cells, expected 20"},
      {"grid\n" + kEmptyRow + kEmptyRow, "bad.lvl:1: the grid has 2 rows, expected 20"},
      {"title only\n", "bad.lvl:1: the level has no grid"},
      {Grid() + "mover 2  21,3 100ms\n", "bad.lvl:22: waypoint 21,3 is outside the grid"},
      {Grid() + "mover 2  4,0 100ms\n", "bad.lvl:22: waypoint 4,0 is outside the grid"},
      {Grid() + "mover 2  4,4 0ms\n", "bad.lvl:22: travel time 0ms must be above 0 ms"},
      {Grid() + "mover 2  4,4 -5ms\n", "bad.lvl:22: travel time -5ms must be above 0 ms"},
      {Grid() + "mover 2  4,4 100\n", "bad.lvl:22: travel time '100' is not written as"},
      {Grid() + "mover 2  4;4 100ms\n", "bad.lvl:22: waypoint '4;4' is not COLUMN,ROW"},
      {Grid() + "mover 8  4,4 100ms\n", "bad.lvl:22: a mover cannot be a stack"},
      {Grid() + "mover 0  4,4 100ms\n", "bad.lvl:22: mover kind 0 is outside"},
      {Grid() + "mover 3\n", "bad.lvl:22: a mover needs waypoints"},
      {Grid("...1................\n") + "mover 3  4,1 100ms\n",
       "bad.lvl:22: waypoint 4,1 lies on a fixed block"},
      {Grid(kEmptyRow + "7...................\n"),
       "bad.lvl:3: a stack in column 1 sits on the edge of the grid"},
      {Grid() + "speed 4\n", "bad.lvl:22: unknown line 'speed'"},
      {Grid() + Grid(), "bad.lvl:22: a level has one grid"},
  };
  for (const auto& c : cases) {
    try {
      ParseLevelSource(c.text, "bad.lvl");
      ADD_FAILURE() << "accepted, expected: " << c.message;
    } catch (const SourceError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(c.message, 0), 0u)
          << "got: " << error.what() << "\nexpected: " << c.message;
    }
  }
}

class CampaignFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(::testing::TempDir()) /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name) << text;
  }
  std::filesystem::path folder_;
};

TEST_F(CampaignFolder, ReportsAMissingLevelAtItsCampaignLine) {
  Write("one.lvl", Grid());
  Write("campaign.txt", "# order\none.lvl\n\ntwo.lvl\n");
  try {
    LoadCampaign(folder_ / "campaign.txt");
    ADD_FAILURE() << "a missing level was accepted";
  } catch (const SourceError& error) {
    EXPECT_NE(std::string(error.what()).find("campaign.txt:4: level 2 is missing"),
              std::string::npos)
        << error.what();
  }
}

TEST_F(CampaignFolder, ReportsALevelFaultInItsOwnFile) {
  Write("one.lvl", Grid("ZZ..................\n"));
  Write("campaign.txt", "one.lvl\n");
  try {
    LoadCampaign(folder_ / "campaign.txt");
    ADD_FAILURE() << "a bad level was accepted";
  } catch (const SourceError& error) {
    EXPECT_NE(std::string(error.what()).find("one.lvl:2: unknown cell 'Z'"), std::string::npos)
        << error.what();
  }
}

TEST_F(CampaignFolder, RejectsAnEmptyCampaign) {
  Write("campaign.txt", "# nothing yet\n");
  EXPECT_THROW(LoadCampaign(folder_ / "campaign.txt"), SourceError);
}

TEST_F(CampaignFolder, SaveThenLoadKeepsEveryLevel) {
  LevelSource first;
  first.title = "Level 1";
  first.level.cells[2][2] = 7;
  LevelSource second;
  second.title = "Level 2";
  second.level.travellers.push_back({6, {{5, 5, 700}, {6, 6, 800}}});
  SaveCampaign({first, second}, folder_);
  const std::vector<LevelSource> loaded = LoadCampaign(folder_ / "campaign.txt");
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[0].level, first.level);
  EXPECT_EQ(loaded[1].level, second.level);
}

}  // namespace
}  // namespace qbtools

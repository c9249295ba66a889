// The balance report's level runs: what they count, where they stop, and what they report.
#include <gtest/gtest.h>

#include <numeric>

#include "level_run.h"
#include "temp_program_folder.h"

namespace {

class LevelRunTest : public testing::Test {
 protected:
  TempProgramFolder folder{TempProgramFolder::Contents::GameData};
};

TEST_F(LevelRunTest, ABotClearsTheFirstLevelAndTheRunCountsWhatHappened) {
  const TLevelRun run = PlayLevel(folder, 1, 1);
  EXPECT_EQ(run.Outcome, TOutcome::Cleared);
  EXPECT_TRUE(run.Faults.empty()) << run.Faults.front();
  EXPECT_TRUE(run.Stuck.empty());
  EXPECT_TRUE(run.BlocksLeft.empty());
  // Well within the level's clock, and not in an instant.
  EXPECT_GT(run.GameSeconds, 10);
  EXPECT_LT(run.GameSeconds, 260);
  EXPECT_GT(run.LongestNoTouch, 0);
  EXPECT_LT(run.LongestNoTouch, run.GameSeconds);
  EXPECT_GT(std::accumulate(run.Caught.begin(), run.Caught.end(), 0), 0);

  // The same level and seed play the same game.
  const TLevelRun again = PlayLevel(folder, 1, 1);
  EXPECT_EQ(again.GameSeconds, run.GameSeconds);
  EXPECT_EQ(again.BallsLost, run.BallsLost);
  EXPECT_EQ(again.Caught, run.Caught);
}

TEST_F(LevelRunTest, ALevelStillGoingAtTheCapIsUnfinishedAndALongFlightIsAStuckBall) {
  // So short a limit that the first flight up to the blocks and back counts as stuck.
  const TLevelRun run = PlayLevel(folder, 1, 1, {.GameSecondsCap = 20, .StuckSeconds = 0.6});
  EXPECT_EQ(run.Outcome, TOutcome::Unfinished);
  EXPECT_NEAR(run.GameSeconds, 20, 0.1);
  EXPECT_FALSE(run.BlocksLeft.empty());
  ASSERT_FALSE(run.Stuck.empty());
  const TStuckBall& stuck = run.Stuck.front();
  EXPECT_EQ(stuck.Level, 1);
  EXPECT_EQ(stuck.Seed, 1u);
  ASSERT_GE(stuck.Path.size(), 2u);
  EXPECT_GE(stuck.Path.front().Seconds, stuck.Since);
  EXPECT_GT(stuck.Path.back().Y, -10);
}

}  // namespace

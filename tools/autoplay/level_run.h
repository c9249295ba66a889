// One level played by the bot from a fresh game: the whole program over the headless engine, its
// clock moved on by a 60 Hz frame per pass, the game's state checked after every pass.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "temp_program_folder.h"

struct TRunLimits {
  double GameSecondsCap = 600;  // over twice a level's clock: still going, it is unfinished
  double StuckSeconds = 60;     // a ball this long without a block or the paddle is stuck
};

struct TPathPoint {
  double Seconds, X, Y;
};

struct TStuckBall {
  int32_t Level = 0;
  uint32_t Seed = 0;
  int32_t Slot = 0;
  double Since = 0;  // game seconds into the level of its last touch
  std::vector<TPathPoint> Path;
};

enum class TOutcome { Cleared, Lost, Unfinished };

struct TLevelRun {
  int32_t Level = 0;
  uint32_t Seed = 0;
  TOutcome Outcome = TOutcome::Unfinished;
  double GameSeconds = 0;
  int32_t BallsLost = 0;
  std::array<int32_t, 17> Caught{};  // capsules caught, by kind 1..16
  double LongestNoTouch = 0;         // seconds with balls in flight and none touching anything
  std::vector<std::string> Faults;   // broken invariants, with the game time
  std::vector<TStuckBall> Stuck;
  std::vector<std::pair<int32_t, int32_t>> BlocksLeft;  // (column, row) of the breakable ones
};

// Plays `level` with the generator seeded by `seed`, in `folder` (made the program folder anew).
TLevelRun PlayLevel(const TempProgramFolder& folder, int32_t level, uint32_t seed,
                    const TRunLimits& limits = {});

const char* OutcomeName(TOutcome outcome);

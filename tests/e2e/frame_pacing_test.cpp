// Frame pacing on a scripted clock: the engine's schedule of pass deadlines and the SDL backend's
// choice of how long to wait, driven together through minutes of passes of every kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/frame_schedule.h"
#include "sdl/frame_pacer.h"

namespace engine::sdl {
namespace {

constexpr double kPeriod = FrameSchedule::kPeriod;

TEST(FrameSchedule, DeadlinesStayWithinOnePeriodOfTheClock) {
  FrameSchedule schedule;
  EXPECT_DOUBLE_EQ(schedule.Deadline(5.0), 5.0);
  EXPECT_DOUBLE_EQ(schedule.Deadline(5.0), 5.0 + kPeriod);  // passes that keep time
  EXPECT_DOUBLE_EQ(schedule.Deadline(5.0 + kPeriod), 5.0 + 2 * kPeriod);

  // A thousand passes that never waited, a millisecond apart.
  double now = 6.0;
  for (int i = 0; i < 1000; ++i, now += 0.001) {
    EXPECT_LE(schedule.Deadline(now), now + kPeriod + 1e-12) << i;
  }
  // After a stall the schedule starts again from the clock instead of rushing.
  EXPECT_DOUBLE_EQ(schedule.Deadline(now + 2.0), now + 2.0);
  schedule.Reset();
  EXPECT_DOUBLE_EQ(schedule.Deadline(1.0), 1.0);
}

// The engine loop's pass on a scripted clock: the deadline, the wait, the pass's own work, and a
// present that either returns at once or blocks until the display's next refresh.
class PacingRun {
 public:
  explicit PacingRun(bool vsyncClaimed) { pacer_.Reset(vsyncClaimed, kPeriod); }

  struct Stretch {
    double seconds;
    double work;         // seconds a pass takes before it presents
    bool presents;       // false: the scene did not change, nothing is presented
    bool displayBlocks;  // presents wait for the display's refresh
  };

  void Run(const Stretch& stretch) {
    const double end = now_ + stretch.seconds;
    while (now_ < end) {
      const double wait = pacer_.WaitBefore(schedule_.Deadline(now_), now_);
      longestWait_ = std::max(longestWait_, wait);
      now_ += wait;
      starts_.push_back(now_);
      now_ += stretch.work;
      if (stretch.presents) {
        if (stretch.displayBlocks) {
          now_ = (std::floor(now_ / kPeriod) + 1) * kPeriod;
        }
        pacer_.NotePresent(now_);
      }
    }
  }

  double LongestWait() const { return longestWait_; }

  // The most passes that started within any one second.
  int MostPassesInASecond() const {
    int most = 0;
    size_t first = 0;
    for (size_t last = 0; last < starts_.size(); ++last) {
      while (starts_[last] - starts_[first] >= 1.0) {
        ++first;
      }
      most = std::max(most, static_cast<int>(last - first + 1));
    }
    return most;
  }

  int FewestPassesInASecondFrom(double from) const {
    int fewest = 1 << 30;
    for (double t = from; t + 1.0 <= starts_.back(); t += 1.0) {
      const auto count = std::count_if(starts_.begin(), starts_.end(),
                                       [&](double s) { return s >= t && s < t + 1.0; });
      fewest = std::min(fewest, static_cast<int>(count));
    }
    return fewest;
  }

  double Now() const { return now_; }

 private:
  FrameSchedule schedule_;
  FramePacer pacer_;
  double now_ = 1.0;
  double longestWait_ = 0;
  std::vector<double> starts_;
};

// A driver that claims vertical sync but never waits, through fast frames, frames slower than the
// display, an unchanged scene and frames that take most of a period: never a wait longer than a
// frame, never more frames than the display shows.
TEST(FramePacing, ADriverThatClaimsVsyncWithoutWaitingStillGetsAnEvenFrameRate) {
  PacingRun run(true);
  const PacingRun::Stretch kStretches[] = {
      {60, 0.003, true, false},    // the menu: quick frames, presents return at once
      {30, 0.025, true, false},    // a frame longer than its period
      {60, 0.0002, false, false},  // nothing changed, nothing presented
      {30, 0.009, true, false},    // full software frames
      {30, 0.003, true, false},   {20, 0.0002, false, false},
  };
  for (const auto& stretch : kStretches) {
    run.Run(stretch);
  }
  EXPECT_LE(run.LongestWait(), kPeriod + 1e-9);
  EXPECT_LE(run.MostPassesInASecond(), 61 + FramePacer::kQuickPresentsToDistrust);
  EXPECT_GE(run.FewestPassesInASecondFrom(1.0), 39);  // the 25 ms frames: 40 a second
}

TEST(FramePacing, AnHonestVsyncDisplayPacesEveryFrame) {
  PacingRun run(true);
  run.Run({60, 0.004, true, true});
  EXPECT_DOUBLE_EQ(run.LongestWait(), 0.0);
  EXPECT_LE(run.MostPassesInASecond(), 61);
  EXPECT_GE(run.FewestPassesInASecondFrom(1.0), 59);
  // The scene stops changing: the clock paces instead, a frame at a time.
  run.Run({30, 0.0002, false, false});
  EXPECT_LE(run.LongestWait(), kPeriod + 1e-9);
  EXPECT_LE(run.MostPassesInASecond(), 61);
}

TEST(FramePacing, WithoutVsyncTheClockPacesEveryStretch) {
  PacingRun run(false);
  run.Run({60, 0.003, true, false});
  run.Run({30, 0.030, true, false});
  run.Run({60, 0.0002, false, false});
  EXPECT_LE(run.LongestWait(), kPeriod + 1e-9);
  EXPECT_LE(run.MostPassesInASecond(), 61);
  EXPECT_GE(run.FewestPassesInASecondFrom(1.0), 33);  // 30 ms frames: 33 a second
}

}  // namespace
}  // namespace engine::sdl

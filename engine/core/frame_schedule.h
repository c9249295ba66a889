// When each engine pass is due. Passes follow each other one frame period apart, but the
// schedule is tied to the clock on both sides: a pass that did not wait (the display paced it, or
// it claimed to) must not push the next deadline into the future, or the first pass that does
// wait sleeps for as long as the deadline ran ahead; and a stretch of slow frames is dropped
// rather than rushed through.
#pragma once

namespace engine {

class FrameSchedule {
 public:
  static constexpr double kPeriod = 1.0 / 60;  // seconds

  // The next pass starts a schedule afresh at `now` (seconds on the engine clock).
  void Reset() { started_ = false; }
  // The deadline of the pass that starts at `now`: never more than one period away from it,
  // in either direction. The pass after it is due one period later.
  double Deadline(double now);

 private:
  bool started_ = false;
  double due_ = 0;  // engine clock, seconds
};

}  // namespace engine

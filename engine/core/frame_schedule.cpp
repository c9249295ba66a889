#include "core/frame_schedule.h"

namespace engine {

double FrameSchedule::Deadline(double now) {
  if (!started_ || due_ < now - kPeriod) {
    due_ = now;
  } else if (due_ > now + kPeriod) {
    due_ = now + kPeriod;
  }
  started_ = true;
  const double deadline = due_;
  due_ += kPeriod;
  return deadline;
}

}  // namespace engine

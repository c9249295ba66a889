#include "sdl/frame_pacer.h"

#include <algorithm>

namespace engine::sdl {

void FramePacer::Reset(bool vsyncClaimed, double refreshPeriod) {
  *this = FramePacer();
  vsync_ = vsyncClaimed;
  quickInterval_ = kQuickShare * (refreshPeriod > 0 ? refreshPeriod : kDefaultRefreshPeriod);
}

void FramePacer::NotePresent(double now) {
  if (vsync_ && presentedBefore_) {
    quickPresents_ = now - lastPresent_ < quickInterval_ ? quickPresents_ + 1 : 0;
    if (quickPresents_ >= kQuickPresentsToDistrust) {
      vsync_ = false;
    }
  }
  presentedBefore_ = true;
  lastPresent_ = now;
  presentedSinceWait_ = true;
}

double FramePacer::WaitBefore(double deadline, double now) {
  const bool pacedByDisplay = vsync_ && presentedSinceWait_;
  presentedSinceWait_ = false;
  return pacedByDisplay ? 0 : std::max(0.0, deadline - now);
}

}  // namespace engine::sdl

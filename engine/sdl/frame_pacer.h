// How long an engine pass waits for its frame: not at all when presenting already waited for the
// display's vertical blank, otherwise until the frame's deadline, so that an idle menu does not
// spin a core. A driver that claims vertical sync but returns from presenting at once (some
// software and virtual displays) is caught by its presents coming too close together.
#pragma once

namespace engine::sdl {

class FramePacer {
 public:
  // A present paced by the display comes at least this share of a refresh period after the one
  // before it; closer ones did not wait for anything.
  static constexpr double kQuickShare = 0.75;
  // This many quick presents in a row and vertical sync is not believed any more; a few are
  // normal while a driver fills its queue of buffers.
  static constexpr int kQuickPresentsToDistrust = 4;
  // Assumed where the display does not tell its refresh rate.
  static constexpr double kDefaultRefreshPeriod = 1.0 / 60;  // seconds

  // `vsyncClaimed`: the renderer says its presents wait for the display, which refreshes every
  // `refreshPeriod` seconds (0 when unknown).
  void Reset(bool vsyncClaimed, double refreshPeriod = 0);
  // A frame was presented at `now` (seconds on the engine clock).
  void NotePresent(double now);
  // Seconds to sleep before the pass whose frame is due at `deadline`.
  double WaitBefore(double deadline, double now);
  bool TrustsVsync() const { return vsync_; }

 private:
  bool vsync_ = false;
  double quickInterval_ = 0;  // seconds
  bool presentedSinceWait_ = false;
  bool presentedBefore_ = false;
  double lastPresent_ = 0;
  int quickPresents_ = 0;
};

}  // namespace engine::sdl

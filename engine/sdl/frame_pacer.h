// How long an engine pass waits for its frame: not at all when presenting already waited for the
// display's vertical blank, otherwise until the frame's deadline, so that an idle menu does not
// spin a core. A driver that claims vertical sync but returns from presenting at once (some
// software and virtual displays) is caught by its presents coming too close together.
#pragma once

namespace engine::sdl {

class FramePacer {
 public:
  // Presents closer together than this did not wait for a display (none refreshes at 500 Hz).
  static constexpr double kQuickPresent = 0.002;  // seconds
  // This many quick presents in a row and vertical sync is not believed any more; a few are
  // normal while a driver fills its queue of buffers.
  static constexpr int kQuickPresentsToDistrust = 4;

  void Reset(bool vsyncClaimed);
  // A frame was presented at `now` (seconds on the engine clock).
  void NotePresent(double now);
  // Seconds to sleep before the pass whose frame is due at `deadline`.
  double WaitBefore(double deadline, double now);
  bool TrustsVsync() const { return vsync_; }

 private:
  bool vsync_ = false;
  bool presentedSinceWait_ = false;
  bool presentedBefore_ = false;
  double lastPresent_ = 0;
  int quickPresents_ = 0;
};

}  // namespace engine::sdl

// The system pointer in desktop pixels, as GetCursorPos and SetCursorPos see it.
//
// Some desktops (Wayland) refuse to let a program move the pointer. The game steers its paddle by
// reading how far the pointer went from a fixed point and putting it back there every step, which
// needs a pointer that can be moved. Once the desktop says it refuses, moves switch to a pointer
// of our own: relative mouse mode, fed by the mouse's motion. When nobody has moved the pointer
// for a while (the menus), the desktop's pointer is given back.
//
// Only the desktop's own answer counts: a pointer found somewhere else after a move is the
// player's hand (or a tablet, a touch screen, a remote desktop jumping it), and relative mode
// would make such absolute devices dead.
#pragma once

#include <functional>
#include <optional>

namespace engine::sdl {

struct DesktopPoint {
  int x = 0;  // desktop pixels
  int y = 0;

  bool operator==(const DesktopPoint&) const = default;
};

class PointerControl {
 public:
  struct Desktop {
    std::function<DesktopPoint()> read;
    std::function<bool(DesktopPoint)> warp;  // false: this desktop cannot move the pointer
    std::function<void(bool)> setRelativeMode;
  };

  // Seconds without a move after which our own pointer is given back to the desktop.
  static constexpr double kOwnPointerHold = 0.5;

  explicit PointerControl(Desktop desktop) : desktop_(std::move(desktop)) {}

  DesktopPoint Position() const { return own_ ? position_ : warped_ ? *warped_ : desktop_.read(); }
  // `now` is in seconds on any steady clock.
  void MoveTo(DesktopPoint target, double now);
  // Motion of the mouse while our own pointer is in use.
  void MovedBy(int dx, int dy);
  // Gives the pointer back once no move came for a while.
  void Tick(double now);
  // The desktop's events were taken in: they tell where the pointer is from here on. Until then
  // the pointer is where it was last moved to, as a program that moved it expects.
  void EventsTaken() { warped_.reset(); }
  bool OwnPointer() const { return own_; }

 private:
  void TakeOver(DesktopPoint at, double now);

  Desktop desktop_;
  bool desktopRefuses_ = false;
  std::optional<DesktopPoint> warped_;  // moved there, and no events taken since
  bool own_ = false;
  DesktopPoint position_;
  double lastMove_ = 0;
};

}  // namespace engine::sdl

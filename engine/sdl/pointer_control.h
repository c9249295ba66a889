// The system pointer in desktop pixels, as GetCursorPos and SetCursorPos see it.
//
// Some desktops (Wayland) refuse to let a program move the pointer. The game steers its paddle by
// reading how far the pointer went from a fixed point and putting it back there every step, which
// needs a pointer that can be moved. Once the desktop is seen refusing, moves switch to a pointer
// of our own: relative mouse mode, fed by the mouse's motion. When nobody has moved the pointer
// for a while (the menus), the desktop's pointer is given back.
#pragma once

#include <functional>

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
    std::function<void(DesktopPoint)> warp;
    std::function<void(bool)> setRelativeMode;
  };

  // Moves that do not land this many times in a row mean the desktop refuses them.
  static constexpr int kRefusalsToGiveUp = 3;
  // Seconds without a move after which our own pointer is given back to the desktop.
  static constexpr double kOwnPointerHold = 0.5;

  explicit PointerControl(Desktop desktop) : desktop_(std::move(desktop)) {}

  DesktopPoint Position() const { return own_ ? position_ : desktop_.read(); }
  // `now` is in seconds on any steady clock.
  void MoveTo(DesktopPoint target, double now);
  // Motion of the mouse while our own pointer is in use.
  void MovedBy(int dx, int dy);
  // Gives the pointer back once no move came for a while.
  void Tick(double now);
  bool OwnPointer() const { return own_; }

 private:
  void TakeOver(DesktopPoint at, double now);

  Desktop desktop_;
  bool desktopRefuses_ = false;
  int refusals_ = 0;
  bool own_ = false;
  DesktopPoint position_;
  double lastMove_ = 0;
};

}  // namespace engine::sdl

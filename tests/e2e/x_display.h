// An X display of our own for the end-to-end tests: Xvfb on a display number it picks itself,
// with a window manager, and screenshots of it read back pixel by pixel.
#pragma once

#include <SDL.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "child_process.h"

namespace e2e {

inline constexpr int kScreenWidth = 1280;  // wider than 4:3, so full screen letterboxes
inline constexpr int kScreenHeight = 720;
inline const Milliseconds kStartTimeout = std::chrono::seconds(30);
inline const Milliseconds kStepTimeout = std::chrono::seconds(10);

struct Rgb {
  int r, g, b;
};

// An X server of our own on a display number it picks itself, with a window manager: full
// screen, focus and activation are the window manager's business on an X desktop.
class XServer {
 public:
  explicit XServer(const std::filesystem::path& folder);

  // Empty when the server or the window manager did not start.
  const std::string& Display() const { return display_; }
  // Ends the server under its clients, as the end of a desktop session does.
  void Stop() { server_.reset(); }

 private:
  std::optional<ChildProcess> server_;
  std::optional<ChildProcess> windowManager_;  // stopped before the server, being declared after
  std::string display_;
};

class Screenshot {
 public:
  bool Take(const std::string& display, const std::filesystem::path& file);

  Rgb At(int x, int y) const {
    const auto* row = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch;
    return {row[x * 4], row[x * 4 + 1], row[x * 4 + 2]};
  }

 private:
  struct Free {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
  };
  std::unique_ptr<SDL_Surface, Free> surface_;
};

}  // namespace e2e

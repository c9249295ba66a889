#include "sdl/lost_display.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstring>

namespace engine::sdl {
namespace {

int LostDisplay(Display*) {
  constexpr char kMessage[] = "lost the connection to the X display\n";
  // Nothing here may wait: write(2) straight to the descriptor, then _exit.
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  _exit(1);
}

}  // namespace

void EndAtOnceOnLostDisplay() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) {
    XSetIOErrorHandler(LostDisplay);
  }
}

}  // namespace engine::sdl

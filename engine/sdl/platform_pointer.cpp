// The pointer, the cursor's visibility and the screen's metrics.
#include <SDL.h>

#include "core/clock.h"
#include "sdl/platform_window.h"
#include "sdl/sdl_session.h"
#include "sdl/system_pointer.h"

namespace engine::sdl {

namespace {

struct CursorState {
  int32_t counter = 0;  // ShowCursor's display counter: shown while 0 or above
  bool fullScreen = false;
};

CursorState& Cursor() {
  static CursorState cursor;
  return cursor;
}

void ApplyCursor() {
  if (VideoReady()) {
    const CursorState& cursor = Cursor();
    SDL_ShowCursor(cursor.counter >= 0 && !cursor.fullScreen ? SDL_ENABLE : SDL_DISABLE);
  }
}

}  // namespace

void HideSystemCursorForFullScreen(bool hide) {
  Cursor().fullScreen = hide;
  ApplyCursor();
}

PointerControl& SystemPointer() {
  static PointerControl pointer({
      // Over our window the pointer is where its latest motion put it. SDL refreshes its
      // desktop-wide position only on raw device motion, which a pointer jumped by another
      // program (a remote desktop, a virtual machine's tablet, a test driver) never makes.
      [] {
        DesktopPoint point;
        if (SDL_Window* over = SDL_GetMouseFocus()) {
          int windowX = 0, windowY = 0;
          SDL_GetWindowPosition(over, &windowX, &windowY);
          SDL_GetMouseState(&point.x, &point.y);
          return DesktopPoint{windowX + point.x, windowY + point.y};
        }
        SDL_GetGlobalMouseState(&point.x, &point.y);
        return point;
      },
      // Wayland lets no client move the pointer, and SDL says so.
      [](DesktopPoint point) { return SDL_WarpMouseGlobal(point.x, point.y) == 0; },
      [](bool relative) { SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE); },
  });
  return pointer;
}

}  // namespace engine::sdl

BOOL GetCursorPos(POINT* point) {
  if (!point || !engine::sdl::VideoReady()) {
    return 0;
  }
  const engine::sdl::DesktopPoint at = engine::sdl::SystemPointer().Position();
  *point = {at.x, at.y};
  return 1;
}

BOOL SetCursorPos(int32_t x, int32_t y) {
  if (!engine::sdl::VideoReady()) {
    return 0;
  }
  engine::sdl::SystemPointer().MoveTo({x, y}, engine::ClockSeconds());
  return 1;
}

int32_t ShowCursor(BOOL show) {
  int32_t& counter = engine::sdl::Cursor().counter;
  counter += show ? 1 : -1;
  engine::sdl::ApplyCursor();
  return counter;
}

int32_t GetSystemMetrics(int32_t index) {
  if (index == SM_CYCAPTION) {
    return engine::sdl::kCaptionHeight;
  }
  SDL_DisplayMode mode;
  if (!engine::sdl::VideoReady() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    return 0;
  }
  switch (index) {
    case SM_CXSCREEN:
      return mode.w;
    case SM_CYSCREEN:
      return mode.h;
    default:
      return 0;
  }
}

// The platform layer's windows: what a window handle stands for over SDL, and how the other parts
// of the layer find one.
#pragma once

#include <SDL.h>

#include <string>

#include "engine/platform.h"
#include "sdl/sdl_handles.h"

struct PlatformWindow {
  engine::sdl::WindowPtr sdl;
  WNDPROC procedure = nullptr;
  std::string className;
  std::string title;
  int captionHeight = 0;  // pixels Windows would count above the client area
};

namespace engine::sdl {

// The caption height the layer reports, whatever the desktop draws: the game computes its window
// rectangle with it and takes it off again, so it only has to be the same everywhere.
constexpr int kCaptionHeight = 23;

// Nothing for a handle that is not a live window.
PlatformWindow* LiveWindow(HWND window);
// The window SDL knows by this id, if it is one of ours.
HWND WindowOfSdlId(Uint32 id);
// The oldest live window: the one a request to quit the program goes to.
HWND FirstWindow();

}  // namespace engine::sdl

// Window classes and windows over SDL windows.
#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "sdl/message_queue.h"
#include "sdl/platform_window.h"
#include "sdl/registered_hot_keys.h"
#include "sdl/sdl_backend.h"
#include "sdl/sdl_session.h"

namespace engine::sdl {
namespace {

struct WindowClass {
  WNDPROC procedure = nullptr;
};

std::unordered_map<std::string, WindowClass>& Classes() {
  static std::unordered_map<std::string, WindowClass> classes;
  return classes;
}

std::vector<std::unique_ptr<PlatformWindow>>& Windows() {
  static std::vector<std::unique_ptr<PlatformWindow>> windows;
  return windows;
}

// Stand-ins for the module, icon, cursor and brush handles: the game only passes them back.
PlatformModule* TheModule() {
  static char module;
  return reinterpret_cast<PlatformModule*>(&module);
}
PlatformBrush* TheBlackBrush() {
  static char brush;
  return reinterpret_cast<PlatformBrush*>(&brush);
}

}  // namespace

PlatformWindow* LiveWindow(HWND window) {
  const auto& windows = Windows();
  const auto found = std::find_if(windows.begin(), windows.end(),
                                  [&](const auto& live) { return live.get() == window; });
  return found == windows.end() ? nullptr : found->get();
}

HWND WindowOfSdlId(Uint32 id) {
  for (const auto& window : Windows()) {
    if (SDL_GetWindowID(window->sdl.get()) == id) {
      return window.get();
    }
  }
  return nullptr;
}

HWND FirstWindow() {
  return Windows().empty() ? nullptr : Windows().front().get();
}

}  // namespace engine::sdl

using engine::sdl::LiveWindow;

HINSTANCE GetModuleHandleA(const char*) {
  return engine::sdl::TheModule();
}

// The program carries no icon or cursor resources; SDL's defaults stand in.
HICON LoadIconA(HINSTANCE, const char*) {
  return nullptr;
}
HCURSOR LoadCursorA(HINSTANCE, const char*) {
  return nullptr;
}

HBRUSH GetStockObject(int32_t object) {
  return object == BLACK_BRUSH ? engine::sdl::TheBlackBrush() : nullptr;
}

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
    return 0;
  }
  auto& classes = engine::sdl::Classes();
  const auto [where, added] =
      classes.try_emplace(windowClass->lpszClassName, engine::sdl::WindowClass{});
  if (!added) {
    return 0;
  }
  where->second.procedure = windowClass->lpfnWndProc;
  return static_cast<ATOM>(classes.size());
}

HWND CreateWindowExA(uint32_t, const char* className, const char* title, uint32_t style, int32_t x,
                     int32_t y, int32_t width, int32_t height, HWND, void*, HINSTANCE, void*) {
  if (!className || !engine::sdl::VideoReady()) {
    return nullptr;
  }
  const auto& classes = engine::sdl::Classes();
  const auto found = classes.find(className);
  if (found == classes.end()) {
    return nullptr;
  }
  // Windows places and sizes the outer window; SDL places the client area below the caption.
  const bool captioned = (style & WS_CAPTION) == WS_CAPTION;
  const int caption = captioned ? engine::sdl::kCaptionHeight : 0;
  const int clientHeight = std::max(1, height - caption);
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (!captioned) {
    flags |= SDL_WINDOW_BORDERLESS;
  }
  SDL_Window* sdl =
      SDL_CreateWindow(title ? title : "", x, y + caption, std::max(1, width), clientHeight, flags);
  if (!sdl) {
    return nullptr;
  }
  auto window = std::make_unique<PlatformWindow>();
  window->sdl.reset(sdl);
  window->procedure = found->second.procedure;
  window->className = className;
  window->title = title ? title : "";
  window->captionHeight = caption;
  engine::sdl::Windows().push_back(std::move(window));
  return engine::sdl::Windows().back().get();
}

BOOL ShowWindow(HWND window, int32_t command) {
  PlatformWindow* live = LiveWindow(window);
  if (!live) {
    return 0;
  }
  SDL_Window* sdl = live->sdl.get();
  const BOOL wasVisible = (SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN) != 0 ? 1 : 0;
  switch (command) {
    case SW_HIDE:
      SDL_HideWindow(sdl);
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      SDL_ShowWindow(sdl);
      SDL_MinimizeWindow(sdl);
      break;
    case SW_SHOWNORMAL:
      SDL_ShowWindow(sdl);
      SDL_RestoreWindow(sdl);
      break;
    default:
      SDL_ShowWindow(sdl);
      break;
  }
  return wasVisible;
}

BOOL DestroyWindow(HWND window) {
  auto& windows = engine::sdl::Windows();
  const auto found = std::find_if(windows.begin(), windows.end(),
                                  [&](const auto& live) { return live.get() == window; });
  if (found == windows.end()) {
    return 0;
  }
  engine::sdl::TheBackend().LoseWindow(window);
  engine::sdl::DropWindowMessages(window);
  engine::sdl::ForgetHotKeys(window);
  windows.erase(found);
  return 1;
}

HWND FindWindowA(const char* className, const char* title) {
  for (const auto& window : engine::sdl::Windows()) {
    if ((!className || window->className == className) && (!title || window->title == title)) {
      return window.get();
    }
  }
  return nullptr;
}

// The client area in desktop pixels, with the caption's height above it as Windows counts it.
BOOL GetWindowRect(HWND window, RECT* rect) {
  PlatformWindow* live = LiveWindow(window);
  if (!live || !rect) {
    return 0;
  }
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(live->sdl.get(), &x, &y);
  SDL_GetWindowSize(live->sdl.get(), &width, &height);
  const bool fullScreen =
      (SDL_GetWindowFlags(live->sdl.get()) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  const int caption = fullScreen ? 0 : live->captionHeight;
  *rect = {x, y - caption, x + width, y + height};
  return 1;
}

// Window classes, windows and the message queue, simulated.
#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "engine/platform.h"
#include "headless/headless_state.h"

using headless::Headless;
using headless::LiveWindow;
using headless::ShowState;

namespace {

// Windows' value; the game never asks for a visible window, but a test might.
constexpr uint32_t kVisibleStyle = 0x10000000u;

bool Matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
  if (window && msg.hwnd != window) {
    return false;
  }
  return (filterMin == 0 && filterMax == 0) ||
         (msg.message >= filterMin && msg.message <= filterMax);
}

}  // namespace

namespace headless {

PlatformWindow* LiveWindow(HWND window) {
  const auto& windows = Headless().windows;
  const bool known =
      std::any_of(windows.begin(), windows.end(), [&](const auto& w) { return w.get() == window; });
  return known && !window->destroyed ? window : nullptr;
}

}  // namespace headless

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
    return 0;
  }
  auto& classes = Headless().classes;
  if (!classes.emplace(windowClass->lpszClassName, headless::WindowClass{windowClass->lpfnWndProc})
           .second) {
    return 0;
  }
  return static_cast<ATOM>(classes.size());
}

HWND CreateWindowExA(uint32_t, const char* className, const char* title, uint32_t style, int32_t x,
                     int32_t y, int32_t width, int32_t height, HWND, void*, HINSTANCE, void*) {
  if (!className) {
    return nullptr;
  }
  const auto found = Headless().classes.find(className);
  if (found == Headless().classes.end()) {
    return nullptr;
  }
  auto window = std::make_unique<PlatformWindow>();
  window->className = className;
  window->title = title ? title : "";
  window->procedure = found->second.procedure;
  window->rect = {x, y, x + width, y + height};
  window->show = style & kVisibleStyle ? ShowState::kShown : ShowState::kHidden;
  Headless().windows.push_back(std::move(window));
  return Headless().windows.back().get();
}

BOOL ShowWindow(HWND window, int32_t command) {
  PlatformWindow* w = LiveWindow(window);
  if (!w) {
    return 0;
  }
  const BOOL wasVisible = w->show != ShowState::kHidden;
  switch (command) {
    case SW_HIDE:
      w->show = ShowState::kHidden;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      w->show = ShowState::kMinimised;
      break;
    default:
      w->show = ShowState::kShown;
      break;
  }
  return wasVisible;
}

BOOL DestroyWindow(HWND window) {
  PlatformWindow* w = LiveWindow(window);
  if (!w) {
    return 0;
  }
  w->destroyed = true;
  auto& queue = Headless().queue;
  queue.erase(std::remove_if(queue.begin(), queue.end(),
                             [&](const MSG& msg) { return msg.hwnd == window; }),
              queue.end());
  return 1;
}

HWND FindWindowA(const char* className, const char* title) {
  for (const auto& window : Headless().windows) {
    if (!window->destroyed && (!className || window->className == className) &&
        (!title || window->title == title)) {
      return window.get();
    }
  }
  return nullptr;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  const PlatformWindow* w = LiveWindow(window);
  if (!w || !rect) {
    return 0;
  }
  *rect = w->rect;
  return 1;
}

// WM_QUIT passes every filter and comes only once the queue holds nothing else that matches,
// as on Windows.
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlag) {
  if (!msg) {
    return 0;
  }
  auto& state = Headless();
  const auto found = std::find_if(state.queue.begin(), state.queue.end(), [&](const MSG& m) {
    return Matches(m, window, filterMin, filterMax);
  });
  if (found != state.queue.end()) {
    *msg = *found;
    if (removeFlag & PM_REMOVE) {
      state.queue.erase(found);
    }
    return 1;
  }
  if (state.quitPosted) {
    *msg = {nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0};
    if (removeFlag & PM_REMOVE) {
      state.quitPosted = false;
    }
    return 1;
  }
  return 0;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  auto& state = Headless();
  if (state.failNextGetMessage || !msg) {
    state.failNextGetMessage = false;
    return -1;
  }
  for (int idle = 0;; ++idle) {
    if (PeekMessageA(msg, window, filterMin, filterMax, PM_REMOVE)) {
      return msg->message == WM_QUIT ? 0 : 1;
    }
    if (!state.idleHook || idle == headless::kIdleCallsBeforeFailing) {
      ADD_FAILURE() << "GetMessageA would wait for ever: no message arrived";
      return -1;
    }
    state.idleHook();
  }
}

BOOL TranslateMessage(const MSG*) {
  return 0;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) {
    return 0;
  }
  const PlatformWindow* w = LiveWindow(msg->hwnd);
  return w ? w->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}

void PostQuitMessage(int32_t exitCode) {
  Headless().quitPosted = true;
  Headless().quitCode = exitCode;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const PlatformWindow* w = LiveWindow(window);
  return w ? w->procedure(window, message, wParam, lParam) : 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
  } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
    ShowWindow(window, SW_MINIMIZE);
  } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE) {
    ShowWindow(window, SW_SHOWNORMAL);
  }
  return 0;
}

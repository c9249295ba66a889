// PeekMessageA, GetMessageA and the rest of the message calls. Like Windows, the queue delivers
// WM_QUIT only once every other message has been taken, and a quit posted twice is one quit.
#include "sdl/message_queue.h"

#include <SDL.h>

#include <algorithm>
#include <deque>

#include "sdl/event_pump.h"
#include "sdl/platform_window.h"

namespace engine::sdl {
namespace {

struct Queue {
  std::deque<MSG> messages;
  bool quitPosted = false;
  int32_t exitCode = 0;
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
  return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

// Takes (or, with `remove` false, copies) the first message that passes the filters.
bool TakeMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  Queue& queue = TheQueue();
  const auto found =
      std::find_if(queue.messages.begin(), queue.messages.end(), [&](const MSG& queued) {
        return (!window || queued.hwnd == window) && InRange(queued.message, filterMin, filterMax);
      });
  if (found != queue.messages.end()) {
    *msg = *found;
    if (remove) {
      queue.messages.erase(found);
    }
    return true;
  }
  if (queue.quitPosted) {
    *msg = {nullptr, WM_QUIT, static_cast<WPARAM>(queue.exitCode), 0};
    if (remove) {
      queue.quitPosted = false;
    }
    return true;
  }
  return false;
}

}  // namespace

void PostWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TheQueue().messages.push_back({window, message, wParam, lParam});
}

void DropWindowMessages(HWND window) {
  auto& messages = TheQueue().messages;
  messages.erase(std::remove_if(messages.begin(), messages.end(),
                                [&](const MSG& queued) { return queued.hwnd == window; }),
                 messages.end());
}

}  // namespace engine::sdl

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlag) {
  if (!msg) {
    return 0;
  }
  engine::sdl::PumpEvents(false);
  return engine::sdl::TakeMessage(msg, window, filterMin, filterMax, (removeFlag & PM_REMOVE) != 0)
             ? 1
             : 0;
}

BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  if (!msg) {
    return -1;
  }
  engine::sdl::PumpEvents(false);
  while (!engine::sdl::TakeMessage(msg, window, filterMin, filterMax, true)) {
    if (!engine::sdl::PumpEvents(true)) {
      return -1;
    }
  }
  return msg->message == WM_QUIT ? 0 : 1;
}

// Keys reach the game through the engine's input, so there are no character messages to make.
BOOL TranslateMessage(const MSG*) {
  return 0;
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) {
    return 0;
  }
  PlatformWindow* window = engine::sdl::LiveWindow(msg->hwnd);
  if (!window || !window->procedure) {
    return 0;
  }
  return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int32_t exitCode) {
  auto& queue = engine::sdl::TheQueue();
  queue.quitPosted = true;
  queue.exitCode = exitCode;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PlatformWindow* live = engine::sdl::LiveWindow(window);
  if (!live || !live->procedure) {
    return 0;
  }
  return live->procedure(window, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
  PlatformWindow* live = engine::sdl::LiveWindow(window);
  if (!live) {
    return 0;
  }
  switch (message) {
    case WM_SYSCOMMAND:
      // The low four bits of a system command are Windows' own.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        SDL_MinimizeWindow(live->sdl.get());
      } else if ((wParam & 0xFFF0) == SC_RESTORE) {
        SDL_RestoreWindow(live->sdl.get());
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    default:
      return 0;
  }
}

#include "sdl/event_pump.h"

#include <SDL.h>

#include "core/input_feed.h"
#include "core/virtual_keys.h"
#include "sdl/gamepad.h"
#include "sdl/message_queue.h"
#include "sdl/platform_window.h"
#include "sdl/registered_hot_keys.h"
#include "sdl/scan_codes.h"
#include "sdl/sdl_backend.h"
#include "sdl/sdl_session.h"
#include "sdl/system_pointer.h"

namespace engine::sdl {
namespace {

UINT ModifiersOf(Uint16 keyModifiers) {
  UINT modifiers = 0;
  if (keyModifiers & KMOD_ALT) {
    modifiers |= MOD_ALT;
  }
  if (keyModifiers & KMOD_CTRL) {
    modifiers |= MOD_CONTROL;
  }
  if (keyModifiers & KMOD_SHIFT) {
    modifiers |= MOD_SHIFT;
  }
  return modifiers;
}

// Windows' activation messages: WM_ACTIVATEAPP before WM_ACTIVATE when the window gains the
// focus, the other way round when it loses it.
void OnWindowEvent(const SDL_WindowEvent& event) {
  const HWND window = WindowOfSdlId(event.windowID);
  if (!window) {
    return;
  }
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      PostWindowMessage(window, WM_CLOSE, 0, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      PostWindowMessage(window, WM_ACTIVATEAPP, 1, 0);
      PostWindowMessage(window, WM_ACTIVATE, WA_ACTIVE, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      PostWindowMessage(window, WM_ACTIVATE, WA_INACTIVE, 0);
      PostWindowMessage(window, WM_ACTIVATEAPP, 0, 0);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      TheBackend().ForgetPresentedFrame();
      PostWindowMessage(window, WM_PAINT, 0, 0);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      TheBackend().ForgetPresentedFrame();
      break;
    default:
      break;
  }
}

void OnKey(const SDL_KeyboardEvent& event) {
  const int scanCode = DirectInputScanCode(event.keysym.scancode);
  if (scanCode == 0) {
    return;
  }
  if (event.type == SDL_KEYUP) {
    FeedKeyUp(scanCode);
    return;
  }
  if (event.repeat) {
    return;
  }
  // Key events only come while one of our windows has the focus, which is when Windows
  // delivers hot keys to the program.
  const UINT virtualKey = VirtualKeyOfScanCode(scanCode);
  if (const auto hotKey = HotKeys().Match(ModifiersOf(event.keysym.mod), virtualKey)) {
    PostWindowMessage(hotKey->window, WM_HOTKEY, static_cast<WPARAM>(hotKey->id),
                      static_cast<LPARAM>(hotKey->modifiers | (virtualKey << 16)));
    return;
  }
  FeedKeyDown(scanCode);
}

int ButtonOf(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 0;
    case SDL_BUTTON_RIGHT:
      return 1;
    case SDL_BUTTON_MIDDLE:
      return 2;
    default:
      return -1;
  }
}

// The renderer has already brought mouse positions into the virtual screen (through the
// letterbox); only our own pointer, in relative mode, needs placing.
void OnMouseMotion(const SDL_MouseMotionEvent& event) {
  PointerControl& pointer = SystemPointer();
  if (pointer.OwnPointer()) {
    pointer.MovedBy(event.xrel, event.yrel);
    if (const auto screen = TheBackend().DesktopToScreen(pointer.Position())) {
      FeedMouseMove(screen->x, screen->y);
    }
    return;
  }
  FeedMouseMove(static_cast<float>(event.x), static_cast<float>(event.y));
}

void OnEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      if (const HWND window = FirstWindow()) {
        PostWindowMessage(window, WM_CLOSE, 0, 0);
      }
      break;
    case SDL_WINDOWEVENT:
      OnWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      OnKey(event.key);
      break;
    case SDL_MOUSEMOTION:
      OnMouseMotion(event.motion);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const int button = ButtonOf(event.button.button);
      if (button < 0) {
        break;
      }
      if (!SystemPointer().OwnPointer()) {
        FeedMouseMove(static_cast<float>(event.button.x), static_cast<float>(event.button.y));
      }
      if (event.type == SDL_MOUSEBUTTONDOWN) {
        FeedMouseButtonDown(button);
      } else {
        FeedMouseButtonUp(button);
      }
      break;
    }
    default:
      TheGamepads().OnEvent(event);
      break;
  }
}

}  // namespace

bool PumpEvents(bool wait) {
  if (!VideoReady()) {
    return false;
  }
  // Started with the first pump, so that the controllers already plugged in are announced.
  TheGamepads();
  SDL_Event event;
  if (wait) {
    if (SDL_WaitEvent(&event) == 0) {
      return false;
    }
    OnEvent(event);
  }
  while (SDL_PollEvent(&event)) {
    OnEvent(event);
  }
  SystemPointer().EventsTaken();
  return true;
}

}  // namespace engine::sdl

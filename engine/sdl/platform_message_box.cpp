#include <SDL.h>

#include "engine/platform.h"
#include "sdl/platform_window.h"

// Always Yes and No: the program asks nothing else. Without a display the answer is No.
int32_t MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
  };
  SDL_MessageBoxData box{};
  box.flags = (type & MB_ICONWARNING) == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                                        : SDL_MESSAGEBOX_INFORMATION;
  const PlatformWindow* parent = engine::sdl::LiveWindow(owner);
  box.window = parent ? parent->sdl.get() : nullptr;
  box.title = caption ? caption : "";
  box.message = text ? text : "";
  box.numbuttons = SDL_arraysize(buttons);
  box.buttons = buttons;
  int pressed = IDNO;
  if (SDL_ShowMessageBox(&box, &pressed) != 0 || pressed != IDYES) {
    return IDNO;
  }
  return IDYES;
}

#include <SDL.h>

#include "engine/platform.h"
#include "sdl/platform_window.h"

// Yes and No, or a single OK for a message that asks nothing. Without a display the answer is No
// (or OK).
int32_t MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  const bool question = (type & MB_YESNO) == MB_YESNO;
  const SDL_MessageBoxButtonData yesNo[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
  };
  const SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
       "OK"},
  };
  SDL_MessageBoxData box{};
  if ((type & MB_ICONWARNING) == MB_ICONWARNING)
    box.flags = SDL_MESSAGEBOX_WARNING;
  else if ((type & MB_ICONERROR) == MB_ICONERROR)
    box.flags = SDL_MESSAGEBOX_ERROR;
  else
    box.flags = SDL_MESSAGEBOX_INFORMATION;
  const PlatformWindow* parent = engine::sdl::LiveWindow(owner);
  box.window = parent ? parent->sdl.get() : nullptr;
  box.title = caption ? caption : "";
  box.message = text ? text : "";
  box.numbuttons = question ? SDL_arraysize(yesNo) : SDL_arraysize(ok);
  box.buttons = question ? yesNo : ok;
  int pressed = IDNO;
  const bool shown = SDL_ShowMessageBox(&box, &pressed) == 0;
  if (!question)
    return IDOK;
  return shown && pressed == IDYES ? IDYES : IDNO;
}

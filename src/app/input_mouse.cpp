#include "app/input_mouse.h"

#include <cmath>

#include "app/app_state.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "menus/exit_menu.h"
#include "menus/help_menu.h"
#include "menus/main_menu.h"
#include "menus/opt_menu.h"
#include "menus/record_input_menu.h"
#include "menus/records_menu.h"
#include "persist/settings.h"

uint8_t MouseButtonClicked = 0;

namespace {

long double PreviousMx = 0;
long double PreviousMy = 0;

bool SystemCursorShown = true;

// The system cursor is hidden over the window, where the cursor picture stands in for it.
void SetSystemCursor(bool shown) {
  if (shown == SystemCursorShown)
    return;
  ShowCursor(shown ? 1 : 0);
  SystemCursorShown = shown;
}

bool MenuTakesPointer() {
  return MenuBackgroundOn && AppState != StateConfirmExit && AppState != StateConfirmClearRecords;
}

}  // namespace

int32_t PrintToScreenX(long double mx) {
  return static_cast<int32_t>(std::trunc((mx + 16) / 32 * 800));
}

int32_t PrintToScreenY(long double my) {
  return static_cast<int32_t>(std::trunc(-(my - 12) / 24 * 600));
}

PointerPosition PlacePointer() {
  PointerPosition p;
  if (Settings.Windowed != 0) {
    POINT cursor{};
    RECT rect{};
    GetCursorPos(&cursor);
    GetWindowRect(FindWindowA("Game", nullptr), &rect);
    rect.top += GetSystemMetrics(SM_CYCAPTION);
    if (cursor.x < rect.left || cursor.x > rect.right || cursor.y < rect.top ||
        cursor.y > rect.bottom) {
      SetSystemCursor(true);
      return p;
    }
    const long double w = std::abs(rect.right - rect.left);
    const long double h = std::abs(rect.bottom - rect.top);
    if (w == 0 || h == 0)
      return p;
    p.Mx = (cursor.x - rect.left - w) / w * 32 + 16;
    p.My = (h - (cursor.y - rect.top)) / h * 24 - 12;
    SetSystemCursor(false);
  } else {
    p.Mx = iMouseX() * 32.0L - 16;
    p.My = 12 - iMouseY() * 24.0L;
  }
  p.Inside = true;
  p.Px = PrintToScreenX(p.Mx);
  p.Py = PrintToScreenY(p.My);
  iSpriteLocationSet(CursorSprite,
                     Vec2f{static_cast<float>(p.Mx - 0.1L), static_cast<float>(p.My - 0.4L)});
  return p;
}

void HandleMouseHover() {
  const PointerPosition p = PlacePointer();
  if (!p.Inside)
    return;
  if (p.Mx == PreviousMx && p.My == PreviousMy)
    return;
  if (MenuTakesPointer())
    MainMenu->Hover(p.Px, p.Py);
  if (IsOptionsState(AppState))
    OptMenu->Hover(p.Px, p.Py);
  else if (AppState == StateHelp)
    HelpMenu->Hover(p.Px, p.Py);
  else if (AppState == StateRecords)
    RecordsMenu->Hover(p.Px, p.Py);
  else if (IsDialogState(AppState))
    ExitMenu->Hover(p.Px, p.Py);
  else if (IsRecordEntryState(AppState))
    RecordInputMenu->Hover(p.Mx, p.My, p.Px, p.Py);
  PreviousMx = p.Mx;
  PreviousMy = p.My;
}

void HandleMouseClick() {
  const PointerPosition p = PlacePointer();
  MouseButtonClicked = iMouseButtonClick(0) ? 1 : iMouseButtonClick(1) ? 2 : 0;
  if (!p.Inside || MouseButtonClicked != 1)
    return;
  if (MenuTakesPointer() && MainMenu->Click(p.Px, p.Py))
    return;
  switch (AppState) {
    case StateOptions:
    case StateBindBossKey:
    case StateBindLeft:
    case StateBindRight:
    case StateBindFire:
      OptMenu->Click(p.Px, p.Py);
      break;
    case StateHelp:
      HelpMenu->Click(p.Px, p.Py);
      break;
    case StateRecords:
      RecordsMenu->Click(p.Px, p.Py);
      break;
    case StateConfirmExit:
    case StateConfirmClearRecords:
    case StateConfirmQuitGame:
    case StateAskUpload:
    case StateUploadFailed:
      ExitMenu->Click(p.Px, p.Py);
      break;
    case StateRecordEntry:
    case StateRecordName:
    case StateRecordCountry:
      RecordInputMenu->Click(p.Mx, p.My, p.Px, p.Py);
      break;
    default:
      break;
  }
}

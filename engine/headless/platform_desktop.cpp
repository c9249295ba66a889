// The rest of the simulated desktop: resources, hot keys, message boxes, the cursor, screen
// metrics and the opener.
#include "engine/platform.h"
#include "headless/headless_state.h"

using headless::Headless;

struct PlatformModule {};
struct PlatformIcon {};
struct PlatformCursor {};
struct PlatformBrush {};

namespace {

PlatformModule theModule;
PlatformIcon theIcon;
PlatformCursor theCursor;
PlatformBrush theBrush;

std::string Text(const char* text) {
  return text ? text : "";
}

}  // namespace

HINSTANCE GetModuleHandleA(const char*) {
  return &theModule;
}

HICON LoadIconA(HINSTANCE, const char*) {
  return &theIcon;
}

HCURSOR LoadCursorA(HINSTANCE, const char*) {
  return &theCursor;
}

HBRUSH GetStockObject(int32_t) {
  return &theBrush;
}

BOOL RegisterHotKey(HWND window, int32_t id, UINT modifiers, UINT virtualKey) {
  if (!headless::LiveWindow(window)) {
    return 0;
  }
  return Headless().hotKeys.Register({window, id, modifiers, virtualKey}) ? 1 : 0;
}

BOOL UnregisterHotKey(HWND window, int32_t id) {
  return Headless().hotKeys.Unregister(window, id) ? 1 : 0;
}

int32_t MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  auto& state = Headless();
  int32_t answer = (type & MB_YESNO) == MB_YESNO ? IDNO : IDOK;
  if (!state.messageBoxAnswers.empty()) {
    answer = state.messageBoxAnswers.front();
    state.messageBoxAnswers.pop_front();
  }
  state.messageBoxes.push_back({owner, Text(text), Text(caption), type, answer});
  return answer;
}

BOOL GetCursorPos(POINT* point) {
  if (!point) {
    return 0;
  }
  *point = Headless().cursor;
  return 1;
}

BOOL SetCursorPos(int32_t x, int32_t y) {
  Headless().cursor = {x, y};
  return 1;
}

int32_t ShowCursor(BOOL show) {
  int32_t& count = Headless().cursorCount;
  count += show ? 1 : -1;
  return count;
}

int32_t GetSystemMetrics(int32_t index) {
  switch (index) {
    case SM_CXSCREEN:
      return Headless().screenWidth;
    case SM_CYSCREEN:
      return Headless().screenHeight;
    case SM_CYCAPTION:
      return headless::kCaptionHeight;
    default:
      return 0;
  }
}

intptr_t ShellExecuteA(HWND window, const char* operation, const char* file, const char* parameters,
                       const char* directory, int32_t showCommand) {
  Headless().shellOpened.push_back(
      {window, Text(operation), Text(file), Text(parameters), Text(directory), showCommand});
  // Above 32 means the opener started.
  return 42;
}

// The few operating-system calls the game makes, with the names, arguments and meanings of the
// Windows functions it was written against. Two implementations exist: engine/sdl (the real
// desktop) and engine/headless (scripted, for the tests). Nothing else of the OS is reachable.
#pragma once

#include <cstdint>

struct PlatformWindow;  // opaque, owned by the platform layer
struct PlatformIcon;
struct PlatformCursor;
struct PlatformBrush;
struct PlatformModule;

using HWND = PlatformWindow*;
using HICON = PlatformIcon*;
using HCURSOR = PlatformCursor*;
using HBRUSH = PlatformBrush*;
using HINSTANCE = PlatformModule*;
using BOOL = int32_t;
using UINT = uint32_t;
using ATOM = uint16_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct POINT {
  int32_t x;
  int32_t y;
};

struct RECT {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int32_t cbClsExtra;
  int32_t cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  const char* lpszMenuName;
  const char* lpszClassName;
};

// Messages.
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_HOTKEY = 0x0312;

constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_RESTORE = 0xF120;

// WM_ACTIVATE's low word.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

// ShowWindow commands.
constexpr int32_t SW_HIDE = 0;
constexpr int32_t SW_SHOWNORMAL = 1;
constexpr int32_t SW_SHOWMINIMIZED = 2;
constexpr int32_t SW_SHOW = 5;
constexpr int32_t SW_MINIMIZE = 6;

// Window styles.
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_CAPTION = 0x00C00000u;
constexpr uint32_t WS_SYSMENU = 0x00080000u;

// Hot-key modifiers.
constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;

// Message boxes.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_TOPMOST = 0x00040000;
constexpr int32_t IDOK = 1;
constexpr int32_t IDYES = 6;
constexpr int32_t IDNO = 7;

// System metrics.
constexpr int32_t SM_CXSCREEN = 0;
constexpr int32_t SM_CYSCREEN = 1;
constexpr int32_t SM_CYCAPTION = 4;

constexpr int32_t BLACK_BRUSH = 4;

// Window classes and windows. A window is created hidden unless its style says otherwise; the
// engine shows and sizes it when it opens on it.
HINSTANCE GetModuleHandleA(const char* moduleName);
HICON LoadIconA(HINSTANCE instance, const char* name);
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);
HBRUSH GetStockObject(int32_t object);
ATOM RegisterClassA(const WNDCLASSA* windowClass);
HWND CreateWindowExA(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                     int32_t x, int32_t y, int32_t width, int32_t height, HWND parent, void* menu,
                     HINSTANCE instance, void* param);
BOOL ShowWindow(HWND window, int32_t command);
BOOL DestroyWindow(HWND window);
HWND FindWindowA(const char* className, const char* title);
BOOL GetWindowRect(HWND window, RECT* rect);

// The message queue. PeekMessageA never waits; GetMessageA waits and returns above 0 for a
// message, 0 for WM_QUIT and -1 on failure.
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlag);
BOOL GetMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
void PostQuitMessage(int32_t exitCode);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Hot keys: while registered, the key with the modifiers posts WM_HOTKEY with the identifier in
// wParam instead of reaching the game.
BOOL RegisterHotKey(HWND window, int32_t id, UINT modifiers, UINT virtualKey);
BOOL UnregisterHotKey(HWND window, int32_t id);

// With MB_YESNO, returns IDYES or IDNO; otherwise the box has one OK button and returns IDOK.
int32_t MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// The pointer, in desktop pixels.
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int32_t x, int32_t y);
// Returns the display counter: the system cursor is visible while it is 0 or above.
int32_t ShowCursor(BOOL show);

int32_t GetSystemMetrics(int32_t index);

// One clock behind all three (and behind the engine's iSystemTimer).
BOOL QueryPerformanceCounter(int64_t* count);
BOOL QueryPerformanceFrequency(int64_t* frequency);
uint32_t GetTickCount();

// Opens a URL, a mailto: link or a ".url" file with the desktop's opener, without waiting.
// Returns above 32 when the opener was started.
intptr_t ShellExecuteA(HWND window, const char* operation, const char* file, const char* parameters,
                       const char* directory, int32_t showCommand);

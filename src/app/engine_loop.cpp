#include "app/engine_loop.h"

#include "app/app_state.h"
#include "app/run_phase.h"
#include "app/scan_to_virtual_key.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "game/level_files.h"
#include "menus/opt_menu.h"
#include "persist/saved_files.h"
#include "persist/settings.h"

bool SuspendToTaskbar = false;
bool EngineLive = true;
bool ExitAfterWait = false;

namespace {

int32_t ReopenRequest = 0;

constexpr int32_t kHotKeyAltTab = 100;
constexpr int32_t kHotKeyAltF4 = 101;
constexpr int32_t kHotKeyReopen = 200;
constexpr int32_t kHotKeyExit = 201;
constexpr int kScanTab = 15;
constexpr int kScanF4 = 62;

constexpr const char* kFailureText =
    "Critical error on GetMessage function. Try to reset program? If No, then saved data will be "
    "losed!";

HWND CreateGameWindow(const TWindowParams& params) {
  return CreateWindowExA(0, params.ClassName, params.Title, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                         params.Left, params.Top, params.Right - params.Left,
                         params.Bottom - params.Top, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

enum class WaitOutcome { Reopen, Exit, Failed };

// The engine stays closed until the player brings the window back (or asks to leave).
WaitOutcome WaitForReactivation(HWND window) {
  ShowWindow(window, SW_HIDE);
  if (SuspendToTaskbar)
    ShowWindow(window, SW_SHOWMINIMIZED);
  ExitAfterWait = false;
  MSG msg{};
  BOOL got = 1;
  while (EngineLive && (got = GetMessageA(&msg, window, 0, 0)) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (SuspendToTaskbar)
    ShowWindow(window, SW_SHOWNORMAL);
  ReopenRequest = 0;
  if (got < 0)
    return WaitOutcome::Failed;
  return ExitAfterWait ? WaitOutcome::Exit : WaitOutcome::Reopen;
}

void RegisterFullScreenHotKeys(HWND window) {
  if (iDisplayMode() > 0)
    RegisterHotKey(window, kHotKeyAltTab, MOD_ALT, ScanToVirtualKey[kScanTab]);
  if (iDisplayMode() > 0)
    RegisterHotKey(window, kHotKeyAltF4, MOD_ALT, ScanToVirtualKey[kScanF4]);
}

void UnregisterFullScreenHotKeys(HWND window) {
  if (iDisplayMode() > 0)
    UnregisterHotKey(window, kHotKeyAltTab);
  if (iDisplayMode() > 0)
    UnregisterHotKey(window, kHotKeyAltF4);
}

bool OpenEngine(HWND window, TWindowParams& params) {
  if (!i3ImpactOpen(window, 0))
    return false;
  const int32_t block[6] = {0,
                            0,
                            params.DisplayValue,
                            params.FourthSetting,
                            params.WindowedSelector,
                            params.SixthSetting};
  params.SixthSetting = -1;
  return i3ImpactSettings(block) != 0;
}

// Runs the engine until rendering stops, a reopen is requested or the engine reports an error.
void DriveEngine(TWindowParams& params) {
  while (i3ImpactIsRendering()) {
    MSG msg{};
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    if (i3ImpactIsActive() && i3ImpactIsReady()) {
      i3ImpactMain();
      if (!i3ImpactIsExecuting())
        continue;
    }
    if (i3ImpactIsInitializing()) {
      i3ImpactInitBegin();
      BuildStartupScene();
      i3ImpactInitEnd();
      if (i3ImpactErrorFlag())
        break;
    }
    if (!i3ImpactIsRendering())
      break;
    if (!i3ImpactIsSkippingRunPhase()) {
      i3ImpactRunBegin();
      RunPhase();
      params.BossKey = Settings.BossKey;
      iKeyClick(params.BossKey);
      i3ImpactRunEnd();
      if (ReopenRequest != 0 || i3ImpactErrorFlag())
        break;
    }
    if (!i3ImpactIsSkippingRenderPhase())
      i3ImpactRender();
  }
  i3ImpactExitBegin();
  i3ImpactExitEnd();
}

}  // namespace

int32_t GetReopenRequest() {
  return ReopenRequest;
}
void SetReopenRequest(int32_t request) {
  ReopenRequest = request;
}

void RunEngine(TWindowParams& params) {
  FillScanToVirtualKey();
  ReopenRequest = 0;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hIcon = LoadIconA(windowClass.hInstance, "MAINICON");
  windowClass.hCursor = LoadCursorA(windowClass.hInstance, "MAINICON");
  windowClass.hbrBackground = GetStockObject(BLACK_BRUSH);
  windowClass.lpszClassName = params.ClassName;
  RegisterClassA(&windowClass);

  for (;;) {
    HWND window = CreateGameWindow(params);
    params.BossKey = Settings.BossKey;

    if (ReopenRequest != 0) {
      // A switch between window and full screen reopens at once, in the new mode.
      if (OptMenu && OptMenu->DisplayChanged) {
        ReopenRequest = 0;
        params.WindowedSelector = WindowedSelectorFor(Settings.Windowed);
        OptMenu->DisplayChanged = false;
      } else {
        const WaitOutcome outcome = WaitForReactivation(window);
        if (outcome == WaitOutcome::Failed) {
          DestroyWindow(window);
          if (MessageBoxA(nullptr, kFailureText, "Fatal error",
                          MB_YESNO | MB_ICONWARNING | MB_TOPMOST) == IDYES)
            continue;
          return;
        }
        if (outcome == WaitOutcome::Exit) {
          DestroyWindow(window);
          return;
        }
      }
    }

    i3ImpactErrorFlagSet(0);
    SuspendToTaskbar = false;
    EngineLive = true;

    if (OpenEngine(window, params)) {
      RegisterFullScreenHotKeys(window);
      DriveEngine(params);
    }

    UnregisterFullScreenHotKeys(window);
    i3ImpactClose();
    DestroyWindow(window);
    if (ReopenRequest == 0)
      return;
  }
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!EngineLive)
    return 0;
  switch (message) {
    case WM_ACTIVATE:
      if (SuspendToTaskbar) {
        ExitAfterWait = false;
        PostQuitMessage(0);
        EngineLive = false;
        return 0;
      }
      break;
    case WM_PAINT:
      if (i3ImpactIsReady())
        iScreenWipe(0, 0, 0);
      break;
    case WM_CLOSE:
      i3ImpactIsRenderingSet(0);
      PostQuitMessage(0);
      return 0;
    case WM_ACTIVATEAPP:
      if ((wParam & 0xFF) == 0 && !i3ImpactIsInitializing() && i3ImpactIsRendering() &&
          iDisplayMode() > 0) {
        // The new window waits on the taskbar, where the player finds it and brings the game
        // back; a hidden one could never be found again.
        SuspendToTaskbar = true;
        ReopenRequest = -1;
        return 0;
      }
      break;
    case WM_HOTKEY:
      if (AppState == StateBindBossKey) {
        AppState = StateOptions;
        break;
      }
      if (wParam == kHotKeyReopen || wParam == kHotKeyExit) {
        ExitAfterWait = wParam == kHotKeyExit;
        PostQuitMessage(0);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunProgram() {
  if (!LevelFileUsableAtStart())
    return 1;
  LoadSavedFiles();
  FillWindowParams();
  WindowParams.WindowedSelector = WindowedSelectorFor(Settings.Windowed);
  WindowParams.BossKey = Settings.BossKey;
  RunEngine(WindowParams);
  ShellExecuteA(nullptr, nullptr, "play.url", nullptr, nullptr, SW_HIDE);
  return 0;
}

// What the headless platform layer and backend remember; shared by their source files.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/frame.h"
#include "core/hot_keys.h"
#include "engine/platform.h"
#include "headless/headless.h"

struct PlatformWindow {
  std::string className;
  std::string title;
  WNDPROC procedure = nullptr;
  RECT rect{};
  RECT windowedRect{};  // kept while the engine shows the window full screen
  headless::ShowState show = headless::ShowState::kHidden;
  bool destroyed = false;
};

namespace headless {

struct WindowClass {
  WNDPROC procedure;
};

struct State {
  // Platform.
  std::map<std::string, WindowClass> classes;
  // Destroyed windows stay here until Reset, so that a stale HWND never names a new window.
  std::vector<std::unique_ptr<PlatformWindow>> windows;
  std::deque<MSG> queue;
  bool quitPosted = false;
  int32_t quitCode = 0;
  engine::HotKeyRegistry hotKeys;
  std::deque<int32_t> messageBoxAnswers;
  std::vector<MessageBoxView> messageBoxes;
  std::vector<ShellView> shellOpened;
  POINT cursor{0, 0};
  int32_t cursorCount = 0;
  int32_t screenWidth = 1024;
  int32_t screenHeight = 768;

  // Clock and scripting.
  int64_t clock = 0;        // nanoseconds
  int64_t autoAdvance = 0;  // nanoseconds per engine pass
  std::function<void(uint64_t)> passHook;
  std::function<void()> idleHook;
  int idleCalls = 0;  // Idle calls since the last engine pass
  bool failNextGetMessage = false;
  bool failNextOpen = false;
  bool failNextDisplay = false;

  // Backend.
  HWND engineWindow = nullptr;
  bool fullScreen = false;
  uint64_t framesDrawn = 0;
  bool readsFrames = false;
  uint64_t wipes = 0;
  std::set<engine::ResourceId> resources;
  std::optional<Vec2f> lastWarp;
};

State& Headless();

// The live window behind a handle, or null for an unknown or destroyed one.
PlatformWindow* LiveWindow(HWND window);

// Puts the desktop cursor over a pixel of the virtual screen shown in the engine's window.
void PlaceDesktopCursor(float x, float y);

constexpr int32_t kCaptionHeight = 23;
// How often GetMessageA or an inactive engine calls the idle hook before the test fails.
constexpr int kIdleCallsBeforeFailing = 1000;

}  // namespace headless

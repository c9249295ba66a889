// How a test sets the stage and plays the user.
#include <cmath>
#include <utility>

#include "core/clock.h"
#include "core/engine_state.h"
#include "core/input_feed.h"
#include "core/program_folder.h"
#include "core/virtual_keys.h"
#include "headless/headless.h"
#include "headless/headless_state.h"

namespace headless {
namespace {

int64_t Nanoseconds(double seconds) {
  return static_cast<int64_t>(std::llround(seconds * 1e9));
}

}  // namespace

State& Headless() {
  static State state;
  return state;
}

void Reset() {
  engine::ResetEngine();
  Headless() = State();
  Headless().autoAdvance = Nanoseconds(1.0 / 60);
  engine::SetClockSource([] { return Headless().clock; });
  engine::SetProgramFolder({});
}

void SetPassHook(std::function<void(uint64_t pass)> hook) {
  Headless().passHook = std::move(hook);
}

void SetIdleHook(std::function<void()> hook) {
  Headless().idleHook = std::move(hook);
}

void FailNextGetMessage() {
  Headless().failNextGetMessage = true;
}

void FailNextOpen() {
  Headless().failNextOpen = true;
}

void FailNextDisplaySettings() {
  Headless().failNextDisplay = true;
}

double Clock() {
  return static_cast<double>(Headless().clock) / 1e9;
}

void SetClock(double seconds) {
  Headless().clock = Nanoseconds(seconds);
}

void AdvanceClock(double seconds) {
  Headless().clock += Nanoseconds(seconds);
}

void SetAutoAdvance(double seconds) {
  Headless().autoAdvance = Nanoseconds(seconds);
}

void SetProgramFolder(const std::filesystem::path& folder) {
  engine::SetProgramFolder(folder);
}

void SetScreenSize(int32_t width, int32_t height) {
  Headless().screenWidth = width;
  Headless().screenHeight = height;
}

void PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Headless().queue.push_back({window, message, wParam, lParam});
}

void PressKey(int scanCode) {
  const auto hotKey =
      Headless().hotKeys.Match(engine::HeldModifiers(), engine::VirtualKeyOfScanCode(scanCode));
  if (hotKey && LiveWindow(hotKey->window)) {
    PostMessage(hotKey->window, WM_HOTKEY, static_cast<WPARAM>(hotKey->id), 0);
    return;
  }
  engine::FeedKeyDown(scanCode);
}

void ReleaseKey(int scanCode) {
  engine::FeedKeyUp(scanCode);
}

void TapKey(int scanCode) {
  PressKey(scanCode);
  ReleaseKey(scanCode);
}

bool FireHotKey(int32_t id) {
  for (const engine::HotKey& hotKey : Headless().hotKeys.All()) {
    if (hotKey.id == id && LiveWindow(hotKey.window)) {
      PostMessage(hotKey.window, WM_HOTKEY, static_cast<WPARAM>(id), 0);
      return true;
    }
  }
  return false;
}

void MoveMouse(float x, float y) {
  engine::FeedMouseMove(x, y);
  PlaceDesktopCursor(x, y);
}

void PressMouseButton(int button) {
  engine::FeedMouseButtonDown(button);
}

void ReleaseMouseButton(int button) {
  engine::FeedMouseButtonUp(button);
}

void ClickMouse(int button) {
  PressMouseButton(button);
  ReleaseMouseButton(button);
}

void SetCursorPosition(int32_t x, int32_t y) {
  Headless().cursor = {x, y};
}

void QueueMessageBoxAnswer(int32_t answer) {
  Headless().messageBoxAnswers.push_back(answer);
}

}  // namespace headless

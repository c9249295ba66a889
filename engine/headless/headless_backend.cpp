// The backend the tests link: it keeps track of what the engine gives it and draws nothing.
#include <gtest/gtest.h>

#include <utility>

#include "core/backend.h"
#include "engine/engine.h"
#include "headless/headless_state.h"

namespace headless {
namespace {

class HeadlessBackend : public engine::Backend {
 public:
  bool Open(HWND window) override {
    State& state = Headless();
    PlatformWindow* w = LiveWindow(window);
    if (std::exchange(state.failNextOpen, false) || !w) {
      return false;
    }
    w->show = ShowState::kShown;
    state.engineWindow = window;
    state.fullScreen = false;
    return true;
  }

  bool ApplyDisplay(const engine::DisplaySettings& settings) override {
    State& state = Headless();
    PlatformWindow* w = LiveWindow(state.engineWindow);
    if (std::exchange(state.failNextDisplay, false) || !w) {
      return false;
    }
    if (settings.fullScreen && !state.fullScreen) {
      w->windowedRect = w->rect;
      w->rect = {0, 0, state.screenWidth, state.screenHeight};
    } else if (!settings.fullScreen && state.fullScreen) {
      w->rect = w->windowedRect;
    }
    state.fullScreen = settings.fullScreen;
    return true;
  }

  void Close() override {
    State& state = Headless();
    if (PlatformWindow* w = LiveWindow(state.engineWindow); w && state.fullScreen) {
      w->rect = w->windowedRect;
    }
    state.engineWindow = nullptr;
    state.fullScreen = false;
  }

  bool IsActive() override {
    const PlatformWindow* w = LiveWindow(Headless().engineWindow);
    return w && w->show == ShowState::kShown;
  }

  bool UploadTexture(engine::ResourceId id, engine::Image) override { return Hold(id); }
  void DestroyTexture(engine::ResourceId id) override { Headless().resources.erase(id); }
  bool LoadFont(engine::ResourceId id, std::span<const uint8_t>) override { return Hold(id); }
  void ReleaseFont(engine::ResourceId id) override { Headless().resources.erase(id); }
  bool LoadSound(engine::ResourceId id, std::span<const uint8_t>,
                 const std::filesystem::path&) override {
    return Hold(id);
  }
  void ReleaseSound(engine::ResourceId id) override { Headless().resources.erase(id); }
  void PlaySound(engine::ResourceId, int32_t) override {}
  void StopSound(engine::ResourceId) override {}
  void SetSoundVolume(engine::ResourceId, float) override {}

  // The scene is read back through the inspection calls, which build their own frames.
  void DrawFrame(const engine::Frame&) override { ++Headless().framesDrawn; }
  bool ReadsFrames() const override { return Headless().readsFrames; }
  void Wipe(uint8_t, uint8_t, uint8_t) override { ++Headless().wipes; }

  void WarpPointer(float x, float y) override {
    Headless().lastWarp = Vec2f{x, y};
    PlaceDesktopCursor(x, y);
  }

  void WaitForFrame(double) override { Headless().clock += Headless().autoAdvance; }

  // Lets the test's idle hook bring the window back; a window that never comes back ends the
  // engine loop with a failure instead of hanging the test.
  void Idle() override {
    State& state = Headless();
    state.clock += state.autoAdvance;
    if (state.idleHook && state.idleCalls < kIdleCallsBeforeFailing) {
      ++state.idleCalls;
      auto hook = state.idleHook;
      hook();
      return;
    }
    ADD_FAILURE() << "The engine's window stays inactive and nothing brings it back";
    i3ImpactIsRenderingSet(0);
  }

  void Poll(uint64_t pass) override {
    Headless().idleCalls = 0;
    // A copy: the hook may replace itself.
    if (auto hook = Headless().passHook) {
      hook(pass);
    }
  }

 private:
  static bool Hold(engine::ResourceId id) {
    Headless().resources.insert(id);
    return true;
  }
};

}  // namespace

// Where the desktop cursor stands over a virtual-screen pixel of the engine's window: below the
// caption in a window, stretched over the screen in full screen.
void PlaceDesktopCursor(float x, float y) {
  State& state = Headless();
  const PlatformWindow* w = LiveWindow(state.engineWindow);
  if (!w) {
    return;
  }
  if (state.fullScreen) {
    state.cursor = {
        static_cast<int32_t>(x * static_cast<float>(state.screenWidth) / engine::kScreenWidth),
        static_cast<int32_t>(y * static_cast<float>(state.screenHeight) / engine::kScreenHeight)};
  } else {
    state.cursor = {w->rect.left + static_cast<int32_t>(x),
                    w->rect.top + kCaptionHeight + static_cast<int32_t>(y)};
  }
}

}  // namespace headless

engine::Backend& engine::ProgramBackend() {
  static headless::HeadlessBackend backend;
  return backend;
}

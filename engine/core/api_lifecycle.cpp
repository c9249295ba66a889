// The engine's lifecycle, its loop and its phases.
#include <algorithm>

#include "core/clock.h"
#include "core/engine_state.h"
#include "core/frame_builder.h"
#include "core/uploads.h"
#include "engine/engine.h"

using engine::Engine;
using engine::EngineState;

namespace {

// A pass never simulates more than this, so a stall (a dragged window, a debugger) does not
// fling particles across the screen.
constexpr double kMaxPassSeconds = 0.1;
// The only display the engine offers: 800 x 600 pixels at 32 bits.
constexpr int32_t kDisplayValue = 800 * 600 * 32;
// Particles look the same in every run.
constexpr uint32_t kParticleSeed = 0x5EED;

void Draw() {
  EngineState& state = Engine();
  // Only a backend that reads frames holds pictures worth letting go of.
  if (state.backend->ReadsFrames()) {
    engine::BuildFrame(state, state.frame);
    state.backend->DrawFrame(state.frame);
    engine::ReleaseIdlePictures();
  } else {
    state.backend->DrawFrame(state.frame);
  }
}

}  // namespace

int32_t i3ImpactOpen(HWND window, int32_t) {
  EngineState& state = Engine();
  if (state.open) {
    return 0;
  }
  engine::Backend& backend = engine::ProgramBackend();
  if (!backend.Open(window)) {
    return 0;
  }
  state.backend = &backend;
  state.open = true;
  state.ready = false;
  state.initializing = true;
  state.rendering = true;
  state.executing = false;
  state.runPending = false;
  state.renderPending = false;
  state.fullScreen = false;
  state.input.Reset();
  state.prints.clear();
  state.printColour = {};
  state.lightDirection = {0, 0, 1};
  state.lightColour = {1, 1, 1, 1};
  state.random.seed(kParticleSeed);
  state.schedule.Reset();
  state.lastPass = engine::ClockSeconds();
  return 1;
}

int32_t i3ImpactSettings(const int32_t* block) {
  EngineState& state = Engine();
  if (!state.open || !block || block[2] != kDisplayValue) {
    return 0;
  }
  engine::DisplaySettings settings;
  settings.fullScreen = block[4] != 0;
  if (!state.backend->ApplyDisplay(settings)) {
    return 0;
  }
  state.fullScreen = settings.fullScreen;
  state.ready = true;
  return 1;
}

void i3ImpactClose() {
  EngineState& state = Engine();
  if (!state.open) {
    return;
  }
  engine::Backend& backend = *state.backend;
  state.sounds.ForEach([&](int32_t, const engine::SoundObject& sound) {
    if (sound.loaded) {
      backend.StopSound(sound.id);
      backend.ReleaseSound(sound.id);
    }
  });
  state.fonts.ForEach(
      [&](int32_t, const engine::FontObject& font) { backend.ReleaseFont(font.id); });
  engine::ReleaseAllUploads();
  state.meshes.Clear();
  state.textures.Clear();
  state.sprites.Clear();
  state.particles.Clear();
  state.emitters.Clear();
  state.sounds.Clear();
  state.fonts.Clear();
  state.cameras.Clear();
  state.models.clear();
  state.prints.clear();
  state.frame.Clear();
  backend.Close();
  state.backend = nullptr;
  state.open = false;
  state.ready = false;
  state.initializing = false;
  state.rendering = false;
  state.executing = false;
  state.runPending = false;
  state.renderPending = false;
  state.fullScreen = false;
  state.input.Reset();
}

void i3ImpactMain() {
  EngineState& state = Engine();
  state.executing = false;
  if (!state.open || !state.ready || !state.rendering) {
    return;
  }
  state.backend->WaitForFrame(state.schedule.Deadline(engine::ClockSeconds()));
  state.backend->Poll(++state.passes);
  if (!state.open) {
    return;
  }
  const double now = engine::ClockSeconds();
  const auto seconds = static_cast<float>(std::clamp(now - state.lastPass, 0.0, kMaxPassSeconds));
  state.lastPass = now;
  state.particles.ForEach(
      [&](int32_t, engine::ParticleObject& object) { object.system.Advance(seconds); });
  state.executing = state.rendering;
  state.runPending = state.executing;
  state.renderPending = state.executing;
}

void i3ImpactInitBegin() {}

void i3ImpactInitEnd() {
  Engine().initializing = false;
}

void i3ImpactRunBegin() {
  EngineState& state = Engine();
  state.runPending = false;
  state.prints.clear();
}

void i3ImpactRunEnd() {
  Engine().input.ExpireClicks();
}

void i3ImpactExitBegin() {}

void i3ImpactExitEnd() {
  EngineState& state = Engine();
  state.executing = false;
  state.runPending = false;
  state.renderPending = false;
}

void i3ImpactRender() {
  EngineState& state = Engine();
  state.renderPending = false;
  if (state.open) {
    Draw();
  }
}

int32_t i3ImpactIsActive() {
  EngineState& state = Engine();
  if (!state.open) {
    return 0;
  }
  if (state.backend->IsActive()) {
    return 1;
  }
  state.backend->Idle();
  return 0;
}

int32_t i3ImpactIsReady() {
  return Engine().open && Engine().ready ? 1 : 0;
}

int32_t i3ImpactIsExecuting() {
  const EngineState& state = Engine();
  return state.open && state.rendering && state.executing ? 1 : 0;
}

int32_t i3ImpactIsInitializing() {
  return Engine().open && Engine().initializing ? 1 : 0;
}

int32_t i3ImpactIsRendering() {
  return Engine().open && Engine().rendering ? 1 : 0;
}

void i3ImpactIsRenderingSet(int32_t rendering) {
  Engine().rendering = rendering != 0;
}

int32_t i3ImpactIsSkippingRunPhase() {
  return Engine().open && Engine().runPending ? 0 : 1;
}

int32_t i3ImpactIsSkippingRenderPhase() {
  return Engine().open && Engine().renderPending ? 0 : 1;
}

int32_t i3ImpactErrorFlag() {
  return Engine().errorFlag;
}

void i3ImpactErrorFlagSet(int32_t flag) {
  Engine().errorFlag = flag;
}

int32_t iDisplayMode() {
  return Engine().open && Engine().fullScreen ? 1 : 0;
}

double iSystemTimer() {
  return engine::ClockSeconds();
}

void iScreenWipe(int32_t red, int32_t green, int32_t blue) {
  if (!engine::IsOpen()) {
    return;
  }
  const auto channel = [](int32_t value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
  };
  Engine().backend->Wipe(channel(red), channel(green), channel(blue));
}

void iRender() {
  if (engine::IsOpen()) {
    Draw();
  }
}

void iRenderingDisable() {}

// Escape never ends the engine by itself: the game decides what Escape does.
void iEscEnable(int32_t) {}

void iExit() {
  Engine().rendering = false;
}

// Pictures are drawn at about their own size, so there are no mip maps to choose.
void iTextureMipLevelsSet(int32_t) {}

// Keyboard and mouse queries of the game, and the feed the backends fill them from.
#include <algorithm>
#include <cmath>

#include "core/engine_state.h"
#include "core/input_feed.h"
#include "engine/engine.h"

using engine::Engine;

namespace engine {

void FeedKeyDown(int scanCode) {
  Engine().input.KeyDown(scanCode);
}
void FeedKeyUp(int scanCode) {
  Engine().input.KeyUp(scanCode);
}
void FeedMouseMove(float x, float y) {
  Engine().input.MouseMoved(x, y);
}
void FeedMouseButtonDown(int button) {
  Engine().input.ButtonDown(button);
}
void FeedMouseButtonUp(int button) {
  Engine().input.ButtonUp(button);
}
UINT HeldModifiers() {
  return Engine().input.HeldModifiers();
}

}  // namespace engine

int32_t iKeyDown(int32_t scanCode) {
  return engine::IsOpen() && Engine().input.KeyHeld(scanCode) ? 1 : 0;
}

void iKeyInject(int32_t scanCode, int32_t down) {
  if (!engine::IsOpen())
    return;
  if (down)
    engine::FeedKeyDown(scanCode);
  else
    engine::FeedKeyUp(scanCode);
}

int32_t iKeyClick(int32_t scanCode) {
  return engine::IsOpen() && Engine().input.TakeKeyClick(scanCode) ? 1 : 0;
}

float iMouseX() {
  return engine::IsOpen() ? Engine().input.MouseX() : 0;
}

float iMouseY() {
  return engine::IsOpen() ? Engine().input.MouseY() : 0;
}

int32_t iMouseButtonDown(int32_t button) {
  return engine::IsOpen() && Engine().input.ButtonHeld(button) ? 1 : 0;
}

int32_t iMouseButtonClick(int32_t button) {
  return engine::IsOpen() && Engine().input.TakeButtonClick(button) ? 1 : 0;
}

void iMouseReset(const Vec2f& position) {
  if (!engine::IsOpen() || !std::isfinite(position.x) || !std::isfinite(position.y)) {
    return;
  }
  const float x = std::clamp(position.x, 0.0f, 1.0f) * engine::kScreenWidth;
  const float y = std::clamp(position.y, 0.0f, 1.0f) * engine::kScreenHeight;
  Engine().input.MouseMoved(x, y);
  Engine().backend->WarpPointer(x, y);
}

// The pointer is always reported as a fraction of the screen, whatever the resolution.
void iMouseResolutionSet(int32_t) {}

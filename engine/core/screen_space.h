// Conversions between the engine's spaces and the 800 x 600 virtual screen.
#pragma once

#include "core/frame.h"
#include "engine/engine.h"

namespace engine {

constexpr float kEnginePixels = 8;  // screen pixels per engine unit
constexpr float kPrintPixels = 25;  // screen pixels per print unit
// Screen pixels per model unit of an engine sprite at scale 1: the cursor's 1.6-unit quad at
// scale 5.12 covers 32 x 32 pixels.
constexpr float kSpritePixels = 32.0f / (1.6f * 5.12f);

// Engine space: origin at the screen centre, y up.
inline Vec2f EngineToScreen(float x, float y) {
  return {kScreenWidth / 2 + x * kEnginePixels, kScreenHeight / 2 - y * kEnginePixels};
}

// Particle space. The game emits a playfield point (x, y) at (x * 3.12, y * 3): these scales put
// it back on the playfield point's pixel, 25 pixels per playfield unit from the screen centre.
// (At 8 pixels per unit, as for meshes, y would drift by up to 12 pixels towards the edges.)
constexpr float kParticlePixelsX = 25 / 3.12f;
constexpr float kParticlePixelsY = 25 / 3.0f;

inline Vec2f ParticleToScreen(float x, float y) {
  return {kScreenWidth / 2 + x * kParticlePixelsX, kScreenHeight / 2 - y * kParticlePixelsY};
}

// Print space: x -16..16 from the left edge, y -12..12 from the bottom edge.
inline Vec2f PrintToScreen(float x, float y) {
  return {(x + 16) * kPrintPixels, (12 - y) * kPrintPixels};
}

struct ScreenRect {
  float left;    // pixels
  float top;     // pixels
  float width;   // pixels
  float height;  // pixels
};

}  // namespace engine

// A particle system with one emitter, set up in one call: every effect of the game (exhausts,
// trails, sparks, blasts) is made this way.
#pragma once

#include <cstdint>

#include "engine/engine.h"

struct TParticleLook {
  int32_t Capacity = 10;
  Vec3f Gravity{};  // engine units per second squared
  float AirResistance = 10;
  Vec3f ColourFrom{1, 1, 1};
  Vec3f ColourTo{1, 1, 1};
  float LifeTime = 1;  // seconds
};

struct TEmitterLook {
  Vec3f Location{0, -3, 0};
  Vec3f DirectionFrom{};  // (0,0,0) to (0,0,0): every direction
  Vec3f DirectionTo{};
  float SpeedFrom = 4.0f;
  float SpeedTo = 4.1f;
  Vec2f ScaleFrom{0.2f, 0.2f};
  Vec2f ScaleTo{0.2f, 0.2f};
};

struct TParticleEffect {
  int32_t Particles = 0;
  int32_t Emitter = 0;
};

// Textured with "data\particle_clot.dds", render mode 0, shown.
TParticleEffect CreateParticleEffect(const TParticleLook& look, const TEmitterLook& emitter);

// The downward jet under the paddle and the escort platform, fading from one colour to another.
TParticleEffect CreateJetExhaust(Vec3f colourFrom, Vec3f colourTo);

// A short burst of one colour, pushed away from the screen: the blasts of broken blocks, enemies
// and the paddle.
TParticleEffect CreateBurstEffect(Vec3f colour, float lifeTime, Vec2f scaleFrom, Vec2f scaleTo);

// Engine-space particle position of a playfield point.
inline Vec3f ParticlePoint(long double x, long double y) {
  return {static_cast<float>(x * 3.12), static_cast<float>(y * 3), 1.5f};
}

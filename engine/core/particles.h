// Particle systems simulated by the engine: bursts from emitters, moved by velocity, gravity and
// air resistance, coloured along a ramp and drawn as additive quads.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "engine/engine.h"

namespace engine {

// Particle sizes are in size units of this many screen pixels (eight engine units): sizes such as
// 0.2 give a visible spark; in engine units they would be a pixel or two.
constexpr float kParticleSizePixels = 64;

struct Particle {
  Vec3f position;  // particle space (see screen_space.h)
  Vec3f velocity;  // engine units per second
  Vec2f size;      // size units (kParticleSizePixels)
  float age;       // seconds
};

struct ParticleEmitter {
  int32_t system = 0;  // handle of the system it emits into
  Vec3f location{0, 0, 0};
  Vec3f directionFrom{0, 0, 0};
  Vec3f directionTo{0, 0, 0};
  float speedFrom = 0;  // engine units per second
  float speedTo = 0;
  Vec2f sizeFrom{1, 1};
  Vec2f sizeTo{1, 1};
};

class ParticleSystem {
 public:
  static constexpr int kMaxCapacity = 4096;

  explicit ParticleSystem(int capacity);

  // Adds a burst of ceil(amount * intensity / 10) particles (a trail's (20, 0.5) gives one, a
  // jet's (100, 1) ten); when the system is full the oldest make room, so a trail keeps
  // following its emitter.
  void Emit(const ParticleEmitter& emitter, float amount, float intensity, std::mt19937& random);
  // Moves every particle on by `seconds` and removes those older than the lifetime.
  void Advance(float seconds);

  int Capacity() const { return static_cast<int>(ring_.size()); }
  int Alive() const { return count_; }
  // The i-th live particle, oldest first.
  const Particle& At(int i) const { return ring_[(head_ + i) % ring_.size()]; }
  // Colour of a particle of this age: the ramp from birth to death, fading out towards death.
  Vec4f ColourAt(float age) const;

  Vec3f colourFrom{1, 1, 1};  // 0..1
  Vec3f colourTo{1, 1, 1};
  float lifetime = 1;       // seconds
  Vec3f gravity{0, 0, 0};   // engine units per second squared
  float airResistance = 0;  // velocity damping per second
  int32_t renderMode = 0;

 private:
  std::vector<Particle> ring_;
  int head_ = 0;
  int count_ = 0;
};

}  // namespace engine

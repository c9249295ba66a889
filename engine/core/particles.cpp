#include "core/particles.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace engine {
namespace {

// Uniform in [0, 1), the same on every standard library (unlike std::uniform_real_distribution).
float Unit(std::mt19937& random) {
  return static_cast<float>(random() >> 8) * 0x1p-24f;
}

float Lerp(float from, float to, float t) {
  return from + (to - from) * t;
}

Vec3f AnyDirection(std::mt19937& random) {
  const float z = 2 * Unit(random) - 1;
  const float angle = 2 * std::numbers::pi_v<float> * Unit(random);
  const float r = std::sqrt(std::max(0.0f, 1 - z * z));
  return {r * std::cos(angle), r * std::sin(angle), z};
}

Vec3f Direction(const ParticleEmitter& emitter, std::mt19937& random) {
  const Vec3f d{Lerp(emitter.directionFrom.x, emitter.directionTo.x, Unit(random)),
                Lerp(emitter.directionFrom.y, emitter.directionTo.y, Unit(random)),
                Lerp(emitter.directionFrom.z, emitter.directionTo.z, Unit(random))};
  const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  if (!(length > 1e-6f) || !std::isfinite(length)) {
    return AnyDirection(random);
  }
  return {d.x / length, d.y / length, d.z / length};
}

}  // namespace

ParticleSystem::ParticleSystem(int capacity)
    : ring_(static_cast<size_t>(std::clamp(capacity, 1, kMaxCapacity))) {}

void ParticleSystem::Emit(const ParticleEmitter& emitter, float amount, float intensity,
                          std::mt19937& random) {
  // The small margin keeps (100, 0.3) at three particles despite 0.3 not being exact in floats.
  const float wanted = std::ceil(amount * intensity / 10 - 1e-3f);
  if (!(wanted >= 1)) {
    return;
  }
  const int count = wanted > static_cast<float>(Capacity()) ? Capacity() : static_cast<int>(wanted);
  const int size = Capacity();
  for (int i = 0; i < count; ++i) {
    if (count_ == size) {
      head_ = (head_ + 1) % size;
      --count_;
    }
    const Vec3f direction = Direction(emitter, random);
    const float speed = Lerp(emitter.speedFrom, emitter.speedTo, Unit(random));
    Particle& p = ring_[(head_ + count_) % size];
    p.position = emitter.location;
    p.velocity = {direction.x * speed, direction.y * speed, direction.z * speed};
    p.size = {Lerp(emitter.sizeFrom.x, emitter.sizeTo.x, Unit(random)),
              Lerp(emitter.sizeFrom.y, emitter.sizeTo.y, Unit(random))};
    p.age = 0;
    ++count_;
  }
}

void ParticleSystem::Advance(float seconds) {
  const float damping = std::exp(-std::max(0.0f, airResistance) * seconds);
  for (int i = 0; i < count_; ++i) {
    Particle& p = ring_[(head_ + i) % ring_.size()];
    p.velocity.x = (p.velocity.x + gravity.x * seconds) * damping;
    p.velocity.y = (p.velocity.y + gravity.y * seconds) * damping;
    p.velocity.z = (p.velocity.z + gravity.z * seconds) * damping;
    p.position.x += p.velocity.x * seconds;
    p.position.y += p.velocity.y * seconds;
    p.position.z += p.velocity.z * seconds;
    p.age += seconds;
  }
  // Every particle shares the lifetime and ages alike, so the dead ones are the oldest.
  while (count_ > 0 && !(ring_[head_].age < lifetime)) {
    head_ = (head_ + 1) % static_cast<int>(ring_.size());
    --count_;
  }
}

Vec4f ParticleSystem::ColourAt(float age) const {
  const float t = lifetime > 0 ? std::clamp(age / lifetime, 0.0f, 1.0f) : 1.0f;
  return {Lerp(colourFrom.x, colourTo.x, t), Lerp(colourFrom.y, colourTo.y, t),
          Lerp(colourFrom.z, colourTo.z, t), 1 - t};
}

}  // namespace engine

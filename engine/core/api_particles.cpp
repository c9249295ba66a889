// Particle systems and their emitters.
#include <algorithm>
#include <cmath>

#include "core/engine_state.h"
#include "core/uploads.h"
#include "engine/engine.h"

using engine::Engine;
using engine::ParticleEmitter;
using engine::ParticleObject;

namespace {

ParticleObject* Find(int32_t particles) {
  return Engine().particles.Find(particles);
}
ParticleEmitter* FindEmitter(int32_t emitter) {
  return Engine().emitters.Find(emitter);
}

}  // namespace

int32_t iParticleCreate(const char* texturePath, int32_t capacity) {
  if (!engine::IsOpen() || capacity <= 0) {
    return 0;
  }
  ParticleObject object(capacity);
  // A missing picture leaves plain quads, as for meshes.
  object.upload = engine::AcquireFileUpload(texturePath).value_or(0);
  object.source = texturePath ? texturePath : "";
  object.serial = engine::NextSerial();
  const engine::ResourceId upload = object.upload;
  const int32_t handle = Engine().particles.Add(std::move(object));
  if (handle == 0 && upload != 0) {
    engine::ReleaseUpload(upload);
  }
  return handle;
}

void iParticleShow(int32_t particles) {
  if (ParticleObject* p = Find(particles)) {
    p->visible = true;
  }
}

void iParticleHide(int32_t particles) {
  if (ParticleObject* p = Find(particles)) {
    p->visible = false;
  }
}

void iParticleColorSet(int32_t particles, const Vec3f& from, const Vec3f& to) {
  if (ParticleObject* p = Find(particles)) {
    p->system.colourFrom = from;
    p->system.colourTo = to;
  }
}

void iParticleLifeTimeSet(int32_t particles, float seconds) {
  if (ParticleObject* p = Find(particles)) {
    p->system.lifetime = std::isfinite(seconds) ? std::max(0.0f, seconds) : 0.0f;
  }
}

void iParticleGravitySet(int32_t particles, const Vec3f& gravity) {
  if (ParticleObject* p = Find(particles)) {
    p->system.gravity = gravity;
  }
}

void iParticleAirResistanceSet(int32_t particles, float resistance) {
  if (ParticleObject* p = Find(particles)) {
    p->system.airResistance = std::isfinite(resistance) ? resistance : 0.0f;
  }
}

void iParticleRenderModeSet(int32_t particles, int32_t mode) {
  if (ParticleObject* p = Find(particles)) {
    p->system.renderMode = mode;
  }
}

int32_t iParticleEmitterCreate(int32_t particles) {
  if (!Find(particles)) {
    return 0;
  }
  ParticleEmitter emitter;
  emitter.system = particles;
  return Engine().emitters.Add(emitter);
}

void iParticleEmitterLocationSet(int32_t emitter, const Vec3f& location) {
  if (ParticleEmitter* e = FindEmitter(emitter)) {
    e->location = location;
  }
}

void iParticleEmitterDirectionSet(int32_t emitter, const Vec3f& from, const Vec3f& to) {
  if (ParticleEmitter* e = FindEmitter(emitter)) {
    e->directionFrom = from;
    e->directionTo = to;
  }
}

void iParticleEmitterSpeedSet(int32_t emitter, float from, float to) {
  if (ParticleEmitter* e = FindEmitter(emitter)) {
    e->speedFrom = from;
    e->speedTo = to;
  }
}

void iParticleEmitterScaleSet(int32_t emitter, const Vec2f& from, const Vec2f& to) {
  if (ParticleEmitter* e = FindEmitter(emitter)) {
    e->sizeFrom = from;
    e->sizeTo = to;
  }
}

void iParticleEmitterEmit(int32_t emitter, float amount, float intensity) {
  const ParticleEmitter* e = FindEmitter(emitter);
  if (!e) {
    return;
  }
  if (ParticleObject* p = Find(e->system)) {
    p->system.Emit(*e, amount, intensity, Engine().random);
  }
}

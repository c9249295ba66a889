#include "sprites/particle_effect.h"

TParticleEffect CreateParticleEffect(const TParticleLook& look, const TEmitterLook& emitter) {
  TParticleEffect effect;
  effect.Particles = iParticleCreate("data\\particle_clot.dds", look.Capacity);
  iParticleGravitySet(effect.Particles, look.Gravity);
  iParticleAirResistanceSet(effect.Particles, look.AirResistance);
  iParticleColorSet(effect.Particles, look.ColourFrom, look.ColourTo);
  iParticleLifeTimeSet(effect.Particles, look.LifeTime);
  effect.Emitter = iParticleEmitterCreate(effect.Particles);
  iParticleEmitterLocationSet(effect.Emitter, emitter.Location);
  iParticleEmitterDirectionSet(effect.Emitter, emitter.DirectionFrom, emitter.DirectionTo);
  iParticleEmitterSpeedSet(effect.Emitter, emitter.SpeedFrom, emitter.SpeedTo);
  iParticleEmitterScaleSet(effect.Emitter, emitter.ScaleFrom, emitter.ScaleTo);
  iParticleRenderModeSet(effect.Particles, 0);
  iParticleShow(effect.Particles);
  return effect;
}

TParticleEffect CreateJetExhaust(Vec3f colourFrom, Vec3f colourTo) {
  TParticleLook look;
  look.Capacity = 100;
  look.Gravity = {0, -100, 80};
  look.ColourFrom = colourFrom;
  look.ColourTo = colourTo;
  look.LifeTime = 0.2f;
  TEmitterLook emitter;
  emitter.DirectionFrom = {0, -1, 0};
  emitter.DirectionTo = {0, -1, 0};
  emitter.ScaleFrom = {0.1f, 0.05f};
  emitter.ScaleTo = {0.1f, 0.2f};
  return CreateParticleEffect(look, emitter);
}

TParticleEffect CreateBurstEffect(Vec3f colour, float lifeTime, Vec2f scaleFrom, Vec2f scaleTo) {
  TParticleLook look;
  look.Gravity = {0, 0, 100};
  look.ColourFrom = colour;
  look.ColourTo = colour;
  look.LifeTime = lifeTime;
  TEmitterLook emitter;
  emitter.ScaleFrom = scaleFrom;
  emitter.ScaleTo = scaleTo;
  return CreateParticleEffect(look, emitter);
}

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

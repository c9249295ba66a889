#include "objects/debris_spin.h"

#include "app/run_phase.h"
#include "engine/engine.h"

void SpinAndFade(const TMeshSprite& sprite, long double& spin, long double& alpha,
                 long double fade) {
  spin += 2;
  if (spin > 360)
    spin -= 360;
  iMeshEulerOrientationSet(sprite.Mesh, 0, 0, static_cast<float>(spin), "xyz");
  if (alpha > 0) {
    alpha -= FrameFactor * fade;
    if (alpha < 0)
      alpha = 0;
  }
  sprite.SetAlpha(static_cast<float>(alpha));
}

// The flying pieces of a broken block or paddle turn 2 degrees a step and fade as they go.
#pragma once

#include "sprites/mesh_sprite.h"

// Turns the piece one step and fades it by `fade` (opacity per 13 ms step, scaled by the step
// time), never below 0.
void SpinAndFade(const TMeshSprite& sprite, long double& spin, long double& alpha,
                 long double fade);

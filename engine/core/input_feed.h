// How backends and platform layers hand keyboard and mouse events to the engine. Keys are
// DirectInput scan codes (extended keys 128 and up); positions are virtual-screen pixels, already
// corrected for window scaling and letterboxing.
#pragma once

#include "engine/platform.h"

namespace engine {

void FeedKeyDown(int scanCode);
void FeedKeyUp(int scanCode);
void FeedMouseMove(float x, float y);
// 0 left, 1 right, 2 middle.
void FeedMouseButtonDown(int button);
void FeedMouseButtonUp(int button);

// The modifier keys held now (MOD_ALT, MOD_CONTROL, MOD_SHIFT), for matching hot keys.
UINT HeldModifiers();

}  // namespace engine

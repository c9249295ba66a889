// Placing the quad model on the 800 x 600 screen: pixels from the top left, y down, with the
// screen centre at the engine origin and 8 pixels per engine unit.
#pragma once

#include <cstdint>

// Centres the mesh on screen pixel (x, y).
void SetMeshScreenPos(int32_t mesh, float x, float y);
// Scales the 1.6-unit quad so that it covers w x h pixels.
void SetMeshScreenSize(int32_t mesh, float w, float h);

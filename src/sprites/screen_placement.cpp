#include "sprites/screen_placement.h"

#include "engine/engine.h"

void SetMeshScreenPos(int32_t mesh, float x, float y) {
  const Vec3f location{(x - 400) / 8, (300 - y) / 8, 1.0f};
  iMeshLocationSet(mesh, location);
}

void SetMeshScreenSize(int32_t mesh, float w, float h) {
  const Vec3f scale{w * 20 / 256, h * 20 / 256, 1.0f};
  iMeshScaleSet(mesh, scale);
}

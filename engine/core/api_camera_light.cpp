// Camera and light. The view is fixed (orthographic, 8 pixels per engine unit), so camera calls
// are kept for inspection only; the light's colour tints meshes (see frame_builder.h).
#include "core/engine_state.h"
#include "engine/engine.h"

using engine::CameraObject;
using engine::Engine;

int32_t iCameraCreate(float left, float top, float width, float height) {
  if (!engine::IsOpen()) {
    return 0;
  }
  CameraObject camera;
  camera.left = left;
  camera.top = top;
  camera.width = width;
  camera.height = height;
  return Engine().cameras.Add(camera);
}

void iCameraFovSet(int32_t camera, float fov) {
  if (CameraObject* c = Engine().cameras.Find(camera)) {
    c->fov = fov;
  }
}

void iCameraEulerOrientationSet(int32_t camera, float x, float y, float z, const char*) {
  if (CameraObject* c = Engine().cameras.Find(camera)) {
    c->euler = {x, y, z};
  }
}

void iLightDirectionalSet(const Vec3f& direction, const Vec4f& colour) {
  if (!engine::IsOpen()) {
    return;
  }
  Engine().lightDirection = direction;
  Engine().lightColour = colour;
}

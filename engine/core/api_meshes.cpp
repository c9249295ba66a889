// Meshes: the game's screen pictures, each a model placed in engine space.
#include <algorithm>
#include <cmath>

#include "core/engine_state.h"
#include "core/euler.h"
#include "engine/engine.h"

using engine::Engine;
using engine::MeshObject;

namespace {

MeshObject* Find(int32_t mesh) {
  return Engine().meshes.Find(mesh);
}

}  // namespace

int32_t iMeshCreate(const char* modelPath) {
  if (!engine::IsOpen()) {
    return 0;
  }
  auto model = engine::LoadModel(modelPath);
  if (!model) {
    return 0;
  }
  MeshObject mesh;
  mesh.model = std::move(model);
  mesh.serial = engine::NextSerial();
  return Engine().meshes.Add(std::move(mesh));
}

void iMeshDestroy(int32_t mesh) {
  Engine().meshes.Remove(mesh);
}

void iMeshShow(int32_t mesh) {
  if (MeshObject* m = Find(mesh)) {
    m->visible = true;
  }
}

void iMeshHide(int32_t mesh) {
  if (MeshObject* m = Find(mesh)) {
    m->visible = false;
  }
}

int32_t iMeshLocation(int32_t mesh, Vec3f& location) {
  const MeshObject* m = Find(mesh);
  if (!m) {
    return 0;
  }
  location = m->location;
  return 1;
}

void iMeshLocationSet(int32_t mesh, const Vec3f& location) {
  if (MeshObject* m = Find(mesh)) {
    m->location = location;
  }
}

void iMeshScaleSet(int32_t mesh, const Vec3f& scale) {
  if (MeshObject* m = Find(mesh)) {
    m->scale = scale;
  }
}

void iMeshEulerOrientationSet(int32_t mesh, float x, float y, float z, const char* order) {
  if (MeshObject* m = Find(mesh)) {
    m->euler = {x, y, z};
    m->rotation = engine::EulerRotation(x, y, z, order);
  }
}

void iMeshAlphaSet(int32_t mesh, float alpha) {
  if (MeshObject* m = Find(mesh)) {
    m->alpha = std::isfinite(alpha) ? std::clamp(alpha, 0.0f, 1.0f) : 0.0f;
  }
}

void iMeshRenderModeSet(int32_t mesh, int32_t a, int32_t b, int32_t c, int32_t d) {
  if (MeshObject* m = Find(mesh)) {
    m->renderMode = {a, b, c, d};
  }
}

void iMeshRenderPrioritySet(int32_t mesh, int32_t priority) {
  if (MeshObject* m = Find(mesh)) {
    m->priority = priority;
  }
}

void iMeshTextureSet(int32_t mesh, int32_t texture) {
  MeshObject* m = Find(mesh);
  if (m && Engine().textures.Find(texture)) {
    m->texture = texture;
  }
}

void iMeshTextureModeSet(int32_t mesh, int32_t mode) {
  if (MeshObject* m = Find(mesh)) {
    m->textureMode = mode;
  }
}

void iMeshTextureReset(int32_t mesh) {
  if (MeshObject* m = Find(mesh)) {
    m->texture = 0;
  }
}

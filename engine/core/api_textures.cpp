// Textures: pictures from files or from memory (image packs).
#include <span>

#include "core/engine_state.h"
#include "core/uploads.h"
#include "engine/engine.h"

using engine::Engine;

namespace {

int32_t AddTexture(engine::ResourceId upload, int32_t tag, const char* source) {
  const engine::Upload& shared = Engine().uploads.at(upload);
  engine::TextureObject texture;
  texture.upload = upload;
  texture.tag = tag;
  texture.source = source ? source : "";
  texture.width = shared.width;
  texture.height = shared.height;
  const int32_t handle = Engine().textures.Add(std::move(texture));
  if (handle == 0) {
    engine::ReleaseUpload(upload);
  }
  return handle;
}

}  // namespace

int32_t iTextureCreate(const char* imagePath) {
  const auto upload = engine::AcquireFileUpload(imagePath);
  return upload ? AddTexture(*upload, 0, imagePath) : 0;
}

int32_t iTextureCreateFromMemory(const void* data, int32_t size, int32_t tag) {
  if (!data || size <= 0) {
    return 0;
  }
  const auto upload = engine::AcquireMemoryUpload(
      std::span(static_cast<const uint8_t*>(data), static_cast<size_t>(size)), tag);
  return upload ? AddTexture(*upload, tag, nullptr) : 0;
}

void iTextureDestroy(int32_t texture) {
  const engine::TextureObject* object = Engine().textures.Find(texture);
  if (!object) {
    return;
  }
  const engine::ResourceId upload = object->upload;
  Engine().textures.Remove(texture);
  engine::ReleaseUpload(upload);
}

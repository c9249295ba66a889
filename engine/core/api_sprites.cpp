// Engine sprites: models drawn above everything else, placed in print space (the cursor).
#include "core/engine_state.h"
#include "engine/engine.h"

using engine::Engine;
using engine::SpriteObject;

namespace {

SpriteObject* Find(int32_t sprite) {
  return Engine().sprites.Find(sprite);
}

}  // namespace

int32_t iSpriteCreate(const char* modelPath, int32_t) {
  if (!engine::IsOpen()) {
    return 0;
  }
  auto model = engine::LoadModel(modelPath);
  if (!model) {
    return 0;
  }
  SpriteObject sprite;
  sprite.model = std::move(model);
  sprite.serial = engine::NextSerial();
  return Engine().sprites.Add(std::move(sprite));
}

void iSpriteShow(int32_t sprite) {
  if (SpriteObject* s = Find(sprite)) {
    s->visible = true;
  }
}

void iSpriteHide(int32_t sprite) {
  if (SpriteObject* s = Find(sprite)) {
    s->visible = false;
  }
}

void iSpriteLocationSet(int32_t sprite, const Vec2f& location) {
  if (SpriteObject* s = Find(sprite)) {
    s->location = location;
  }
}

void iSpriteScaleSet(int32_t sprite, const Vec2f& scale) {
  if (SpriteObject* s = Find(sprite)) {
    s->scale = scale;
  }
}

void iSpritePrioritySet(int32_t sprite, int32_t priority) {
  if (SpriteObject* s = Find(sprite)) {
    s->priority = priority;
  }
}

void iSpriteTextureSet(int32_t sprite, int32_t texture) {
  SpriteObject* s = Find(sprite);
  if (s && Engine().textures.Find(texture)) {
    s->texture = texture;
  }
}

void iSpriteTextureReset(int32_t sprite) {
  if (SpriteObject* s = Find(sprite)) {
    s->texture = 0;
  }
}

void iSpriteTextureSwap(int32_t sprite, int32_t texture) {
  iSpriteTextureSet(sprite, texture);
}

#include "sprites/mesh_sprite.h"

#include "engine/engine.h"
#include "sprites/image_pack.h"
#include "sprites/screen_placement.h"

namespace {

constexpr const char* kQuadModel = "data/sprite.x";

void ApplySpriteRenderMode(int32_t mesh) {
  iMeshRenderModeSet(mesh, 5, 6, 0, -1);
}

}  // namespace

std::unique_ptr<TMeshSprite> TMeshSprite::Create(const char* fileName, float width, float height,
                                                 float x, float y, int32_t priority,
                                                 bool centered) {
  std::unique_ptr<TMeshSprite> sprite(new TMeshSprite);
  sprite->Mesh = iMeshCreate(kQuadModel);
  sprite->Texture = iTextureCreate(fileName);
  return Finish(std::move(sprite), width, height, x, y, priority, centered);
}

std::unique_ptr<TMeshSprite> TMeshSprite::CreateFromPack(const char* packFile, uint16_t index,
                                                         int32_t tag, float width, float height,
                                                         float x, float y, int32_t priority,
                                                         bool centered) {
  std::unique_ptr<TMeshSprite> sprite(new TMeshSprite);
  sprite->Mesh = iMeshCreate(kQuadModel);
  sprite->Texture = LoadPackTexture(packFile, index, tag);
  return Finish(std::move(sprite), width, height, x, y, priority, centered);
}

std::unique_ptr<TMeshSprite> TMeshSprite::CreateBare(int32_t priority) {
  std::unique_ptr<TMeshSprite> sprite(new TMeshSprite);
  sprite->Mesh = iMeshCreate(kQuadModel);
  iMeshRenderPrioritySet(sprite->Mesh, priority);
  ApplySpriteRenderMode(sprite->Mesh);
  return sprite;
}

std::unique_ptr<TMeshSprite> TMeshSprite::Finish(std::unique_ptr<TMeshSprite> sprite, float width,
                                                 float height, float x, float y, int32_t priority,
                                                 bool centered) {
  iMeshTextureSet(sprite->Mesh, sprite->Texture);
  SetMeshScreenSize(sprite->Mesh, width, height);
  if (centered)
    SetMeshScreenPos(sprite->Mesh, x, y);
  else
    SetMeshScreenPos(sprite->Mesh, x + width / 2, y + height / 2);
  iMeshRenderPrioritySet(sprite->Mesh, priority);
  ApplySpriteRenderMode(sprite->Mesh);
  return sprite;
}

TMeshSprite::~TMeshSprite() {
  iMeshDestroy(Mesh);
  if (Texture != 0)
    iTextureDestroy(Texture);
}

void TMeshSprite::Show() const {
  iMeshShow(Mesh);
}
void TMeshSprite::Hide() const {
  iMeshHide(Mesh);
}
void TMeshSprite::SetAlpha(float alpha) const {
  iMeshAlphaSet(Mesh, alpha);
}

float TMeshSprite::ScreenX() const {
  Vec3f location{};
  iMeshLocation(Mesh, location);
  return location.x * 8 + 400;
}

float TMeshSprite::ScreenY() const {
  Vec3f location{};
  iMeshLocation(Mesh, location);
  return 300 - location.y * 8;
}

// A screen picture: one textured quad of the model "data/sprite.x" covering a rectangle of the
// 800 x 600 screen. The sprite owns its mesh and, when it made one, its texture; both are
// released with the sprite.
#pragma once

#include <cstdint>
#include <memory>

class TMeshSprite {
 public:
  // A picture from an image file. (x, y) is the centre when `centered`, else the top-left corner.
  static std::unique_ptr<TMeshSprite> Create(const char* fileName, float width, float height,
                                             float x, float y, int32_t priority, bool centered);
  // A picture from entry `index` of an image pack.
  static std::unique_ptr<TMeshSprite> CreateFromPack(const char* packFile, uint16_t index,
                                                     int32_t tag, float width, float height,
                                                     float x, float y, int32_t priority,
                                                     bool centered);
  // The mesh alone; its owner sizes, places and textures it.
  static std::unique_ptr<TMeshSprite> CreateBare(int32_t priority);

  ~TMeshSprite();
  TMeshSprite(const TMeshSprite&) = delete;
  TMeshSprite& operator=(const TMeshSprite&) = delete;

  void Show() const;
  void Hide() const;
  void SetAlpha(float alpha) const;
  // The sprite's centre in screen pixels.
  float ScreenX() const;
  float ScreenY() const;

  int32_t Mesh = 0;
  int32_t Texture = 0;  // 0 when the sprite has no texture of its own

 private:
  TMeshSprite() = default;
  static std::unique_ptr<TMeshSprite> Finish(std::unique_ptr<TMeshSprite> sprite, float width,
                                             float height, float x, float y, int32_t priority,
                                             bool centered);
};

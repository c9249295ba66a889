// Draws the engine's frames with an SDL_Renderer: the window's renderer in the game, a software
// renderer on a surface in the benchmark and the tests. Holds the textures and fonts the engine
// handed over, which belong to that renderer.
#pragma once

#include <SDL.h>

#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/frame.h"
#include "core/image.h"
#include "sdl/glyph_atlas.h"
#include "sdl/sdl_handles.h"

namespace engine::sdl {

class FrameRenderer {
 public:
  explicit FrameRenderer(SDL_Renderer* renderer) : renderer_(renderer) {}

  bool UploadTexture(ResourceId id, const Image& image);
  void DestroyTexture(ResourceId id);
  bool LoadFont(ResourceId id, std::span<const uint8_t> ttf);
  void ReleaseFont(ResourceId id);
  // The font's atlas, for tests; nothing for an unknown id.
  const GlyphAtlas* Font(ResourceId id) const;

  // Clears to black and draws the frame's items in order; presenting is the caller's.
  void Draw(const Frame& frame);

 private:
  void DrawGeometry(const Frame& frame, const Geometry& geometry, int32_t indexCount);
  void DrawText(const TextRun& run);

  struct Texture {
    TexturePtr texture;
    bool opaque = false;  // every pixel's alpha is 255
  };

  SDL_Renderer* renderer_;
  std::unordered_map<ResourceId, Texture> textures_;
  std::unordered_map<ResourceId, std::unique_ptr<GlyphAtlas>> fonts_;
  // Reused from frame to frame.
  std::vector<SDL_Vertex> vertices_;
  std::vector<int> indices_;
  std::vector<GlyphQuad> glyphs_;
  std::vector<SDL_Vertex> glyphVertices_;
  std::vector<int> glyphIndices_;
};

}  // namespace engine::sdl

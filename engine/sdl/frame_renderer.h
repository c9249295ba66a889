// Draws the engine's frames with an SDL_Renderer: the window's renderer in the game, a software
// renderer on a surface in the benchmark and the tests. Holds the textures and fonts the engine
// handed over, which belong to that renderer. Where the target keeps its pixels from one frame to
// the next (a software renderer's surface), a frame can be drawn only where it differs from the
// one drawn before.
#pragma once

#include <SDL.h>
#include <pixman.h>

#include <memory>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/frame.h"
#include "core/image.h"
#include "sdl/frame_damage.h"
#include "sdl/glyph_atlas.h"
#include "sdl/picture_compositor.h"
#include "sdl/sdl_handles.h"

namespace engine::sdl {

class FrameRenderer {
 public:
  explicit FrameRenderer(SDL_Renderer* renderer);

  // The surface a software renderer draws on, where pixman may draw too; nothing for none (a
  // GPU's renderer, or a window surface that is scaled onto the window).
  void SetTarget(SDL_Surface* surface);

  bool UploadTexture(ResourceId id, Image image);
  void DestroyTexture(ResourceId id);
  bool LoadFont(ResourceId id, std::span<const uint8_t> ttf);
  void ReleaseFont(ResourceId id);
  // The font's atlas, for tests; nothing for an unknown id.
  const GlyphAtlas* Font(ResourceId id) const;

  // Clears to black and draws the frame's items in order; presenting is the caller's.
  void Draw(const Frame& frame);
  // Draws the frame over the last one drawn, only inside the rectangles where the two differ,
  // and says where that was: the whole screen when nothing was drawn since Forget, or when most
  // of it changed.
  const Damage& DrawChanges(const Frame& frame);
  // What is on the target is not the last frame drawn any more (it was wiped, lost or resized).
  void Forget() { drawnValid_ = false; }

 private:
  bool Prepare(const Frame& frame);
  void MeasureItems(const Frame& frame);
  void DrawItems(const Frame& frame, const SDL_Rect* clip);
  void Flush();
  // The pixels the frame's first items copy opaque pictures onto, hiding what was there.
  void FindCover(const Frame& frame);
  // The whole target, or one rectangle of it; nothing where the frame's cover will be drawn.
  void ClearToBlack(const SDL_Rect* rect);
  // Runs `draw`, which draws on the target's pixels with pixman, after SDL's drawing so far.
  template <typename Drawing>
  void OnTarget(Drawing draw);
  void Remember(const Frame& frame);
  void DrawGeometry(const Frame& frame, const Geometry& geometry, int32_t indexCount,
                    const SDL_Rect* clip);
  TexturePtr MakeTexture(int width, int height, const uint8_t* rgba);
  void DrawWithSdl(const Frame& frame, const Geometry& geometry, int32_t indexCount);
  void DrawText(const TextRun& run, const SDL_Rect* clip);
  SDL_Rect TextBounds(const TextRun& run);

  struct Texture {
    TexturePtr texture;   // with the software renderer, made when SDL first draws the picture
    bool opaque = false;  // every pixel's alpha is 255
    int width = 0;
    int height = 0;
  };
  bool Stretched(const Frame& frame, const Geometry& geometry) const;

  SDL_Renderer* renderer_;
  bool software_ = false;
  // Pictures for pixman, and where it draws them; only with a software renderer.
  PictureCompositor pictures_;
  SDL_Surface* target_ = nullptr;
  bool queued_ = false;  // the renderer holds drawing it has not done yet
  std::unordered_map<ResourceId, Texture> textures_;
  std::unordered_map<ResourceId, std::unique_ptr<GlyphAtlas>> fonts_;
  // Reused from frame to frame.
  std::vector<SDL_Vertex> vertices_;
  std::vector<int> indices_;
  std::vector<GlyphQuad> glyphs_;
  std::vector<SDL_Vertex> glyphVertices_;
  std::vector<int> glyphIndices_;
  // The frame last drawn, its items' bounds, and the textures and fonts replaced since.
  Frame drawn_;
  std::vector<SDL_Rect> drawnBounds_;
  bool drawnValid_ = false;
  std::unordered_set<ResourceId> replaced_;
  std::vector<SDL_Rect> bounds_;  // of the frame being drawn
  std::vector<bool> whole_;       // its items that must not be cut by a clip rectangle
  struct Region {
    Region() { pixman_region32_init(&pixels); }
    ~Region() { pixman_region32_fini(&pixels); }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
    pixman_region32_t pixels;
  };
  Region cover_;  // of the frame being drawn
  Damage damage_;
};

}  // namespace engine::sdl

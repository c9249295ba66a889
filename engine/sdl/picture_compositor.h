// The software renderer's fast path: textured quads of one tint, and text at its rasterised size,
// drawn with pixman (the compositing library under Cairo and the X server, with SIMD code for
// each blend) straight into the surface the software renderer draws on. Pictures the stretching
// blitter and the triangle rasteriser of SDL's software renderer spend most of a busy frame on
// (full-screen see-through layers, turned debris, coloured sparks, faded and added pictures,
// whole scenes while the light fades) go this way; the rest (tints that change across a quad,
// text drawn larger or smaller than its glyphs) stays with SDL.
#pragma once

#include <SDL.h>
#include <pixman.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/frame.h"
#include "core/image.h"
#include "sdl/glyph_atlas.h"
#include "sdl/transformed_copies.h"

namespace engine::sdl {

class PictureCompositor {
 public:
  // Keeps the picture, premultiplied in place; false when it cannot.
  bool Add(ResourceId id, Image&& image);
  void Remove(ResourceId id);
  // The picture as it was added (RGBA, not premultiplied), to within rounding; nothing for an
  // unknown id.
  std::vector<uint8_t> Straight(ResourceId id) const;

  // Whether every quad of the run can be composited here.
  bool Takes(const Frame& frame, const Geometry& geometry, int32_t indexCount) const;
  // Composites the run into `target` (which must be 32 bits a pixel, in one of the layouts of
  // Target), limited to `clip` when there is one. Only for a run Takes accepts.
  void Composite(const Frame& frame, const Geometry& geometry, int32_t indexCount,
                 SDL_Surface* target, const SDL_Rect* clip);

  // When every quad of the run copies an opaque picture at its own size, unblended, adds the
  // pixels it sets to `region` and says true: what was under them does not show. Only for a run
  // Takes accepts.
  bool Covers(const Frame& frame, const Geometry& geometry, int32_t indexCount,
              pixman_region32_t* region) const;

  // Draws glyphs at their rasterised size, each through its page's coverage mask, in `colour`.
  // Only for glyphs that all have a mask.
  void CompositeText(const std::vector<GlyphQuad>& glyphs, const Rgba& colour, SDL_Surface* target,
                     const SDL_Rect* clip);

  // Called as each frame begins.
  void NextFrame() { copies_.NextFrame(); }

  // The pixman layout of a surface's pixels, or 0 when pixman cannot draw on it.
  static pixman_format_code_t Target(const SDL_Surface* surface);

 private:
  struct ImageFree {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
  };
  using ImagePtr = std::unique_ptr<pixman_image_t, ImageFree>;
  struct Picture {
    std::vector<uint8_t> pixels;  // premultiplied 0xAARRGGBB words, in the machine's byte order
    ImagePtr image;
    int width = 0;
    int height = 0;
    bool opaque = false;  // every pixel's alpha is 255
    // What each square of kTile texels holds, row by row; none for a small picture.
    std::vector<uint8_t> tiles;
    int tilesWide = 0;
  };

  // The target surface as pixman sees it.
  struct Surface {
    void* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    pixman_format_code_t format{};
    bool operator==(const Surface&) const = default;
  };
  // The target as pixman's destination, limited to `clip` when there is one.
  pixman_image_t* Destination(SDL_Surface* target, const SDL_Rect* clip);

  std::unordered_map<ResourceId, Picture> pictures_;
  TransformedCopies copies_;
  ImagePtr destination_;
  Surface surface_;
};

}  // namespace engine::sdl

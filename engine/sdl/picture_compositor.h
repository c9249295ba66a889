// The software renderer's fast path: textured quads of one grey tint drawn with pixman (the
// compositing library under Cairo and the X server, with SIMD code for each blend) straight into
// the surface the software renderer draws on. Pictures the stretching blitter and the triangle
// rasteriser of SDL's software renderer spend most of a busy frame on (full-screen see-through
// layers, turned debris, faded and added pictures, whole scenes while the light fades) go this
// way; the rest (coloured tints, text) stays with SDL.
#pragma once

#include <SDL.h>
#include <pixman.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/frame.h"
#include "core/image.h"

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
  };

  std::unordered_map<ResourceId, Picture> pictures_;
};

}  // namespace engine::sdl

// Small pictures drawn scaled or turned (sparks, debris, small sprites) resampled once into copies
// at the size and angle they are drawn at. A frame then copies them at whole-pixel offsets through
// pixman's fastest paths instead of resampling every pixel of every one of them every frame; a
// busy frame has hundreds.
//
// A copy depends only on the picture and the quad it is drawn for, never on which quads came
// before, so a frame drawn only where it changed has the same pixels as one drawn whole. A turned
// copy is made for the quad's angle and scale rounded finely enough that no texel lands more than
// a quarter of a texel or of a pixel away from where the quad puts it, so that pieces of debris
// turning at different speeds share copies; a copy lands on whole pixels.
#pragma once

#include <pixman.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/frame.h"

namespace engine::sdl {

// True when a map from screen pixels to texels neither scales nor turns: the picture is drawn at
// its own size, the right way up, and needs no copy.
bool PlainOffset(const pixman_f_transform& toTexels);

class TransformedCopies {
 public:
  // How a quad shows a picture of `width` x `height` texels.
  struct Quad {
    ResourceId id = 0;
    pixman_image_t* picture = nullptr;  // premultiplied a8r8g8b8
    int width = 0;
    int height = 0;
    pixman_f_transform toTexels;  // screen pixels to texels
    // The quad's edges on the screen and in texels, for an upright quad.
    float left = 0, top = 0;
    float texelLeft = 0, texelTop = 0, texelRight = 0, texelBottom = 0;
    bool upright = false;  // its edges run along the screen's
  };
  struct Placed {
    pixman_image_t* image;
    int32_t x, y;  // where its top-left pixel goes
    int32_t width, height;
  };

  // The copy to draw for the quad, made now if need be; nothing for a quad that is drawn better
  // from the picture itself (one at the picture's own size, or too large to keep copies of).
  std::optional<Placed> For(const Quad& quad);
  // The picture is gone or replaced.
  void Forget(ResourceId id);
  // A new frame begins: copies no frame has used for a while go once they take too much room.
  void NextFrame();

  size_t Count() const { return copies_.size(); }

 private:
  struct Key {
    ResourceId id;
    int32_t kind;  // upright or turned
    int32_t values[6];
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& key) const;
  };
  struct ImageFree {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
  };
  struct Copy {
    std::vector<uint32_t> pixels;
    std::unique_ptr<pixman_image_t, ImageFree> image;
    int32_t width = 0, height = 0;
    uint64_t lastUsed = 0;  // frame
  };

  Copy* Make(const Key& key, const Quad& quad, int32_t width, int32_t height,
             const pixman_f_transform& copyToTexels, pixman_repeat_t repeat);

  std::unordered_map<Key, Copy, KeyHash> copies_;
  size_t bytes_ = 0;
  uint64_t frame_ = 0;
};

}  // namespace engine::sdl

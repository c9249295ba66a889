#include "sdl/picture_compositor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace engine::sdl {
namespace {

// A quad as the engine makes them: triangles (a, b, c) and (a, c, d).
struct Quad {
  const Vertex* corner[4];
};

bool QuadAt(const Frame& frame, int32_t first, Quad& quad) {
  const int32_t* i = &frame.indices[first];
  if (i[3] != i[0] || i[4] != i[2]) {
    return false;
  }
  const int32_t corners[4] = {i[0], i[1], i[2], i[5]};
  for (int k = 0; k < 4; ++k) {
    if (corners[k] < 0 || static_cast<size_t>(corners[k]) >= frame.vertices.size()) {
      return false;
    }
    quad.corner[k] = &frame.vertices[corners[k]];
  }
  return true;
}

bool SameColour(const Rgba& a, const Rgba& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// The map from screen pixels to texels that takes corners a, b and d of the quad where their
// texture coordinates say; false when the quad is degenerate or not a parallelogram in both
// spaces (the fourth corner would be somewhere else).
bool ScreenToTexels(const Quad& quad, int width, int height, pixman_f_transform& transform) {
  const Vertex &a = *quad.corner[0], &b = *quad.corner[1], &c = *quad.corner[2],
               &d = *quad.corner[3];
  constexpr float kSlack = 1.0f / 256;
  if (std::abs(a.x + c.x - b.x - d.x) > kSlack || std::abs(a.y + c.y - b.y - d.y) > kSlack ||
      std::abs(a.u + c.u - b.u - d.u) > kSlack || std::abs(a.v + c.v - b.v - d.v) > kSlack) {
    return false;
  }
  const double sx1 = b.x - a.x, sy1 = b.y - a.y, sx2 = d.x - a.x, sy2 = d.y - a.y;
  const double det = sx1 * sy2 - sx2 * sy1;
  if (!std::isfinite(det) || std::abs(det) < 1e-6) {
    return false;
  }
  const double tx1 = (b.u - a.u) * width, ty1 = (b.v - a.v) * height;
  const double tx2 = (d.u - a.u) * width, ty2 = (d.v - a.v) * height;
  // [t] = T [s]^-1 over the two edges from a.
  const double i11 = sy2 / det, i12 = -sx2 / det, i21 = -sy1 / det, i22 = sx1 / det;
  const double m11 = tx1 * i11 + tx2 * i21, m12 = tx1 * i12 + tx2 * i22;
  const double m21 = ty1 * i11 + ty2 * i21, m22 = ty1 * i12 + ty2 * i22;
  pixman_f_transform_init_identity(&transform);
  transform.m[0][0] = m11;
  transform.m[0][1] = m12;
  transform.m[0][2] = a.u * width - (m11 * a.x + m12 * a.y);
  transform.m[1][0] = m21;
  transform.m[1][1] = m22;
  transform.m[1][2] = a.v * height - (m21 * a.x + m22 * a.y);
  return true;
}

bool Upright(const Quad& quad) {
  const Vertex &a = *quad.corner[0], &b = *quad.corner[1], &d = *quad.corner[3];
  return (a.y == b.y && a.x == d.x) || (a.x == b.x && a.y == d.y);
}

// The quad's extents on the screen and in texture coordinates.
struct QuadBounds {
  float left, top, right, bottom;
  float u0, v0, u1, v1;
};

QuadBounds Bounds(const Quad& quad) {
  const Vertex& first = *quad.corner[0];
  QuadBounds b{first.x, first.y, first.x, first.y, first.u, first.v, first.u, first.v};
  for (const Vertex* v : quad.corner) {
    b.left = std::min(b.left, v->x);
    b.right = std::max(b.right, v->x);
    b.top = std::min(b.top, v->y);
    b.bottom = std::max(b.bottom, v->y);
    b.u0 = std::min(b.u0, v->u);
    b.u1 = std::max(b.u1, v->u);
    b.v0 = std::min(b.v0, v->v);
    b.v1 = std::max(b.v1, v->v);
  }
  return b;
}

bool WholeTexture(const QuadBounds& b) {
  return b.u0 == 0 && b.v0 == 0 && b.u1 == 1 && b.v1 == 1;
}

// The pixels whose centres the quad's bounding box holds.
pixman_box32_t PixelBox(const QuadBounds& b) {
  const auto edge = [](float at, int most) {
    return static_cast<int32_t>(std::clamp(std::ceil(at - 0.5f), -1.0f, most + 1.0f));
  };
  return {edge(b.left, kScreenWidth), edge(b.top, kScreenHeight), edge(b.right, kScreenWidth),
          edge(b.bottom, kScreenHeight)};
}

// An opaque picture drawn over at full strength, with its edges along the screen's, hides
// everything under its box: it is copied rather than blended.
bool CopiesOver(bool opaquePicture, const Quad& quad, Blend blend) {
  const Rgba& colour = quad.corner[0]->colour;
  return opaquePicture && blend == Blend::kAlpha && colour.r == 1 && colour.g == 1 &&
         colour.b == 1 && colour.a == 1 && Upright(quad);
}

// Large pictures such as the interface frame over the screen and see-through background layers
// are mostly transparent or mostly opaque in places: drawn at their own size, squares of them
// with nothing to draw are left out, and opaque ones drawn over are copied.
constexpr int kTile = 32;
constexpr int kTiledPicture = 128;  // texels a side, at least
enum TileKind : uint8_t { kEmptyTile, kMixedTile, kOpaqueTile };

std::vector<uint8_t> Tiles(const uint32_t* pixels, int width, int height) {
  const int wide = (width + kTile - 1) / kTile, high = (height + kTile - 1) / kTile;
  std::vector<uint8_t> tiles(static_cast<size_t>(wide) * high);
  for (int ty = 0; ty < high; ++ty) {
    for (int tx = 0; tx < wide; ++tx) {
      bool empty = true, opaque = true;
      for (int y = ty * kTile; y < std::min(height, (ty + 1) * kTile); ++y) {
        for (int x = tx * kTile; x < std::min(width, (tx + 1) * kTile); ++x) {
          const uint32_t alpha = pixels[static_cast<size_t>(y) * width + x] >> 24;
          empty = empty && alpha == 0;
          opaque = opaque && alpha == 255;
        }
      }
      tiles[static_cast<size_t>(ty) * wide + tx] = empty    ? kEmptyTile
                                                   : opaque ? kOpaqueTile
                                                            : kMixedTile;
    }
  }
  return tiles;
}

// Where one quad puts a picture on the target.
struct Placement {
  pixman_image_t* picture = nullptr;
  const std::vector<uint8_t>* tiles = nullptr;  // of the picture, when it has them
  int tilesWide = 0;
  pixman_f_transform toTexels;  // screen pixels to the picture's texels
  pixman_box32_t box;           // the pixels drawn
  bool upright = false;
  // A copy of the picture made for the quad, drawn instead of it at its own size.
  std::optional<TransformedCopies::Placed> copy;
};

// The quad as the copies see it.
TransformedCopies::Quad CopyQuad(ResourceId id, pixman_image_t* picture, int width, int height,
                                 const QuadBounds& bounds, const Placement& at) {
  TransformedCopies::Quad copy;
  copy.id = id;
  copy.picture = picture;
  copy.width = width;
  copy.height = height;
  copy.toTexels = at.toTexels;
  copy.upright = at.upright;
  copy.left = bounds.left;
  copy.top = bounds.top;
  copy.texelLeft = bounds.u0 * static_cast<float>(width);
  copy.texelRight = bounds.u1 * static_cast<float>(width);
  copy.texelTop = bounds.v0 * static_cast<float>(height);
  copy.texelBottom = bounds.v1 * static_cast<float>(height);
  return copy;
}

using SolidImage = std::unique_ptr<pixman_image_t, decltype(&pixman_image_unref)>;

uint16_t Level(float unit) {
  if (!(unit > 0)) {
    return 0;
  }
  return static_cast<uint16_t>(std::lround(std::min(unit, 1.0f) * 0xFFFF));
}

// A whole-pixel position far enough off the screen to draw nothing.
int32_t ScreenPixel(float at) {
  return static_cast<int32_t>(std::clamp(at, -65536.0f, 65536.0f));
}

// A solid mask that weights what goes through it; none for full weight.
SolidImage Weight(float weight) {
  if (weight >= 1) {
    return {nullptr, &pixman_image_unref};
  }
  const pixman_color_t solid{0, 0, 0, Level(weight)};
  return {pixman_image_create_solid_fill(&solid), &pixman_image_unref};
}

// The colour of a tint, premultiplied by its alpha.
SolidImage Solid(const Rgba& colour) {
  const pixman_color_t solid{Level(colour.r * colour.a), Level(colour.g * colour.a),
                             Level(colour.b * colour.a), Level(colour.a)};
  return {pixman_image_create_solid_fill(&solid), &pixman_image_unref};
}

// Composites the picture on its box with `op`: as the source, through the mask `solid` when
// there is one; or, with `pictureMasks`, as a mask that lets the solid colour through channel by
// channel (each colour channel of the picture weighting the same channel of the colour).
void Place(pixman_op_t op, const Placement& at, pixman_image_t* solid, bool pictureMasks,
           pixman_image_t* destination) {
  pixman_image_t* picture = at.copy ? at.copy->image : at.picture;
  pixman_image_t* source = pictureMasks ? solid : picture;
  pixman_image_t* mask = pictureMasks ? picture : solid;
  pixman_image_set_component_alpha(picture, pictureMasks);
  if (at.copy) {
    const TransformedCopies::Placed& copy = *at.copy;
    pixman_image_composite32(op, source, mask, destination, 0, 0, 0, 0, copy.x, copy.y, copy.width,
                             copy.height);
    return;
  }
  const pixman_box32_t& box = at.box;
  const int32_t width = box.x2 - box.x1, height = box.y2 - box.y1;
  const pixman_f_transform& toTexels = at.toTexels;
  // A picture copied at its own size, the right way up, is a plain offset copy: pixman's fastest
  // paths. The texel under a pixel's centre is taken, which for the pixels of the box always
  // lies in the picture.
  if (PlainOffset(toTexels)) {
    const auto offset = [](double shift) { return static_cast<int32_t>(std::floor(shift + 0.5)); };
    const int32_t x = box.x1 + offset(toTexels.m[0][2]), y = box.y1 + offset(toTexels.m[1][2]);
    pixman_image_set_transform(picture, nullptr);
    pixman_image_set_repeat(picture, PIXMAN_REPEAT_NONE);
    pixman_image_set_filter(picture, PIXMAN_FILTER_NEAREST, nullptr, 0);
    // Texels (tx, ty) and on, w x h of them, onto the box's pixels they fall on.
    const auto draw = [&](pixman_op_t how, int32_t tx, int32_t ty, int32_t w, int32_t h) {
      const int32_t dx = box.x1 + tx - x, dy = box.y1 + ty - y;
      if (pictureMasks) {
        pixman_image_composite32(how, source, mask, destination, 0, 0, tx, ty, dx, dy, w, h);
      } else {
        pixman_image_composite32(how, source, mask, destination, tx, ty, 0, 0, dx, dy, w, h);
      }
    };
    // A copy writes the transparent squares too.
    if (!at.tiles || at.tiles->empty() || op == PIXMAN_OP_SRC) {
      draw(op, x, y, width, height);
      return;
    }
    const bool plainOver = op == PIXMAN_OP_OVER && !mask;
    const int32_t tilesHigh = static_cast<int32_t>(at.tiles->size()) / at.tilesWide;
    const int32_t right = x + width, bottom = y + height;
    for (int32_t row = std::max(0, y / kTile); row < tilesHigh && row * kTile < bottom; ++row) {
      const int32_t top = std::max(y, row * kTile), under = std::min(bottom, (row + 1) * kTile);
      const uint8_t* kinds = &(*at.tiles)[static_cast<size_t>(row) * at.tilesWide];
      for (int32_t column = std::max(0, x / kTile);
           column < at.tilesWide && column * kTile < right;) {
        const uint8_t kind =
            plainOver ? kinds[column] : std::min<uint8_t>(kinds[column], kMixedTile);
        int32_t end = column + 1;
        while (end < at.tilesWide && end * kTile < right &&
               (plainOver ? kinds[end] : std::min<uint8_t>(kinds[end], kMixedTile)) == kind) {
          ++end;
        }
        if (kind != kEmptyTile) {
          const int32_t left = std::max(x, column * kTile), stop = std::min(right, end * kTile);
          draw(kind == kOpaqueTile ? PIXMAN_OP_SRC : op, left, top, stop - left, under - top);
        }
        column = end;
      }
    }
    return;
  }
  // Pixman maps destination pixel centres through the transform; the composite below starts at
  // the box's corner, so the map is shifted to it.
  pixman_f_transform shifted = toTexels;
  shifted.m[0][2] += toTexels.m[0][0] * box.x1 + toTexels.m[0][1] * box.y1;
  shifted.m[1][2] += toTexels.m[1][0] * box.x1 + toTexels.m[1][1] * box.y1;
  pixman_transform_t fixed;
  if (!pixman_transform_from_pixman_f_transform(&fixed, &shifted)) {
    return;
  }
  // An upright quad's edge pixels take the picture's edge texels; a turned quad takes its
  // outline from the transparent outside of the picture.
  pixman_image_set_repeat(picture, at.upright ? PIXMAN_REPEAT_PAD : PIXMAN_REPEAT_NONE);
  pixman_image_set_transform(picture, &fixed);
  pixman_image_set_filter(picture, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_composite32(op, source, mask, destination, 0, 0, 0, 0, box.x1, box.y1, width,
                           height);
}

}  // namespace

pixman_format_code_t PictureCompositor::Target(const SDL_Surface* surface) {
  if (!surface || !surface->pixels || surface->format->BytesPerPixel != 4) {
    return static_cast<pixman_format_code_t>(0);
  }
  switch (surface->format->format) {
    case SDL_PIXELFORMAT_ARGB8888:
      return PIXMAN_a8r8g8b8;
    case SDL_PIXELFORMAT_RGB888:
      return PIXMAN_x8r8g8b8;
    case SDL_PIXELFORMAT_ABGR8888:
      return PIXMAN_a8b8g8r8;
    case SDL_PIXELFORMAT_BGR888:
      return PIXMAN_x8b8g8r8;
    default:
      return static_cast<pixman_format_code_t>(0);
  }
}

bool PictureCompositor::Add(ResourceId id, Image&& image) {
  const size_t count = static_cast<size_t>(image.width) * image.height;
  if (image.width <= 0 || image.height <= 0 || image.rgba.size() != count * 4) {
    return false;
  }
  copies_.Forget(id);
  Picture picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.pixels = std::move(image.rgba);
  picture.opaque = true;
  // Each pixel's four bytes are read before its word is written over them.
  for (size_t i = 0; i < count; ++i) {
    uint8_t* p = &picture.pixels[i * 4];
    const uint32_t alpha = p[3];
    picture.opaque = picture.opaque && alpha == 255;
    const auto premultiply = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
    const uint32_t word =
        alpha << 24 | premultiply(p[0]) << 16 | premultiply(p[1]) << 8 | premultiply(p[2]);
    std::memcpy(p, &word, sizeof word);
  }
  if (image.width >= kTiledPicture || image.height >= kTiledPicture) {
    picture.tiles =
        Tiles(reinterpret_cast<const uint32_t*>(picture.pixels.data()), image.width, image.height);
    picture.tilesWide = (image.width + kTile - 1) / kTile;
  }
  // With alpha even where it is all 255: a turned quad takes its outline from the transparent
  // outside of the picture, which a format without alpha would not have.
  picture.image.reset(pixman_image_create_bits(PIXMAN_a8r8g8b8, image.width, image.height,
                                               reinterpret_cast<uint32_t*>(picture.pixels.data()),
                                               image.width * 4));
  if (!picture.image) {
    pictures_.erase(id);
    return false;
  }
  pictures_[id] = std::move(picture);
  return true;
}

void PictureCompositor::Remove(ResourceId id) {
  pictures_.erase(id);
  copies_.Forget(id);
}

std::vector<uint8_t> PictureCompositor::Straight(ResourceId id) const {
  const auto found = pictures_.find(id);
  if (found == pictures_.end()) {
    return {};
  }
  const std::vector<uint8_t>& pixels = found->second.pixels;
  std::vector<uint8_t> rgba;
  rgba.reserve(pixels.size());
  for (size_t at = 0; at < pixels.size(); at += 4) {
    uint32_t pixel;
    std::memcpy(&pixel, &pixels[at], sizeof pixel);
    const uint32_t alpha = pixel >> 24;
    const auto straight = [alpha](uint32_t channel) {
      return static_cast<uint8_t>(
          alpha ? std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha) : 0);
    };
    rgba.insert(rgba.end(), {straight(pixel >> 16 & 255), straight(pixel >> 8 & 255),
                             straight(pixel & 255), static_cast<uint8_t>(alpha)});
  }
  return rgba;
}

// Made once for as long as the surface keeps its pixels where they are: for a busy frame's
// hundreds of small pictures, a new one each time costs more than drawing them.
pixman_image_t* PictureCompositor::Destination(SDL_Surface* target, const SDL_Rect* clip) {
  const Surface now{target->pixels, target->w, target->h, target->pitch, Target(target)};
  if (!destination_ || !(now == surface_)) {
    destination_.reset(pixman_image_create_bits(now.format, now.width, now.height,
                                                static_cast<uint32_t*>(now.pixels), now.pitch));
    surface_ = now;
  }
  if (!destination_) {
    return nullptr;
  }
  if (clip) {
    pixman_region32_t region;
    pixman_region32_init_rect(&region, clip->x, clip->y, static_cast<unsigned>(clip->w),
                              static_cast<unsigned>(clip->h));
    pixman_image_set_clip_region32(destination_.get(), &region);
    pixman_region32_fini(&region);
  } else {
    pixman_image_set_clip_region32(destination_.get(), nullptr);
  }
  return destination_.get();
}

void PictureCompositor::CompositeText(const std::vector<GlyphQuad>& glyphs, const Rgba& colour,
                                      SDL_Surface* target, const SDL_Rect* clip) {
  pixman_image_t* destination = Destination(target, clip);
  if (!destination || glyphs.empty()) {
    return;
  }
  const SolidImage ink = Solid(colour);
  for (const GlyphQuad& glyph : glyphs) {
    pixman_image_composite32(PIXMAN_OP_OVER, ink.get(), glyph.mask, destination, 0, 0, glyph.area.x,
                             glyph.area.y, ScreenPixel(glyph.screen.x), ScreenPixel(glyph.screen.y),
                             glyph.area.w, glyph.area.h);
  }
}

bool PictureCompositor::Takes(const Frame& frame, const Geometry& geometry,
                              int32_t indexCount) const {
  const auto found = pictures_.find(geometry.texture);
  if (found == pictures_.end() || indexCount <= 0 || indexCount % 6 != 0 ||
      geometry.firstIndex < 0 ||
      static_cast<size_t>(geometry.firstIndex) + indexCount > frame.indices.size()) {
    return false;
  }
  for (int32_t first = geometry.firstIndex; first < geometry.firstIndex + indexCount; first += 6) {
    Quad quad;
    pixman_f_transform transform;
    if (!QuadAt(frame, first, quad) ||
        !ScreenToTexels(quad, found->second.width, found->second.height, transform)) {
      return false;
    }
    // One tint over the whole quad: a grey one (the light fading a scene in and out) weights
    // the picture, a coloured one (sparks, glows) is a colour the picture masks channel by
    // channel. A tint that changes across the quad stays with SDL.
    const Rgba& colour = quad.corner[0]->colour;
    const auto unit = [](float channel) { return channel >= 0 && channel <= 1; };
    if (!unit(colour.r) || !unit(colour.g) || !unit(colour.b) || !unit(colour.a)) {
      return false;
    }
    for (const Vertex* v : quad.corner) {
      if (!SameColour(v->colour, colour)) {
        return false;
      }
    }
    // An upright quad is cut to its own pixels; a turned one takes its outline from the
    // picture's edges, so it has to show the whole picture.
    if (!Upright(quad) && !WholeTexture(Bounds(quad))) {
      return false;
    }
  }
  return true;
}

bool PictureCompositor::Covers(const Frame& frame, const Geometry& geometry, int32_t indexCount,
                               pixman_region32_t* region) const {
  const Picture& picture = pictures_.at(geometry.texture);
  for (int32_t first = geometry.firstIndex; first < geometry.firstIndex + indexCount; first += 6) {
    Quad quad;
    pixman_f_transform toTexels;
    if (!QuadAt(frame, first, quad) ||
        !ScreenToTexels(quad, picture.width, picture.height, toTexels) ||
        !CopiesOver(picture.opaque, quad, geometry.blend) || !PlainOffset(toTexels)) {
      return false;
    }
    const pixman_box32_t box = PixelBox(Bounds(quad));
    if (box.x2 > box.x1 && box.y2 > box.y1) {
      pixman_region32_union_rect(region, region, box.x1, box.y1,
                                 static_cast<unsigned>(box.x2 - box.x1),
                                 static_cast<unsigned>(box.y2 - box.y1));
    }
  }
  return true;
}

void PictureCompositor::Composite(const Frame& frame, const Geometry& geometry, int32_t indexCount,
                                  SDL_Surface* target, const SDL_Rect* clip) {
  Picture& picture = pictures_.at(geometry.texture);
  pixman_image_t* destination = Destination(target, clip);
  if (!destination) {
    return;
  }
  const bool additive = geometry.blend == Blend::kAdditive;
  for (int32_t first = geometry.firstIndex; first < geometry.firstIndex + indexCount; first += 6) {
    Quad quad;
    Placement at;
    at.picture = picture.image.get();
    at.tiles = &picture.tiles;
    at.tilesWide = picture.tilesWide;
    if (!QuadAt(frame, first, quad) ||
        !ScreenToTexels(quad, picture.width, picture.height, at.toTexels)) {
      continue;
    }
    // Picture p (premultiplied) tinted by colour c at alpha a: added, dst + a c p; drawn over,
    // dst (1 - a p.alpha) + a c p, which pixman's OVER gives in one pass only when c is white.
    const Rgba& colour = quad.corner[0]->colour;
    const float alpha = colour.a;
    if (!(alpha > 0)) {
      continue;  // leaves the pixels as they are
    }
    const QuadBounds bounds = Bounds(quad);
    at.upright = Upright(quad);
    at.box = PixelBox(bounds);
    if (at.box.x2 <= at.box.x1 || at.box.y2 <= at.box.y1) {
      continue;
    }
    at.copy = copies_.For(
        CopyQuad(geometry.texture, picture.image.get(), picture.width, picture.height, bounds, at));
    const bool grey = colour.r == colour.g && colour.r == colour.b;
    const auto addTinted = [&] {
      if (grey && !(colour.r > 0)) {
        return;
      }
      if (grey) {
        Place(PIXMAN_OP_ADD, at, Weight(alpha * colour.r).get(), false, destination);
      } else {
        Place(PIXMAN_OP_ADD, at, Solid(colour).get(), true, destination);
      }
    };
    if (additive) {
      addTinted();
    } else if (grey && colour.r == 1) {
      const bool copies = CopiesOver(picture.opaque, quad, geometry.blend);
      Place(copies ? PIXMAN_OP_SRC : PIXMAN_OP_OVER, at, Weight(alpha).get(), false, destination);
    } else {
      Place(PIXMAN_OP_OUT_REVERSE, at, Weight(alpha).get(), false, destination);
      addTinted();
    }
  }
  pixman_image_set_transform(picture.image.get(), nullptr);
}

}  // namespace engine::sdl

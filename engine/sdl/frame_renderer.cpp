#include "sdl/frame_renderer.h"

#include <algorithm>
#include <cmath>
#include <variant>

namespace engine::sdl {
namespace {

constexpr Uint32 kTextureFormat = SDL_PIXELFORMAT_ARGB8888;

Uint8 Channel(float value) {
  return static_cast<Uint8>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
}

SDL_Color ColourOf(const Rgba& colour) {
  return {Channel(colour.r), Channel(colour.g), Channel(colour.b), Channel(colour.a)};
}

SDL_BlendMode BlendOf(Blend blend) {
  return blend == Blend::kAdditive ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND;
}

// Two geometry items can go to the renderer in one call when they share texture and blending
// and their triangles follow each other in the frame.
bool Joins(const Geometry& first, int32_t indexCount, const Geometry& next) {
  return next.texture == first.texture && next.blend == first.blend &&
         next.firstIndex == first.firstIndex + indexCount;
}

// An opaque picture drawn at full alpha hides what is under it, so it can be copied instead of
// blended: the software renderer does that several times faster.
bool Opaque(const Frame& frame, int32_t firstIndex, int32_t indexCount) {
  for (int32_t i = firstIndex; i < firstIndex + indexCount; ++i) {
    const int32_t vertex = frame.indices[i];
    if (vertex < 0 || static_cast<size_t>(vertex) >= frame.vertices.size() ||
        frame.vertices[vertex].colour.a < 1) {
      return false;
    }
  }
  return true;
}

// Rewrites a quad given as triangles (a, b, c) and (a, c, d) to start at its top-left corner and
// run clockwise on the screen. SDL's software renderer copies a quad it recognises as an upright
// rectangle in one blit, and it only recognises that order; others go through its triangle
// rasteriser, tens of times slower. The quad covers the same pixels either way.
void NormaliseQuad(const std::vector<SDL_Vertex>& vertices, int* quad) {
  if (quad[3] != quad[0] || quad[4] != quad[2]) {
    return;
  }
  int corners[4] = {quad[0], quad[1], quad[2], quad[5]};
  const auto at = [&](int corner) { return vertices[corners[corner]].position; };
  float area = 0;
  for (int i = 0; i < 4; ++i) {
    area += at(i).x * at((i + 1) % 4).y - at((i + 1) % 4).x * at(i).y;
  }
  if (area < 0) {
    std::swap(corners[1], corners[3]);
  }
  int first = 0;
  for (int i = 1; i < 4; ++i) {
    if (at(i).x + at(i).y < at(first).x + at(first).y) {
      first = i;
    }
  }
  const int p0 = corners[first], p1 = corners[(first + 1) % 4];
  const int p2 = corners[(first + 2) % 4], p3 = corners[(first + 3) % 4];
  const int normalised[6] = {p0, p1, p2, p0, p2, p3};
  std::copy(normalised, normalised + 6, quad);
}

}  // namespace

FrameRenderer::FrameRenderer(SDL_Renderer* renderer) : renderer_(renderer) {
  SDL_RendererInfo info{};
  software_ = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
}

void FrameRenderer::SetTarget(SDL_Surface* surface) {
  target_ = software_ && PictureCompositor::Target(surface) ? surface : nullptr;
}

// Textures are kept in the layout of desktop framebuffers and GPUs (ARGB8888), so that the
// software renderer copies and blends them without converting every pixel on every frame.
TexturePtr FrameRenderer::MakeTexture(int width, int height, const uint8_t* rgba) {
  const int pitch = width * 4;
  std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * height);
  TexturePtr texture(
      SDL_CreateTexture(renderer_, kTextureFormat, SDL_TEXTUREACCESS_STATIC, width, height));
  if (!texture ||
      SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGBA32, rgba, pitch, kTextureFormat,
                        pixels.data(), pitch) != 0 ||
      SDL_UpdateTexture(texture.get(), nullptr, pixels.data(), pitch) != 0) {
    return nullptr;
  }
  SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeLinear);
  return texture;
}

bool FrameRenderer::UploadTexture(ResourceId id, Image image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() != static_cast<size_t>(image.width) * image.height * 4) {
    return false;
  }
  bool opaque = true;
  for (size_t alpha = 3; alpha < image.rgba.size() && opaque; alpha += 4) {
    opaque = image.rgba[alpha] == 255;
  }
  TexturePtr texture;
  const int width = image.width, height = image.height;
  if (software_) {
    // Pixman draws most pictures; SDL gets its own copy of one only once it has to draw it.
    if (!pictures_.Add(id, std::move(image))) {
      return false;
    }
  } else {
    texture = MakeTexture(image.width, image.height, image.rgba.data());
    if (!texture) {
      return false;
    }
  }
  textures_[id] = {std::move(texture), opaque, width, height};
  replaced_.insert(id);
  return true;
}

void FrameRenderer::DestroyTexture(ResourceId id) {
  textures_.erase(id);
  pictures_.Remove(id);
  replaced_.insert(id);
}

bool FrameRenderer::LoadFont(ResourceId id, std::span<const uint8_t> ttf) {
  auto atlas = GlyphAtlas::Open(renderer_, ttf, software_);
  if (!atlas) {
    return false;
  }
  fonts_[id] = std::move(atlas);
  replaced_.insert(id);
  return true;
}

void FrameRenderer::ReleaseFont(ResourceId id) {
  fonts_.erase(id);
  replaced_.insert(id);
}

const GlyphAtlas* FrameRenderer::Font(ResourceId id) const {
  const auto found = fonts_.find(id);
  return found == fonts_.end() ? nullptr : found->second.get();
}

// What the renderer has queued goes under what pixman draws next.
template <typename Drawing>
void FrameRenderer::OnTarget(Drawing draw) {
  Flush();
  if (!SDL_MUSTLOCK(target_)) {
    draw();
  } else if (SDL_LockSurface(target_) == 0) {
    draw();
    SDL_UnlockSurface(target_);
  }
}

// A scene usually starts with its background: a screen-sized opaque picture, or two halves of
// one scrolling, that the compositor copies over whatever is there. Clearing under it first
// would write every pixel twice.
void FrameRenderer::FindCover(const Frame& frame) {
  pixman_region32_clear(&cover_.pixels);
  if (!target_) {
    return;
  }
  for (const DrawItem& item : frame.items) {
    const auto* geometry = std::get_if<Geometry>(&item.content);
    if (!geometry || !pictures_.Takes(frame, *geometry, geometry->indexCount) ||
        !pictures_.Covers(frame, *geometry, geometry->indexCount, &cover_.pixels)) {
      return;
    }
  }
}

// SDL fills large areas with non-temporal stores, which push the target out of the cache just
// before every layer of the frame reads it back; pixman's fill leaves it there.
void FrameRenderer::ClearToBlack(const SDL_Rect* rect) {
  if (target_) {
    const SDL_Rect whole{0, 0, target_->w, target_->h};
    SDL_Rect area = whole;
    if (rect && !SDL_IntersectRect(rect, &whole, &area)) {
      return;
    }
    pixman_box32_t box{area.x, area.y, area.x + area.w, area.y + area.h};
    if (pixman_region32_contains_rectangle(&cover_.pixels, &box) != PIXMAN_REGION_IN) {
      OnTarget([&] {
        pixman_fill(static_cast<uint32_t*>(target_->pixels), target_->pitch / 4, 32, area.x, area.y,
                    area.w, area.h, 0xFF000000);
      });
    }
    return;
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  if (rect) {
    // RenderClear would ignore the clip rectangle.
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    SDL_RenderFillRect(renderer_, rect);
  } else {
    SDL_RenderClear(renderer_);
  }
  queued_ = true;
}

void FrameRenderer::Draw(const Frame& frame) {
  pictures_.NextFrame();
  const bool prepared = Prepare(frame);
  if (prepared) {
    FindCover(frame);
  }
  ClearToBlack(nullptr);
  if (prepared) {
    DrawItems(frame, nullptr);
  }
  pixman_region32_clear(&cover_.pixels);
  drawnValid_ = false;
  replaced_.clear();
}

const Damage& FrameRenderer::DrawChanges(const Frame& frame) {
  pictures_.NextFrame();
  MeasureItems(frame);
  if (drawnValid_) {
    damage_ = FindDamage(drawn_, drawnBounds_, frame, bounds_, whole_, replaced_);
  } else {
    damage_ = Damage{true, {}};
  }
  if (damage_.full || !damage_.rects.empty()) {
    const bool prepared = Prepare(frame);
    if (prepared) {
      FindCover(frame);
    }
    if (damage_.full) {
      ClearToBlack(nullptr);
      if (prepared) {
        DrawItems(frame, nullptr);
      }
    } else {
      for (const SDL_Rect& rect : damage_.rects) {
        SDL_RenderSetClipRect(renderer_, &rect);
        ClearToBlack(&rect);
        if (prepared) {
          DrawItems(frame, &rect);
        }
      }
      SDL_RenderSetClipRect(renderer_, nullptr);
    }
    pixman_region32_clear(&cover_.pixels);
  }
  Remember(frame);
  return damage_;
}

void FrameRenderer::Remember(const Frame& frame) {
  drawn_ = frame;
  drawnBounds_.swap(bounds_);
  drawnValid_ = true;
  replaced_.clear();
}

void FrameRenderer::MeasureItems(const Frame& frame) {
  bounds_.clear();
  whole_.clear();
  for (const DrawItem& item : frame.items) {
    if (const auto* text = std::get_if<TextRun>(&item.content)) {
      bounds_.push_back(TextBounds(*text));
      // Glyphs off their rasterised size are stretched.
      whole_.push_back(true);
    } else {
      const Geometry& geometry = std::get<Geometry>(item.content);
      bounds_.push_back(GeometryBounds(frame, geometry));
      whole_.push_back(Stretched(frame, geometry));
    }
  }
}

// Whether one of the item's quads is an upright rectangle of a texture drawn at another size
// than the texels it shows: the software renderer copies those with its stretching blitter. A
// turned quad goes through its triangle rasteriser instead, which a clip rectangle does not
// change, and so does a picture copied at its own size.
bool FrameRenderer::Stretched(const Frame& frame, const Geometry& geometry) const {
  const auto found = textures_.find(geometry.texture);
  if (found == textures_.end() || geometry.indexCount % 6 != 0 || geometry.firstIndex < 0 ||
      static_cast<size_t>(geometry.firstIndex) + geometry.indexCount > frame.indices.size()) {
    return false;
  }
  constexpr float kSameSize = 1.0f / 64;
  for (int32_t quad = geometry.firstIndex; quad < geometry.firstIndex + geometry.indexCount;
       quad += 6) {
    float left = 0, right = 0, top = 0, bottom = 0, u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    bool upright = true;
    for (int32_t i = quad; i < quad + 6; ++i) {
      const int32_t index = frame.indices[i];
      if (index < 0 || static_cast<size_t>(index) >= frame.vertices.size()) {
        return false;
      }
      const Vertex& v = frame.vertices[index];
      if (i == quad) {
        left = right = v.x;
        top = bottom = v.y;
        u0 = u1 = v.u;
        v0 = v1 = v.v;
        continue;
      }
      // Every corner of an upright rectangle shares its x with one edge and its y with another.
      upright = upright && (v.x == left || v.x == right || left == right) &&
                (v.y == top || v.y == bottom || top == bottom);
      left = std::min(left, v.x);
      right = std::max(right, v.x);
      top = std::min(top, v.y);
      bottom = std::max(bottom, v.y);
      u0 = std::min(u0, v.u);
      u1 = std::max(u1, v.u);
      v0 = std::min(v0, v.v);
      v1 = std::max(v1, v.v);
    }
    if (!upright) {
      continue;
    }
    const float texelsWide = (u1 - u0) * static_cast<float>(found->second.width);
    const float texelsHigh = (v1 - v0) * static_cast<float>(found->second.height);
    if (std::abs((right - left) - texelsWide) > kSameSize ||
        std::abs((bottom - top) - texelsHigh) > kSameSize) {
      return true;
    }
  }
  return false;
}

SDL_Rect FrameRenderer::TextBounds(const TextRun& run) {
  const auto found = fonts_.find(run.font);
  if (found == fonts_.end()) {
    return {};
  }
  glyphs_.clear();
  found->second->LayOut(run, glyphs_);
  SDL_Rect bounds{};
  for (const GlyphQuad& glyph : glyphs_) {
    const SDL_FRect& s = glyph.screen;
    const int left = static_cast<int>(std::floor(std::clamp(s.x, -1.0f, kScreenWidth + 1.0f))) - 1;
    const int top = static_cast<int>(std::floor(std::clamp(s.y, -1.0f, kScreenHeight + 1.0f))) - 1;
    const int right =
        static_cast<int>(std::ceil(std::clamp(s.x + s.w, -1.0f, kScreenWidth + 1.0f))) + 1;
    const int bottom =
        static_cast<int>(std::ceil(std::clamp(s.y + s.h, -1.0f, kScreenHeight + 1.0f))) + 1;
    const SDL_Rect box{left, top, right - left, bottom - top};
    if (bounds.w > 0) {
      SDL_UnionRect(&bounds, &box, &bounds);
    } else {
      bounds = box;
    }
  }
  const SDL_Rect screen{0, 0, kScreenWidth, kScreenHeight};
  SDL_Rect clipped{};
  return SDL_IntersectRect(&bounds, &screen, &clipped) ? clipped : SDL_Rect{};
}

bool FrameRenderer::Prepare(const Frame& frame) {
  vertices_.resize(frame.vertices.size());
  for (size_t i = 0; i < frame.vertices.size(); ++i) {
    const Vertex& v = frame.vertices[i];
    vertices_[i] = {{v.x, v.y}, ColourOf(v.colour), {v.u, v.v}};
  }
  indices_.clear();
  for (const int32_t index : frame.indices) {
    if (index < 0 || static_cast<size_t>(index) >= vertices_.size()) {
      return false;
    }
    indices_.push_back(index);
  }
  for (const DrawItem& item : frame.items) {
    const auto* geometry = std::get_if<Geometry>(&item.content);
    if (geometry && geometry->indexCount % 6 == 0 && geometry->firstIndex >= 0 &&
        static_cast<size_t>(geometry->firstIndex) + geometry->indexCount <= indices_.size()) {
      for (int32_t i = 0; i < geometry->indexCount; i += 6) {
        NormaliseQuad(vertices_, &indices_[geometry->firstIndex + i]);
      }
    }
  }
  return true;
}

// With a clip rectangle, only the items whose bounds reach into it are drawn.
void FrameRenderer::DrawItems(const Frame& frame, const SDL_Rect* clip) {
  const auto reaches = [&](size_t i) {
    return !clip || (i < bounds_.size() && SDL_HasIntersection(&bounds_[i], clip));
  };
  for (size_t i = 0; i < frame.items.size();) {
    if (!reaches(i)) {
      ++i;
      continue;
    }
    if (const auto* text = std::get_if<TextRun>(&frame.items[i].content)) {
      DrawText(*text, clip);
      ++i;
      continue;
    }
    const Geometry& first = std::get<Geometry>(frame.items[i].content);
    int32_t indexCount = first.indexCount;
    for (++i; i < frame.items.size() && reaches(i); ++i) {
      const auto* next = std::get_if<Geometry>(&frame.items[i].content);
      if (!next || !Joins(first, indexCount, *next)) {
        break;
      }
      indexCount += next->indexCount;
    }
    DrawGeometry(frame, first, indexCount, clip);
  }
}

void FrameRenderer::Flush() {
  if (queued_) {
    SDL_RenderFlush(renderer_);
    queued_ = false;
  }
}

void FrameRenderer::DrawGeometry(const Frame& frame, const Geometry& geometry, int32_t indexCount,
                                 const SDL_Rect* clip) {
  if (indexCount <= 0 || geometry.firstIndex < 0 ||
      static_cast<size_t>(geometry.firstIndex) + indexCount > frame.indices.size()) {
    return;
  }
  if (!target_ || indexCount % 6 != 0) {
    DrawWithSdl(frame, geometry, indexCount);
    return;
  }
  // Decided quad by quad, so that how a quad is drawn never hangs on its neighbours: drawing a
  // frame only where it changed then gives the same pixels as drawing it whole.
  const int32_t end = geometry.firstIndex + indexCount;
  for (int32_t at = geometry.firstIndex; at < end;) {
    Geometry run = geometry;
    run.firstIndex = at;
    const bool composite = pictures_.Takes(frame, run, 6);
    int32_t stop = at + 6;
    for (; stop < end; stop += 6) {
      run.firstIndex = stop;
      if (pictures_.Takes(frame, run, 6) != composite) {
        break;
      }
    }
    run.firstIndex = at;
    if (composite) {
      OnTarget([&] { pictures_.Composite(frame, run, stop - at, target_, clip); });
    } else {
      DrawWithSdl(frame, run, stop - at);
    }
    at = stop;
  }
}

void FrameRenderer::DrawWithSdl(const Frame& frame, const Geometry& geometry, int32_t indexCount) {
  queued_ = true;
  SDL_Texture* texture = nullptr;
  if (const auto found = textures_.find(geometry.texture); found != textures_.end()) {
    Texture& entry = found->second;
    if (!entry.texture) {
      const std::vector<uint8_t> rgba = pictures_.Straight(geometry.texture);
      if (rgba.empty() || !(entry.texture = MakeTexture(entry.width, entry.height, rgba.data()))) {
        return;
      }
    }
    texture = entry.texture.get();
    const bool covers = geometry.blend == Blend::kAlpha && found->second.opaque &&
                        Opaque(frame, geometry.firstIndex, indexCount);
    SDL_SetTextureBlendMode(texture, covers ? SDL_BLENDMODE_NONE : BlendOf(geometry.blend));
  } else {
    SDL_SetRenderDrawBlendMode(renderer_, BlendOf(geometry.blend));
  }
  // SDL_Renderer samples clamped at the edges; the quads the engine draws keep their texture
  // coordinates within 0..1, where wrapping would only change the filtering of the border texels.
  SDL_RenderGeometry(renderer_, texture, vertices_.data(), static_cast<int>(vertices_.size()),
                     indices_.data() + geometry.firstIndex, indexCount);
}

void FrameRenderer::DrawText(const TextRun& run, const SDL_Rect* clip) {
  const auto found = fonts_.find(run.font);
  if (found == fonts_.end()) {
    return;
  }
  glyphs_.clear();
  bool native = false;
  found->second->LayOut(run, glyphs_, &native);
  // Text at its rasterised size lands on whole pixels: pixman draws it through the glyphs'
  // coverage, where SDL would blend every glyph as a textured quad.
  if (target_ && native &&
      std::all_of(glyphs_.begin(), glyphs_.end(), [](const GlyphQuad& g) { return g.mask; })) {
    OnTarget([&] { pictures_.CompositeText(glyphs_, run.colour, target_, clip); });
    return;
  }
  if (!found->second->Textured(glyphs_)) {
    return;
  }
  const SDL_Color colour = ColourOf(run.colour);
  queued_ = true;
  // Consecutive glyphs from the same atlas page go out in one call.
  for (size_t i = 0; i < glyphs_.size();) {
    SDL_Texture* page = glyphs_[i].page;
    glyphVertices_.clear();
    glyphIndices_.clear();
    for (; i < glyphs_.size() && glyphs_[i].page == page; ++i) {
      const SDL_FRect& s = glyphs_[i].screen;
      const SDL_FRect& t = glyphs_[i].source;
      const int base = static_cast<int>(glyphVertices_.size());
      glyphVertices_.push_back({{s.x, s.y}, colour, {t.x, t.y}});
      glyphVertices_.push_back({{s.x + s.w, s.y}, colour, {t.x + t.w, t.y}});
      glyphVertices_.push_back({{s.x + s.w, s.y + s.h}, colour, {t.x + t.w, t.y + t.h}});
      glyphVertices_.push_back({{s.x, s.y + s.h}, colour, {t.x, t.y + t.h}});
      glyphIndices_.insert(glyphIndices_.end(),
                           {base, base + 1, base + 2, base, base + 2, base + 3});
    }
    SDL_RenderGeometry(renderer_, page, glyphVertices_.data(),
                       static_cast<int>(glyphVertices_.size()), glyphIndices_.data(),
                       static_cast<int>(glyphIndices_.size()));
  }
}

}  // namespace engine::sdl

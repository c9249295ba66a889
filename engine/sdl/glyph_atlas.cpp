#include "sdl/glyph_atlas.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>

#include "sdl/sdl_session.h"

namespace engine::sdl {
namespace {

constexpr int kReferencePointSize = 100;
constexpr int kPageSize = 512;  // pixels, square
// Larger text is scaled up from this size rather than filling pages with huge glyphs.
constexpr int kMaxStrikePixels = 160;
constexpr float kNativeSizeTolerance = 0.1f;
constexpr int kSizeSteps = 4;  // points, when fitting a strike's ascent to its height
// Empty pixels around each glyph, so that filtering never picks up a neighbour.
constexpr int kGlyphGap = 1;

// The middle of the columns that hold any ink, in pixels from the surface's left edge (an
// ARGB8888 surface); the surface's middle when it holds none.
float InkCentre(const SDL_Surface& surface) {
  int first = surface.w;
  int last = -1;
  for (int y = 0; y < surface.h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(
        static_cast<const uint8_t*>(surface.pixels) + static_cast<ptrdiff_t>(y) * surface.pitch);
    for (int x = 0; x < surface.w; ++x) {
      if ((row[x] >> 24) != 0) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  if (last < first) {
    return static_cast<float>(surface.w) / 2;
  }
  return static_cast<float>(first + last + 1) / 2;
}

}  // namespace

std::unique_ptr<GlyphAtlas> GlyphAtlas::Open(SDL_Renderer* renderer, std::span<const uint8_t> ttf,
                                             bool masks) {
  if (!FontsReady()) {
    return nullptr;
  }
  std::unique_ptr<GlyphAtlas> atlas(
      new GlyphAtlas(renderer, std::vector<uint8_t>(ttf.begin(), ttf.end()), masks));
  if (!atlas->font_ || atlas->referenceAscent_ <= 0) {
    return nullptr;
  }
  return atlas;
}

GlyphAtlas::GlyphAtlas(SDL_Renderer* renderer, std::vector<uint8_t> bytes, bool masks)
    : renderer_(renderer), masks_(masks), bytes_(std::move(bytes)) {
  SDL_RWops* source = SDL_RWFromConstMem(bytes_.data(), static_cast<int>(bytes_.size()));
  if (!source) {
    return;
  }
  font_.reset(TTF_OpenFontRW(source, 1, kReferencePointSize));
  if (font_) {
    currentPointSize_ = kReferencePointSize;
    referenceAscent_ = TTF_FontAscent(font_.get());
  }
}

size_t GlyphAtlas::GlyphCount() const {
  size_t count = 0;
  for (const auto& [pixels, strike] : strikes_) {
    count += strike.glyphs.size();
  }
  return count;
}

void GlyphAtlas::LayOut(const TextRun& run, std::vector<GlyphQuad>& quads, bool* native) {
  if (native) {
    *native = false;
  }
  if (!(run.cellHeight > 0) || !std::isfinite(run.cellHeight) || !std::isfinite(run.left) ||
      !std::isfinite(run.advance) || !std::isfinite(run.baseline)) {
    return;
  }
  const int pixels = std::clamp(static_cast<int>(std::lround(run.cellHeight)), 1, kMaxStrikePixels);
  Strike& strike = StrikeFor(pixels);
  if (strike.ascent <= 0) {
    return;
  }
  float scale = run.cellHeight / static_cast<float>(strike.ascent);
  // Glyphs within a few percent of their rasterised size (or a pixel, for text too small to tell)
  // are drawn at it, on whole pixels: crisp, and copied rather than resampled (which a software
  // renderer does much faster).
  const float ascent = static_cast<float>(strike.ascent);
  const bool atSize =
      std::abs(run.cellHeight - ascent) <= std::max(kNativeSizeTolerance * ascent, 1.0f);
  if (atSize) {
    scale = 1;
  }
  if (native) {
    *native = atSize;
  }
  const float top = atSize ? std::round(run.baseline) - static_cast<float>(strike.ascent)
                           : run.baseline - run.cellHeight;
  for (size_t i = 0; i < run.text.size(); ++i) {
    // Text is Latin-1: every byte is the code point of the same number.
    const uint32_t character = static_cast<unsigned char>(run.text[i]);
    const Glyph& glyph = GlyphOf(strike, character);
    if (glyph.page < 0) {
      continue;
    }
    const float width = static_cast<float>(glyph.area.w) * scale;
    const float height = static_cast<float>(glyph.area.h) * scale;
    const float cellLeft = run.left + static_cast<float>(i) * run.advance;
    GlyphQuad quad;
    quad.page = pages_[glyph.page].texture.get();
    quad.pageNumber = glyph.page;
    quad.mask = pages_[glyph.page].mask.get();
    quad.area = glyph.area;
    const float left = cellLeft + run.cellWidth / 2 - glyph.inkCentre * scale;
    quad.screen = {atSize ? std::round(left) : left, top, width, height};
    quad.source = {
        static_cast<float>(glyph.area.x) / kPageSize, static_cast<float>(glyph.area.y) / kPageSize,
        static_cast<float>(glyph.area.w) / kPageSize, static_cast<float>(glyph.area.h) / kPageSize};
    quads.push_back(quad);
  }
}

GlyphAtlas::Strike& GlyphAtlas::StrikeFor(int pixels) {
  const auto found = strikes_.find(pixels);
  if (found != strikes_.end()) {
    return found->second;
  }
  Strike strike;
  // The ascent grows with the point size, so one measurement finds the size for any height.
  strike.pointSize =
      std::max(1, static_cast<int>(std::lround(static_cast<double>(kReferencePointSize) * pixels /
                                               referenceAscent_)));
  if (TTF_SetFontSize(font_.get(), strike.pointSize) != 0) {
    return strikes_.emplace(pixels, std::move(strike)).first->second;
  }
  currentPointSize_ = strike.pointSize;
  strike.ascent = TTF_FontAscent(font_.get());
  // Small sizes round their ascent up to whole pixels, so the estimate can be a point or two too
  // large (or small): step towards the size whose ascent is the height asked for, so that the
  // text is drawn at its rasterised size.
  const int toward = strike.ascent > pixels ? -1 : 1;
  for (int step = 0; step < kSizeSteps && (strike.ascent - pixels) * toward < 0; ++step) {
    const int size = strike.pointSize + toward;
    if (size < 1 || TTF_SetFontSize(font_.get(), size) != 0) {
      break;
    }
    currentPointSize_ = size;
    const int ascent = TTF_FontAscent(font_.get());
    if (std::abs(ascent - pixels) > std::abs(strike.ascent - pixels)) {
      break;
    }
    strike.pointSize = size;
    strike.ascent = ascent;
  }
  return strikes_.emplace(pixels, std::move(strike)).first->second;
}

const GlyphAtlas::Glyph& GlyphAtlas::GlyphOf(Strike& strike, uint32_t character) {
  const auto found = strike.glyphs.find(character);
  if (found != strike.glyphs.end()) {
    return found->second;
  }
  Glyph& glyph = strike.glyphs[character];
  if (character == ' ' || character < 0x20) {
    return glyph;
  }
  if (currentPointSize_ != strike.pointSize) {
    if (TTF_SetFontSize(font_.get(), strike.pointSize) != 0) {
      return glyph;
    }
    currentPointSize_ = strike.pointSize;
  }
  const SDL_Color white{255, 255, 255, 255};
  SurfacePtr surface(TTF_RenderGlyph32_Blended(font_.get(), character, white));
  if (!surface || surface->w <= 0 || surface->h <= 0) {
    return glyph;
  }
  SurfacePtr pixels(SDL_ConvertSurfaceFormat(surface.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  int page = -1;
  SDL_Rect area{};
  if (!pixels || !Place(pixels->w, pixels->h, page, area)) {
    return glyph;
  }
  if (pages_[page].texture &&
      SDL_UpdateTexture(pages_[page].texture.get(), &area, pixels->pixels, pixels->pitch) != 0) {
    return glyph;
  }
  if (pages_[page].mask) {
    for (int y = 0; y < area.h; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(
          static_cast<const uint8_t*>(pixels->pixels) + static_cast<ptrdiff_t>(y) * pixels->pitch);
      uint8_t* coverage =
          &pages_[page].coverage[static_cast<size_t>(area.y + y) * kPageSize + area.x];
      for (int x = 0; x < area.w; ++x) {
        coverage[x] = static_cast<uint8_t>(row[x] >> 24);
      }
    }
  }
  glyph.page = page;
  glyph.area = area;
  glyph.inkCentre = InkCentre(*pixels);
  return glyph;
}

// Shelf packing: glyphs go left to right along a shelf as tall as the tallest of them; a glyph
// that does not fit opens a new shelf, and a full page a new page.
bool GlyphAtlas::Place(int width, int height, int& page, SDL_Rect& area) {
  const int paddedWidth = width + kGlyphGap;
  const int paddedHeight = height + kGlyphGap;
  if (paddedWidth > kPageSize || paddedHeight > kPageSize) {
    return false;
  }
  if (!pages_.empty()) {
    Page& last = pages_.back();
    if (last.shelfX + paddedWidth > kPageSize) {
      last.shelfY += last.shelfHeight;
      last.shelfX = 0;
      last.shelfHeight = 0;
    }
  }
  if (pages_.empty() || pages_.back().shelfY + paddedHeight > kPageSize) {
    Page added;
    if (!masks_) {
      added.texture = MakePage();
      if (!added.texture) {
        return false;
      }
    } else {
      added.coverage.assign(static_cast<size_t>(kPageSize) * kPageSize, 0);
      added.mask.reset(pixman_image_create_bits(PIXMAN_a8, kPageSize, kPageSize,
                                                reinterpret_cast<uint32_t*>(added.coverage.data()),
                                                kPageSize));
    }
    pages_.push_back(std::move(added));
  }
  Page& current = pages_.back();
  page = static_cast<int>(pages_.size()) - 1;
  area = {current.shelfX, current.shelfY, width, height};
  current.shelfX += paddedWidth;
  current.shelfHeight = std::max(current.shelfHeight, paddedHeight);
  return true;
}

TexturePtr GlyphAtlas::MakePage(const uint32_t* pixels) {
  TexturePtr texture(SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STATIC, kPageSize, kPageSize));
  if (!texture) {
    return nullptr;
  }
  std::vector<uint32_t> clear;
  if (!pixels) {
    clear.assign(static_cast<size_t>(kPageSize) * kPageSize, 0);
    pixels = clear.data();
  }
  SDL_UpdateTexture(texture.get(), nullptr, pixels, kPageSize * 4);
  SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeLinear);
  return texture;
}

bool GlyphAtlas::Textured(std::vector<GlyphQuad>& quads) {
  for (GlyphQuad& quad : quads) {
    Page& page = pages_[quad.pageNumber];
    if (!page.texture) {
      // The glyphs are white, their coverage their alpha, as SDL2_ttf renders them.
      std::vector<uint32_t> argb(page.coverage.size());
      std::transform(page.coverage.begin(), page.coverage.end(), argb.begin(),
                     [](uint8_t alpha) { return uint32_t{alpha} << 24 | 0xFFFFFF; });
      page.texture = MakePage(argb.data());
      if (!page.texture) {
        return false;
      }
    }
    quad.page = page.texture.get();
  }
  return true;
}

}  // namespace engine::sdl

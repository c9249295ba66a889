// Text in one font. Glyphs are rasterised with SDL2_ttf once per character and pixel size into
// shared atlas textures; a frame only draws quads cut from them.
#pragma once

#include <SDL.h>
#include <pixman.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/frame.h"
#include "sdl/sdl_handles.h"

namespace engine::sdl {

// One textured quad of a glyph, ready for the renderer.
struct GlyphQuad {
  // The atlas page for SDL to draw from; with coverage masks, only once the atlas has been asked
  // for it (GlyphAtlas::Textured).
  SDL_Texture* page;
  int pageNumber;
  SDL_FRect screen;  // virtual-screen pixels
  SDL_FRect source;  // texture coordinates, 0..1
  // The glyph's coverage for pixman, and its pixels in it; no mask when the atlas keeps none.
  pixman_image_t* mask;
  SDL_Rect area;
};

class GlyphAtlas {
 public:
  // Nothing when SDL2_ttf cannot open the bytes as a font. With `masks`, each page is also kept
  // as a coverage mask that pixman draws text through.
  static std::unique_ptr<GlyphAtlas> Open(SDL_Renderer* renderer, std::span<const uint8_t> ttf,
                                          bool masks = false);

  // The quads of a line of text, in drawing order, each glyph centred in its cell with the
  // font's ascent filling the cell's height; `native` says whether they are at their rasterised
  // size, on whole pixels.
  void LayOut(const TextRun& run, std::vector<GlyphQuad>& quads, bool* native = nullptr);

  // Gives every quad its page's texture, made from the page's coverage if SDL has not drawn
  // from it before: text at its rasterised size is drawn through the masks alone, so most pages
  // never need one. False when a texture cannot be made.
  bool Textured(std::vector<GlyphQuad>& quads);

  // Atlas pages made so far, for the tests that check glyphs are not rasterised again.
  size_t PageCount() const { return pages_.size(); }
  size_t GlyphCount() const;

 private:
  struct Glyph {
    int page = -1;    // -1: nothing to draw (a space, or a character the font cannot render)
    SDL_Rect area{};  // pixels in the page
    // The columns of the glyph's ink within its area, for centring it in its cell: a glyph's
    // own box carries its side bearings, which differ from letter to letter.
    float inkCentre = 0;
  };
  // One pixel size of the font.
  struct Strike {
    int pointSize = 0;
    int ascent = 0;  // pixels
    std::unordered_map<uint32_t, Glyph> glyphs;
  };
  struct MaskFree {
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
  };
  struct Page {
    TexturePtr texture;             // with masks, made at the first draw that needs it
    std::vector<uint8_t> coverage;  // one byte a pixel, rows of kPageSize
    std::unique_ptr<pixman_image_t, MaskFree> mask;
    int shelfX = 0;  // next free spot on the current shelf, pixels
    int shelfY = 0;
    int shelfHeight = 0;
  };

  GlyphAtlas(SDL_Renderer* renderer, std::vector<uint8_t> bytes, bool masks);

  Strike& StrikeFor(int pixels);
  const Glyph& GlyphOf(Strike& strike, uint32_t character);
  bool Place(int width, int height, int& page, SDL_Rect& area);
  // A blank page for SDL, or one holding `pixels` (kPageSize rows of ARGB8888).
  TexturePtr MakePage(const uint32_t* pixels = nullptr);

  SDL_Renderer* renderer_;
  bool masks_;
  std::vector<uint8_t> bytes_;  // SDL2_ttf reads the font from here for as long as it is open
  FontPtr font_;
  int currentPointSize_ = 0;
  int referenceAscent_ = 0;  // pixels, at kReferencePointSize
  std::map<int, Strike> strikes_;
  std::vector<Page> pages_;
};

}  // namespace engine::sdl

// The typefaces our pictures are lettered in, loaded from the font files the build names.
#pragma once

#include <cairo.h>

#include <string>
#include <string_view>

#include "assetgen/canvas.h"

namespace qbart {

enum class Face {
  kDisplay,   // wide techno capitals: titles, button labels (also the game's menu font)
  kText,      // plain, readable at small sizes: help text, captions
  kTextBold,  // the same, bold (also the game's HUD font)
};

struct FontFiles {
  std::string display;
  std::string text;
  std::string text_bold;
};

// Loads the three faces; they stay loaded until UnloadFonts. Throws when a file cannot be read.
void LoadFonts(const FontFiles& files);
void UnloadFonts();

enum class Align { kLeft, kCentre, kRight };

// Sets the face and pixel size on `cr`.
void UseFont(cairo_t* cr, Face face, double size);
double TextWidth(cairo_t* cr, std::string_view text);
// Adds the text outline to the path, its base line at y, aligned to x.
void TextPath(cairo_t* cr, std::string_view text, double x, double y, Align align);
// Fills the text in the current source.
void DrawText(cairo_t* cr, std::string_view text, double x, double y, Align align);

// Lettering with a soft halo: the halo in `glow`, the letters filled with a vertical gradient
// from `top` to `bottom` and edged with a thin dark outline for contrast on busy backgrounds.
struct Lettering {
  Face face = Face::kDisplay;
  double size = 24;
  Rgb top = Hex(0xFFFFFF);
  Rgb bottom = Hex(0xA8E8FF);
  Rgb glow = Hex(0x38C8FF);
  double glow_radius = 6;
  double glow_strength = 0.8;
  double outline = 0;  // width of the dark edge, 0 for none
};
void Letter(Canvas& canvas, std::string_view text, double x, double y, Align align,
            const Lettering& style);

}  // namespace qbart

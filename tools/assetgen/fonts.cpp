#include "assetgen/fonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <stdexcept>

namespace qbart {

namespace {

struct Loaded {
  FT_Library library = nullptr;
  std::array<FT_Face, 3> ft_faces{};
  std::array<cairo_font_face_t*, 3> faces{};
};

Loaded& Fonts() {
  static Loaded loaded;
  return loaded;
}

size_t Slot(Face face) {
  return static_cast<size_t>(face);
}

}  // namespace

void LoadFonts(const FontFiles& files) {
  Loaded& fonts = Fonts();
  if (FT_Init_FreeType(&fonts.library) != 0) {
    throw std::runtime_error("FreeType did not start");
  }
  const std::array<const std::string*, 3> paths = {&files.display, &files.text, &files.text_bold};
  for (size_t i = 0; i < paths.size(); ++i) {
    if (FT_New_Face(fonts.library, paths[i]->c_str(), 0, &fonts.ft_faces[i]) != 0) {
      throw std::runtime_error("cannot read the font " + *paths[i]);
    }
    fonts.faces[i] = cairo_ft_font_face_create_for_ft_face(fonts.ft_faces[i], 0);
  }
}

void UnloadFonts() {
  Loaded& fonts = Fonts();
  for (size_t i = 0; i < fonts.faces.size(); ++i) {
    if (fonts.faces[i] != nullptr) {
      cairo_font_face_destroy(fonts.faces[i]);
      FT_Done_Face(fonts.ft_faces[i]);
    }
  }
  if (fonts.library != nullptr) {
    FT_Done_FreeType(fonts.library);
  }
  fonts = Loaded{};
}

void UseFont(cairo_t* cr, Face face, double size) {
  cairo_set_font_face(cr, Fonts().faces[Slot(face)]);
  cairo_set_font_size(cr, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double TextWidth(cairo_t* cr, std::string_view text) {
  cairo_text_extents_t extents;
  const std::string copy(text);
  cairo_text_extents(cr, copy.c_str(), &extents);
  return extents.x_advance;
}

void TextPath(cairo_t* cr, std::string_view text, double x, double y, Align align) {
  const double width = TextWidth(cr, text);
  if (align == Align::kCentre) {
    x -= width / 2;
  } else if (align == Align::kRight) {
    x -= width;
  }
  const std::string copy(text);
  cairo_move_to(cr, x, y);
  cairo_text_path(cr, copy.c_str());
}

void DrawText(cairo_t* cr, std::string_view text, double x, double y, Align align) {
  cairo_new_path(cr);
  TextPath(cr, text, x, y, align);
  cairo_fill(cr);
}

void Letter(Canvas& canvas, std::string_view text, double x, double y, Align align,
            const Lettering& style) {
  auto path = [&](cairo_t* cr) {
    UseFont(cr, style.face, style.size);
    cairo_new_path(cr);
    TextPath(cr, text, x, y, align);
  };
  if (style.glow_strength > 0) {
    Glow(
        canvas,
        [&](cairo_t* cr) {
          path(cr);
          cairo_fill(cr);
        },
        style.glow, style.glow_radius, style.glow_strength);
  }
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  path(cr);
  if (style.outline > 0) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, style.outline * 2);
    cairo_set_source_rgba(cr, 0.0, 0.02, 0.08, 0.85);
    cairo_stroke_preserve(cr);
  }
  UsePattern(cr, VerticalGradient(y - style.size * 0.8, y, {{0, style.top}, {1, style.bottom}}));
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace qbart

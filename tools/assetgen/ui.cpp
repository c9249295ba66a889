#include "assetgen/ui.h"

#include <algorithm>
#include <cmath>

namespace qbart {

namespace {

void Chamfered(cairo_t* cr, Rect r, double c) {
  cairo_new_path(cr);
  cairo_move_to(cr, r.x + c, r.y);
  cairo_line_to(cr, r.x + r.w - c, r.y);
  cairo_line_to(cr, r.x + r.w, r.y + c);
  cairo_line_to(cr, r.x + r.w, r.y + r.h - c);
  cairo_line_to(cr, r.x + r.w - c, r.y + r.h);
  cairo_line_to(cr, r.x + c, r.y + r.h);
  cairo_line_to(cr, r.x, r.y + r.h - c);
  cairo_line_to(cr, r.x, r.y + c);
  cairo_close_path(cr);
}

}  // namespace

void GlassPanel(Canvas& canvas, Rect r, Rgb accent, double opacity) {
  cairo_t* cr = canvas.cr();
  const double c = 18;
  Glow(
      canvas,
      [&](cairo_t* g) {
        Chamfered(g, r, c);
        cairo_set_line_width(g, 3);
        cairo_stroke(g);
      },
      accent, 7, 0.9);
  Chamfered(cr, r, c);
  UsePattern(cr, VerticalGradient(r.y, r.y + r.h,
                                  {{0, Hex(0x0E1C3A), std::min(1.0, opacity + 0.01)},
                                   {0.5, Hex(0x081430), std::min(1.0, opacity - 0.01)},
                                   {1, Hex(0x040A1C), std::min(1.0, opacity + 0.02)}}));
  cairo_fill(cr);
  // A faint grid etched into the glass.
  cairo_save(cr);
  Chamfered(cr, r, c);
  cairo_clip(cr);
  cairo_set_line_width(cr, 1);
  SetColour(cr, accent, 0.05);
  for (double x = r.x + 12; x < r.x + r.w; x += 24) {
    cairo_move_to(cr, x + 0.5, r.y);
    cairo_line_to(cr, x + 0.5, r.y + r.h);
  }
  for (double y = r.y + 12; y < r.y + r.h; y += 24) {
    cairo_move_to(cr, r.x, y + 0.5);
    cairo_line_to(cr, r.x + r.w, y + 0.5);
  }
  cairo_stroke(cr);
  // Sheen across the top.
  UsePattern(cr, VerticalGradient(r.y, r.y + r.h * 0.3,
                                  {{0, Hex(0x9FD8FF), 0.16}, {1, Hex(0x9FD8FF), 0}}));
  cairo_paint(cr);
  cairo_restore(cr);
  // Bevel: a bright outer edge and a darker inner one.
  cairo_set_line_width(cr, 2);
  Chamfered(cr, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, c);
  UsePattern(cr,
             VerticalGradient(
                 r.y, r.y + r.h,
                 {{0, Mix(accent, Hex(0xFFFFFF), 0.5)}, {0.5, accent}, {1, Scale(accent, 0.5)}}));
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1);
  Chamfered(cr, {r.x + 4.5, r.y + 4.5, r.w - 9, r.h - 9}, c - 3);
  SetColour(cr, accent, 0.25);
  cairo_stroke(cr);
  // Corner brackets.
  cairo_set_line_width(cr, 3);
  SetColour(cr, Mix(accent, Hex(0xFFFFFF), 0.6));
  const double l = 26;
  for (int corner = 0; corner < 4; ++corner) {
    const double sx = corner % 2 == 0 ? 1 : -1;
    const double sy = corner < 2 ? 1 : -1;
    const double x = corner % 2 == 0 ? r.x + 1.5 : r.x + r.w - 1.5;
    const double y = corner < 2 ? r.y + 1.5 : r.y + r.h - 1.5;
    cairo_move_to(cr, x, y + sy * (c + l * 0.6));
    cairo_line_to(cr, x, y + sy * c);
    cairo_line_to(cr, x + sx * c, y);
    cairo_line_to(cr, x + sx * (c + l), y);
    cairo_stroke(cr);
  }
}

void Slot(Canvas& canvas, Rect r) {
  cairo_t* cr = canvas.cr();
  RoundedRect(cr, r.x, r.y, r.w, r.h, r.h / 2.5);
  UsePattern(
      cr, VerticalGradient(r.y, r.y + r.h, {{0, Hex(0x000000), 0.85}, {1, Hex(0x0A1830), 0.85}}));
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  RoundedRect(cr, r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1, r.h / 2.5);
  UsePattern(cr, VerticalGradient(r.y, r.y + r.h, {{0, Hex(0x000000), 0.9}, {1, kUiAccent, 0.6}}));
  cairo_stroke(cr);
}

Canvas TitlePlate(const std::string& title) {
  Canvas canvas(400, 100);
  cairo_t* cr = canvas.cr();
  const Rect plate{30, 28, 340, 48};
  Glow(
      canvas,
      [&](cairo_t* g) {
        Chamfered(g, plate, 16);
        cairo_fill(g);
      },
      kUiAccent, 10, 0.6);
  Chamfered(cr, plate, 16);
  UsePattern(cr, VerticalGradient(plate.y, plate.y + plate.h,
                                  {{0, Hex(0x1A3468)}, {0.5, Hex(0x0A1838)}, {1, Hex(0x050C20)}}));
  cairo_fill(cr);
  cairo_set_line_width(cr, 2);
  Chamfered(cr, {plate.x + 1, plate.y + 1, plate.w - 2, plate.h - 2}, 15);
  SetColour(cr, Mix(kUiAccent, Hex(0xFFFFFF), 0.3));
  cairo_stroke(cr);
  // Wings of light either side.
  for (int side = -1; side <= 1; side += 2) {
    const double x = side < 0 ? plate.x - 2 : plate.x + plate.w + 2;
    cairo_pattern_t* wing = cairo_pattern_create_linear(x, 0, x + side * 28, 0);
    cairo_pattern_add_color_stop_rgba(wing, 0, 0.6, 0.9, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(wing, 1, 0.2, 0.6, 1, 0);
    UsePattern(cr, wing);
    cairo_rectangle(cr, side < 0 ? x - 28 : x, plate.y + plate.h / 2 - 1.5, 28, 3);
    cairo_fill(cr);
  }
  Lettering style;
  style.size = 30;
  style.glow_radius = 8;
  style.outline = 1;
  Letter(canvas, title, 200, plate.y + plate.h / 2 + 11, Align::kCentre, style);
  return canvas;
}

Canvas ButtonPicture(int width, int height, const ButtonLook& look, bool lit) {
  Canvas canvas(width, height);
  cairo_t* cr = canvas.cr();
  const Rect b = look.body;
  const double c = std::min(look.chamfer, b.h / 2);
  if (lit) {
    Glow(
        canvas,
        [&](cairo_t* g) {
          Chamfered(g, b, c);
          cairo_fill(g);
        },
        look.accent, 9, 0.9);
  }
  Chamfered(cr, b, c);
  if (lit) {
    UsePattern(cr, VerticalGradient(b.y, b.y + b.h,
                                    {{0, Mix(look.accent, Hex(0x0A2A70), 0.35), 0.97},
                                     {0.5, Mix(look.accent, Hex(0x0A2A70), 0.6), 0.95},
                                     {1, Hex(0x061440), 0.97}}));
  } else {
    UsePattern(
        cr, VerticalGradient(
                b.y, b.y + b.h,
                {{0, Hex(0x24386A), 0.92}, {0.5, Hex(0x0E1A3C), 0.9}, {1, Hex(0x060C22), 0.95}}));
  }
  cairo_fill(cr);
  // Gloss on the upper half.
  cairo_save(cr);
  Chamfered(cr, b, c);
  cairo_clip(cr);
  UsePattern(cr, VerticalGradient(b.y, b.y + b.h * 0.5,
                                  {{0, Hex(0xFFFFFF), lit ? 0.35 : 0.18}, {1, Hex(0xFFFFFF), 0}}));
  cairo_rectangle(cr, b.x, b.y, b.w, b.h * 0.5);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_set_line_width(cr, 1.5);
  Chamfered(cr, {b.x + 0.75, b.y + 0.75, b.w - 1.5, b.h - 1.5}, c);
  SetColour(cr, lit ? Hex(0xFFFFFF) : Mix(look.accent, Hex(0x000000), 0.25), lit ? 0.95 : 0.9);
  cairo_stroke(cr);

  // Long labels shrink to fit their button.
  double size = look.font_size;
  UseFont(cr, look.face, size);
  while (size > 8 && TextWidth(cr, look.label) > b.w - 2 * c - 4) {
    size -= 0.5;
    UseFont(cr, look.face, size);
  }
  Lettering style;
  style.face = look.face;
  style.size = size;
  style.outline = lit ? 1.2 : 0.8;
  if (lit) {
    style.top = Hex(0xFFFFFF);
    style.bottom = Hex(0xFFF0C8);
    style.glow = Hex(0xFFD080);
    style.glow_radius = 5;
    style.glow_strength = 0.6;
  } else {
    style.top = Hex(0xF0F6FF);
    style.bottom = Hex(0x8CB8E8);
    style.glow_strength = 0.25;
  }
  // Centres the capitals: the cap height of our faces is about 0.7 of their size.
  const double baseline = b.y + b.h / 2 + size * 0.35;
  Letter(canvas, look.label, b.x + b.w / 2, baseline, Align::kCentre, style);
  return canvas;
}

}  // namespace qbart

namespace qbart {

Canvas RowLight(int width, int height, Rect bar) {
  Canvas canvas(width, height);
  cairo_t* cr = canvas.cr();
  Glow(
      canvas,
      [&](cairo_t* g) {
        RoundedRect(g, bar.x, bar.y, bar.w, bar.h, bar.h / 2);
        cairo_set_line_width(g, 2);
        cairo_stroke(g);
      },
      kUiAccent, 5, 0.8);
  RoundedRect(cr, bar.x, bar.y, bar.w, bar.h, bar.h / 2);
  cairo_pattern_t* fill = cairo_pattern_create_linear(bar.x, 0, bar.x + bar.w, 0);
  cairo_pattern_add_color_stop_rgba(fill, 0, 0.25, 0.8, 1, 0.45);
  cairo_pattern_add_color_stop_rgba(fill, 0.6, 0.2, 0.6, 1, 0.18);
  cairo_pattern_add_color_stop_rgba(fill, 1, 0.2, 0.6, 1, 0.08);
  UsePattern(cr, fill);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  RoundedRect(cr, bar.x + 0.5, bar.y + 0.5, bar.w - 1, bar.h - 1, bar.h / 2);
  SetColour(cr, Mix(kUiAccent, Hex(0xFFFFFF), 0.4), 0.8);
  cairo_stroke(cr);
  // A pointer at the left end.
  const double cy = bar.y + bar.h / 2;
  cairo_move_to(cr, bar.x + 6, cy - 5);
  cairo_line_to(cr, bar.x + 12, cy);
  cairo_line_to(cr, bar.x + 6, cy + 5);
  cairo_close_path(cr);
  SetColour(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
  return canvas;
}

void Chevrons(Canvas& canvas, Rect body, bool left, bool right, bool lit) {
  cairo_t* cr = canvas.cr();
  cairo_set_source_rgba(cr, 1, 1, 1, lit ? 1.0 : 0.8);
  const double cy = body.y + body.h / 2;
  const double s = body.h * 0.2;
  if (left) {
    const double x = body.x + 14;
    cairo_move_to(cr, x, cy);
    cairo_line_to(cr, x + s * 1.3, cy - s);
    cairo_line_to(cr, x + s * 1.3, cy + s);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  if (right) {
    const double x = body.x + body.w - 14;
    cairo_move_to(cr, x, cy);
    cairo_line_to(cr, x - s * 1.3, cy - s);
    cairo_line_to(cr, x - s * 1.3, cy + s);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
}

}  // namespace qbart

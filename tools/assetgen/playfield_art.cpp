// Blocks, balls, the paddle with its gun, missiles and the escort platform.
#include <algorithm>
#include <cmath>
#include <string>

#include "assetgen/art.h"
#include "assetgen/objects.h"
#include "assetgen/random.h"

namespace qbart {

namespace {

// Colour of the glass of block kinds 1..3; the stronger kinds wear the colour of what they
// become, so a player can read how many hits are left.
Rgb BlockHue(int kind) {
  switch ((kind - 1) % 3) {
    case 0:
      return Hex(0x2F9BFF);  // azure, 20 points
    case 1:
      return Hex(0x2FE08A);  // emerald, 40 points
    default:
      return Hex(0xFF4FA8);  // rose, 60 points
  }
}

void Glass(cairo_t* cr, double x, double y, double w, double h, double r, Rgb hue) {
  RoundedRect(cr, x, y, w, h, r);
  UsePattern(cr, VerticalGradient(y, y + h,
                                  {{0, Mix(hue, Hex(0xFFFFFF), 0.55)},
                                   {0.45, hue},
                                   {1, Mix(hue, Hex(0x000010), 0.55)}}));
  cairo_fill(cr);
  // A soft inner light.
  UsePattern(cr, RadialGradient(x + w / 2, y + h * 0.55, 0, w * 0.45,
                                {{0, Mix(hue, Hex(0xFFFFFF), 0.5), 0.55}, {1, hue, 0}}));
  RoundedRect(cr, x, y, w, h, r);
  cairo_fill(cr);
  // Gloss on the upper half.
  RoundedRect(cr, x + 1.5, y + 1.2, w - 3, h * 0.42, r * 0.8);
  UsePattern(
      cr, VerticalGradient(y, y + h * 0.45, {{0, Hex(0xFFFFFF), 0.55}, {1, Hex(0xFFFFFF), 0.05}}));
  cairo_fill(cr);
  // Bevel: a lit rim along the top and a dark one along the bottom.
  cairo_set_line_width(cr, 1.2);
  RoundedRect(cr, x + 1.1, y + 1.1, w - 2.2, h - 2.2, r * 0.85);
  UsePattern(cr, VerticalGradient(y, y + h,
                                  {{0, Hex(0xFFFFFF), 0.85},
                                   {0.5, Mix(hue, Hex(0xFFFFFF), 0.3), 0.35},
                                   {1, Hex(0x000000), 0.45}}));
  cairo_stroke(cr);
}

void Bevel(cairo_t* cr, double x, double y, double w, double h, double r, double light) {
  cairo_set_line_width(cr, 1);
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
  cairo_set_source_rgba(cr, 0.02, 0.02, 0.06, 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, x + r, y + 1.5);
  cairo_line_to(cr, x + w - r, y + 1.5);
  cairo_set_source_rgba(cr, 1, 1, 1, light);
  cairo_stroke(cr);
}

void Rivet(cairo_t* cr, double x, double y, double r) {
  UsePattern(cr, RadialGradient(x - r * 0.3, y - r * 0.3, 0, r,
                                {{0, Hex(0xFFFFFF)}, {0.5, Hex(0xA0A8B8)}, {1, Hex(0x30343C)}}));
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_fill(cr);
}

// A frame of brushed metal round a glass core: gold for stacks, steel for the tough kinds.
void MetalFrame(cairo_t* cr, double w, double h, bool gold) {
  const Rgb light = gold ? Hex(0xFFE9A0) : Hex(0xE4EAF2);
  const Rgb mid = gold ? Hex(0xC9962E) : Hex(0x8C96A6);
  const Rgb dark = gold ? Hex(0x5A3A08) : Hex(0x2C323C);
  RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 4);
  UsePattern(
      cr, VerticalGradient(0, h, {{0, light}, {0.35, mid}, {0.7, Mix(mid, dark, 0.5)}, {1, dark}}));
  cairo_fill(cr);
}

}  // namespace

Canvas Block(int kind) {
  Canvas canvas(40, 30);
  cairo_t* cr = canvas.cr();
  if (kind == 10) {
    // Armoured: dark gunmetal, hazard chevrons and a molten slit. It shrugs off normal balls.
    RoundedRect(cr, 0.5, 0.5, 39, 29, 3);
    UsePattern(cr, VerticalGradient(
                       0, 30, {{0, Hex(0x7A828E)}, {0.3, Hex(0x464C56)}, {1, Hex(0x16181E)}}));
    cairo_fill(cr);
    cairo_save(cr);
    RoundedRect(cr, 4, 9, 32, 12, 2);
    cairo_clip(cr);
    SetColour(cr, Hex(0x1A1208));
    cairo_paint(cr);
    for (int stripe = -2; stripe < 8; ++stripe) {
      cairo_move_to(cr, stripe * 8, 21);
      cairo_line_to(cr, stripe * 8 + 4, 21);
      cairo_line_to(cr, stripe * 8 + 10, 9);
      cairo_line_to(cr, stripe * 8 + 6, 9);
      cairo_close_path(cr);
    }
    SetColour(cr, Hex(0xFF8C1A));
    cairo_fill(cr);
    cairo_restore(cr);
    Glow(
        canvas,
        [](cairo_t* c) {
          RoundedRect(c, 4, 9, 32, 12, 2);
          cairo_fill(c);
        },
        Hex(0xFF6A00), 4, 0.5);
    for (double x : {4.0, 36.0}) {
      for (double y : {4.5, 25.5}) {
        Rivet(cr, x, y, 1.8);
      }
    }
    Bevel(cr, 0, 0, 40, 30, 3, 0.6);
    return canvas;
  }
  const Rgb hue = BlockHue(kind);
  if (kind <= 3) {
    Glass(cr, 0.5, 0.5, 39, 29, 4, hue);
    Bevel(cr, 0, 0, 40, 30, 4, 0.7);
    return canvas;
  }
  const bool stack = kind >= 7;
  MetalFrame(cr, 40, 30, stack);
  Glass(cr, 4, 4, 32, 22, 3, hue);
  cairo_set_line_width(cr, 1);
  RoundedRect(cr, 3.5, 3.5, 33, 23, 3);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_stroke(cr);
  if (stack) {
    // Three nested plates: this block holds more blocks.
    for (int i = 0; i < 3; ++i) {
      RoundedRect(cr, 11 + i * 3, 8 + i * 3, 18 - i * 6, 14 - i * 6, 2);
      cairo_set_source_rgba(cr, 1, 0.95, 0.7, 0.9 - i * 0.2);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
    }
  } else {
    for (double x : {2.5, 37.5}) {
      for (double y : {2.5, 27.5}) {
        Rivet(cr, x, y, 1.4);
      }
    }
  }
  Bevel(cr, 0, 0, 40, 30, 4, 0.8);
  return canvas;
}

Canvas BlockDebris(int kind) {
  Canvas canvas(16, 15);
  cairo_t* cr = canvas.cr();
  Rng rng(static_cast<uint64_t>(kind) * 31 + 7);
  const Rgb hue = kind == 10 ? Hex(0x6A707C) : BlockHue(kind);
  const Rgb edge = kind == 10  ? Hex(0xFF8C1A)
                   : kind >= 7 ? Hex(0xFFD966)
                               : Mix(hue, Hex(0xFFFFFF), 0.6);
  const double points[][2] = {{2, 3}, {9, 1}, {15, 6}, {12, 14}, {4, 12}};
  cairo_new_path(cr);
  for (const auto& p : points) {
    cairo_line_to(cr, p[0] + rng.Range(-1.2, 1.2), p[1] + rng.Range(-1.2, 1.2));
  }
  cairo_close_path(cr);
  UsePattern(cr,
             VerticalGradient(0, 15, {{0, Mix(hue, Hex(0xFFFFFF), 0.5)}, {1, Scale(hue, 0.45)}}));
  cairo_fill_preserve(cr);
  SetColour(cr, edge, 0.95);
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
  return canvas;
}

Canvas Ball() {
  Canvas canvas(100, 100);
  cairo_t* cr = canvas.cr();
  // Faint halo, then the 20-pixel orb of plasma.
  UsePattern(cr, RadialGradient(50, 50, 8, 17, {{0, Hex(0x4AB8FF), 0.45}, {1, Hex(0x1040FF), 0}}));
  cairo_arc(cr, 50, 50, 17, 0, 2 * M_PI);
  cairo_fill(cr);
  UsePattern(
      cr,
      RadialGradient(
          47, 47, 0, 10.5,
          {{0, Hex(0xFFFFFF)}, {0.35, Hex(0xA8ECFF)}, {0.75, Hex(0x2E8CFF)}, {1, Hex(0x0A2A90)}}));
  cairo_arc(cr, 50, 50, 10, 0, 2 * M_PI);
  cairo_fill(cr);
  // Swirls, so the spin shows.
  cairo_save(cr);
  cairo_arc(cr, 50, 50, 9.6, 0, 2 * M_PI);
  cairo_clip(cr);
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int arm = 0; arm < 3; ++arm) {
    const double a = arm * 2 * M_PI / 3;
    cairo_arc(cr, 50 + std::cos(a) * 4, 50 + std::sin(a) * 4, 6.5, a + 0.6, a + 2.2);
    cairo_set_source_rgba(cr, 0.85, 0.97, 1, 0.55);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  cairo_arc(cr, 50, 50, 9.6, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 0.7, 0.92, 1, 0.9);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  return canvas;
}

Canvas BallGlare() {
  Canvas canvas(100, 100);
  cairo_t* cr = canvas.cr();
  UsePattern(cr, RadialGradient(46, 45, 0, 5, {{0, Hex(0xFFFFFF), 0.95}, {1, Hex(0xFFFFFF), 0}}));
  cairo_arc(cr, 46, 45, 5, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_arc(cr, 50, 50, 8.2, M_PI * 0.1, M_PI * 0.55);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
  cairo_set_line_width(cr, 1.2);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  return canvas;
}

Canvas BallArmoured() {
  Canvas canvas(100, 100);
  cairo_t* cr = canvas.cr();
  UsePattern(cr, RadialGradient(50, 50, 8, 18, {{0, Hex(0xFF7A1A), 0.55}, {1, Hex(0xFF2000), 0}}));
  cairo_arc(cr, 50, 50, 18, 0, 2 * M_PI);
  cairo_fill(cr);
  // Short studs round the rim.
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    cairo_move_to(cr, 50 + std::cos(a - 0.3) * 9, 50 + std::sin(a - 0.3) * 9);
    cairo_line_to(cr, 50 + std::cos(a) * 12.5, 50 + std::sin(a) * 12.5);
    cairo_line_to(cr, 50 + std::cos(a + 0.3) * 9, 50 + std::sin(a + 0.3) * 9);
    cairo_close_path(cr);
  }
  SetColour(cr, Hex(0xFFB347));
  cairo_fill(cr);
  UsePattern(
      cr,
      RadialGradient(
          46, 46, 0, 10.5,
          {{0, Hex(0xFFF4E0)}, {0.3, Hex(0xC8CCD4)}, {0.7, Hex(0x6C7280)}, {1, Hex(0x24262C)}}));
  cairo_arc(cr, 50, 50, 10, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_arc(cr, 50, 50, 6, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 1, 0.45, 0.1, 0.9);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_move_to(cr, 44, 50);
  cairo_line_to(cr, 56, 50);
  cairo_move_to(cr, 50, 44);
  cairo_line_to(cr, 50, 56);
  cairo_set_source_rgba(cr, 1, 0.6, 0.2, 0.8);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  return canvas;
}

namespace {

struct PaddleShape {
  int width, height;   // picture
  double body_height;  // 2 x half height x 25
  double gun_height;   // gun picture
  double gun_lift;     // gun offset k, in pixels
  int gun_width;
  double barrels[5];
  int barrel_count;
};

const PaddleShape& Shape(int size) {
  static const PaddleShape shapes[] = {
      {140, 65, 32, 34, 47.5, 91, {-37.5, 37.5}, 2},
      {95, 50, 24, 25, 37.5, 56, {-25, 25}, 2},
      {185, 58, 28, 35, 47.5, 139, {-50, 50}, 2},
      {235, 57, 28, 42, 42.5, 188, {-87.5, -62.5, 0, 62.5, 87.5}, 5},
  };
  return shapes[size - 1];
}

}  // namespace

Canvas PaddleBody(int size, int mode) {
  const PaddleShape& shape = Shape(size);
  Canvas canvas(shape.width, shape.height);
  cairo_t* cr = canvas.cr();
  const double w = shape.width;
  const double bh = shape.body_height;
  // The picture sits 10 pixels higher than the paddle's position, so the body is drawn 10
  // pixels below the picture's middle to land on the collision box.
  const double cy = shape.height / 2.0 + 10;
  const double top = cy - bh / 2;
  const Rgb accent = mode == 2 ? Hex(0x5CFF6A) : mode == 3 ? Hex(0xFF5A3C) : Hex(0x3CC8FF);

  if (mode == 3) {
    for (int i = 0; i < shape.barrel_count; ++i) {
      const double x = w / 2 + shape.barrels[i];
      const double mount_top = cy - shape.gun_lift + shape.gun_height / 2 - 2;
      cairo_rectangle(cr, x - 4.5, mount_top, 9, top - mount_top + 3);
      UsePattern(cr, VerticalGradient(mount_top, top, {{0, Hex(0x9AA4B4)}, {1, Hex(0x3A404A)}}));
      cairo_fill(cr);
      cairo_rectangle(cr, x - 4.5, mount_top, 9, top - mount_top + 3);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.7);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
    }
  }

  // Thrusters under the hull, their flames in the picture's spare bottom edge.
  for (double at : {0.3, 0.7}) {
    const double x = w * at;
    cairo_move_to(cr, x - 7, top + bh - 2);
    cairo_line_to(cr, x + 7, top + bh - 2);
    cairo_line_to(cr, x + 5, top + bh + 3);
    cairo_line_to(cr, x - 5, top + bh + 3);
    cairo_close_path(cr);
    SetColour(cr, Hex(0x30343E));
    cairo_fill(cr);
    Glow(
        canvas,
        [&](cairo_t* g) {
          cairo_arc(g, x, top + bh + 4, 3.5, 0, 2 * M_PI);
          cairo_fill(g);
        },
        Hex(0xFF9A3C), 3, 1.0);
  }

  // Hull: a steel capsule with engine pods at both ends.
  const double pod = bh;
  RoundedRect(cr, 0.5, top, w - 1, bh, bh * 0.5);
  UsePattern(cr, VerticalGradient(top, top + bh,
                                  {{0, Hex(0xF4F8FF)},
                                   {0.18, Hex(0xB4BECC)},
                                   {0.5, Hex(0x6E7888)},
                                   {0.8, Hex(0x3A404C)},
                                   {1, Hex(0x1C2028)}}));
  cairo_fill(cr);
  // Accent strip along the hull.
  const double strip_y = top + bh * 0.52;
  Glow(
      canvas,
      [&](cairo_t* c) {
        cairo_rectangle(c, pod * 0.9, strip_y - 1.5, w - pod * 1.8, 3);
        cairo_fill(c);
      },
      accent, 3, 1.0);
  cairo_rectangle(cr, pod * 0.9, strip_y - 1, w - pod * 1.8, 2);
  SetColour(cr, Mix(accent, Hex(0xFFFFFF), 0.6));
  cairo_fill(cr);
  // Panel seams.
  cairo_set_line_width(cr, 1);
  for (double x : {pod * 0.95, w - pod * 0.95}) {
    cairo_move_to(cr, x, top + 2);
    cairo_line_to(cr, x, top + bh - 2);
    cairo_set_source_rgba(cr, 0.05, 0.06, 0.1, 0.8);
    cairo_stroke(cr);
  }
  // A dark glass canopy in the middle of the hull.
  const double canopy_w = std::min(w * 0.3, 48.0);
  RoundedRect(cr, w / 2 - canopy_w / 2, top + bh * 0.2, canopy_w, bh * 0.6, bh * 0.3);
  UsePattern(cr, VerticalGradient(top + bh * 0.2, top + bh * 0.8,
                                  {{0, Hex(0x4A6A9A)}, {0.45, Hex(0x101C34)}, {1, Hex(0x050A14)}}));
  cairo_fill_preserve(cr);
  SetColour(cr, Scale(accent, 0.8));
  cairo_stroke(cr);
  RoundedRect(cr, w / 2 - canopy_w / 2 + 4, top + bh * 0.26, canopy_w * 0.45, bh * 0.12, 2);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
  cairo_fill(cr);
  // Engine pods: glowing cores at both ends.
  for (double x : {pod / 2 + 1, w - pod / 2 - 1}) {
    UsePattern(cr, RadialGradient(x, cy, 0, pod * 0.32,
                                  {{0, Hex(0xFFFFFF)}, {0.4, accent}, {1, Scale(accent, 0.2)}}));
    cairo_arc(cr, x, cy, pod * 0.3, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  // Outline and top highlight.
  RoundedRect(cr, 0.5, top, w - 1, bh, bh * 0.5);
  cairo_set_source_rgba(cr, 0.02, 0.03, 0.08, 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, bh * 0.5, top + 1.5);
  cairo_line_to(cr, w - bh * 0.5, top + 1.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
  cairo_stroke(cr);

  if (mode == 2) {
    // Sticky: a layer of glowing goo on the top with drips.
    cairo_new_path(cr);
    cairo_move_to(cr, bh * 0.45, top + 3);
    Rng rng(static_cast<uint64_t>(size) * 5 + 1);
    for (double x = bh * 0.45; x < w - bh * 0.45; x += 7) {
      cairo_line_to(cr, x, top - 1.5 + rng.Range(-0.8, 0.8));
    }
    cairo_line_to(cr, w - bh * 0.45, top + 3);
    for (double x = w - bh * 0.6; x > bh * 0.6; x -= 11) {
      const double drip = rng.Range(2, 6);
      cairo_line_to(cr, x, top + 3);
      cairo_curve_to(cr, x - 1, top + 3 + drip, x - 4, top + 3 + drip, x - 5, top + 3);
    }
    cairo_close_path(cr);
    SetColour(cr, Hex(0x5CFF6A), 0.85);
    cairo_fill(cr);
    Glow(
        canvas,
        [&](cairo_t* c) {
          cairo_rectangle(c, bh * 0.45, top - 2, w - bh * 0.9, 4);
          cairo_fill(c);
        },
        Hex(0x5CFF6A), 4, 0.8);
  }
  return canvas;
}

Canvas PaddleGun(int size) {
  const PaddleShape& shape = Shape(size);
  Canvas canvas(shape.gun_width, static_cast<int>(shape.gun_height));
  cairo_t* cr = canvas.cr();
  const double h = shape.gun_height;
  for (int i = 0; i < shape.barrel_count; ++i) {
    const double x = shape.gun_width / 2.0 + shape.barrels[i];
    // Breech block, barrel, muzzle.
    RoundedRect(cr, x - 5.5, h - 11, 11, 11, 2);
    UsePattern(cr, VerticalGradient(h - 11, h, {{0, Hex(0xC8D0DC)}, {1, Hex(0x454C58)}}));
    cairo_fill(cr);
    cairo_rectangle(cr, x - 2.5, 4, 5, h - 12);
    cairo_pattern_t* metal = cairo_pattern_create_linear(x - 2.5, 0, x + 2.5, 0);
    cairo_pattern_add_color_stop_rgb(metal, 0, 0.35, 0.38, 0.44);
    cairo_pattern_add_color_stop_rgb(metal, 0.4, 0.92, 0.95, 1);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.25, 0.27, 0.32);
    UsePattern(cr, metal);
    cairo_fill(cr);
    Glow(
        canvas,
        [&](cairo_t* c) {
          cairo_arc(c, x, 4, 3, 0, 2 * M_PI);
          cairo_fill(c);
        },
        Hex(0xFF5A3C), 3, 1.2);
    RoundedRect(cr, x - 3.5, 1.5, 7, 4, 1);
    SetColour(cr, Hex(0xFF8A5A));
    cairo_fill(cr);
  }
  return canvas;
}

Canvas PaddlePiece(int piece) {
  static const int sizes[][2] = {{35, 31}, {35, 26}, {26, 22}, {31, 33}, {30, 26}};
  const int w = sizes[piece - 1][0];
  const int h = sizes[piece - 1][1];
  Canvas canvas(w, h);
  cairo_t* cr = canvas.cr();
  Rng rng(static_cast<uint64_t>(piece) * 97);
  cairo_new_path(cr);
  const int corners = 6;
  for (int i = 0; i < corners; ++i) {
    const double a = i * 2 * M_PI / corners + rng.Range(-0.3, 0.3);
    const double r = rng.Range(0.55, 0.95);
    cairo_line_to(cr, w / 2.0 + std::cos(a) * w / 2 * r, h / 2.0 + std::sin(a) * h / 2 * r);
  }
  cairo_close_path(cr);
  UsePattern(
      cr, VerticalGradient(0, h, {{0, Hex(0xDCE2EC)}, {0.5, Hex(0x7A8492)}, {1, Hex(0x262A32)}}));
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 1, 0.55, 0.2, 0.95);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  return canvas;
}

Canvas Missile(int frame) {
  Canvas canvas(18, 49);
  cairo_t* cr = canvas.cr();
  const double flame = frame == 1 ? 12 : 9;
  Glow(
      canvas,
      [](cairo_t* c) {
        RoundedRect(c, 6, 4, 6, 34, 3);
        cairo_fill(c);
      },
      Hex(0xFF4A20), 3.5, 1.2);
  // Exhaust below the bolt.
  cairo_move_to(cr, 5.5, 37);
  cairo_curve_to(cr, 6, 37 + flame * 0.6, 8.5, 37 + flame, 9, 37 + flame);
  cairo_curve_to(cr, 9.5, 37 + flame, 12, 37 + flame * 0.6, 12.5, 37);
  cairo_close_path(cr);
  UsePattern(
      cr, VerticalGradient(37, 37 + flame,
                           {{0, Hex(0xFFF0A0)}, {0.5, Hex(0xFF8A20), 0.8}, {1, Hex(0xFF3000), 0}}));
  cairo_fill(cr);
  RoundedRect(cr, 6, 2, 6, 36, 3);
  cairo_pattern_t* body = cairo_pattern_create_linear(6, 0, 12, 0);
  cairo_pattern_add_color_stop_rgb(body, 0, 1, 0.35, 0.15);
  cairo_pattern_add_color_stop_rgb(body, 0.5, 1, 0.97, 0.85);
  cairo_pattern_add_color_stop_rgb(body, 1, 1, 0.35, 0.15);
  UsePattern(cr, body);
  cairo_fill(cr);
  return canvas;
}

Canvas EscortPlatform() {
  Canvas canvas(129, 33);
  cairo_t* cr = canvas.cr();
  // A flat drone as wide as its 130-pixel bumper, thrusters glowing underneath.
  for (double x : {22.0, 64.5, 107.0}) {
    Glow(
        canvas,
        [&](cairo_t* c) {
          cairo_arc(c, x, 27, 4, 0, 2 * M_PI);
          cairo_fill(c);
        },
        Hex(0x40A8FF), 4, 1.2);
  }
  cairo_move_to(cr, 0.5, 12);
  cairo_line_to(cr, 10, 4);
  cairo_line_to(cr, 119, 4);
  cairo_line_to(cr, 128.5, 12);
  cairo_line_to(cr, 122, 26);
  cairo_line_to(cr, 7, 26);
  cairo_close_path(cr);
  UsePattern(
      cr,
      VerticalGradient(
          4, 26,
          {{0, Hex(0xE8F0FA)}, {0.3, Hex(0x9AA6B8)}, {0.7, Hex(0x4A5466)}, {1, Hex(0x1E2430)}}));
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0.02, 0.03, 0.08, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (int i = 0; i < 7; ++i) {
    const double x = 22 + i * 14.2;
    cairo_rectangle(cr, x - 3, 14, 6, 3);
    SetColour(cr, i % 2 == 0 ? Hex(0x7CE0FF) : Hex(0x2A80FF));
    cairo_fill(cr);
  }
  cairo_move_to(cr, 11, 5.5);
  cairo_line_to(cr, 118, 5.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
  cairo_stroke(cr);
  return canvas;
}

// The game's icon: a paddle under a ball and three rows of glass blocks on deep space, drawn
// for each size rather than scaled, so the small ones stay sharp.
Canvas Icon(int size) {
  Canvas canvas(size, size);
  cairo_t* cr = canvas.cr();
  cairo_scale(cr, size / 512.0, size / 512.0);
  RoundedRect(cr, 16, 16, 480, 480, 96);
  UsePattern(cr, VerticalGradient(16, 496,
                                  {{0, Hex(0x17205A)}, {0.6, Hex(0x070B26)}, {1, Hex(0x02030C)}}));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 10);
  SetColour(cr, Hex(0x4AB8FF), 0.6);
  cairo_stroke(cr);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      Glass(cr, 70 + column * 128, 76 + row * 62, 116, 50, 12, BlockHue(3 - row));
    }
  }
  UsePattern(cr,
             RadialGradient(256, 318, 30, 76, {{0, Hex(0x4AB8FF), 0.55}, {1, Hex(0x1040FF), 0}}));
  cairo_arc(cr, 256, 318, 76, 0, 2 * M_PI);
  cairo_fill(cr);
  UsePattern(
      cr,
      RadialGradient(
          244, 306, 0, 44,
          {{0, Hex(0xFFFFFF)}, {0.35, Hex(0xA8ECFF)}, {0.75, Hex(0x2E8CFF)}, {1, Hex(0x0A2A90)}}));
  cairo_arc(cr, 256, 318, 42, 0, 2 * M_PI);
  cairo_fill(cr);
  RoundedRect(cr, 116, 404, 280, 46, 23);
  UsePattern(cr, VerticalGradient(404, 450,
                                  {{0, Hex(0xE4EAF2)}, {0.4, Hex(0x8C96A6)}, {1, Hex(0x2C323C)}}));
  cairo_fill(cr);
  RoundedRect(cr, 190, 412, 132, 30, 15);
  UsePattern(cr, VerticalGradient(412, 442, {{0, Hex(0xA8ECFF)}, {1, Hex(0x2E8CFF)}}));
  cairo_fill(cr);
  return canvas;
}

void MakeIcons(Output& out) {
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    out.Write("icons/hicolor/" + name + "/apps/quasarball.png", Icon(size).Png());
  }
}

void MakePlayfieldArt(Output& out) {
  PackBuilder blocks("data/Blocks.dat", out);
  PackBuilder debris("data/BlocksExplo.dat", out);
  for (int kind = 1; kind <= 10; ++kind) {
    blocks.Add(kind - 1, Block(kind));
    debris.Add(kind - 1, BlockDebris(kind));
  }
  blocks.Finish();
  debris.Finish();

  PackBuilder paddle("data/Bita.dat", out);
  for (int size = 1; size <= 4; ++size) {
    for (int mode = 1; mode <= 3; ++mode) {
      paddle.Add((size - 1) * 3 + (mode - 1), PaddleBody(size, mode));
    }
    paddle.Add(11 + size, PaddleGun(size));
  }
  paddle.Add(16, Missile(1));
  paddle.Add(17, Missile(2));
  for (int piece = 1; piece <= 5; ++piece) {
    paddle.Add(17 + piece, PaddlePiece(piece));
  }
  paddle.Finish();

  out.WritePicture("data/Bubble.png", Ball());
  out.WritePicture("data/BubbleGlare.png", BallGlare());
  out.WritePicture("data/BubbleArmored.png", BallArmoured());
  out.WritePicture("data/DB.png", EscortPlatform());
}

}  // namespace qbart

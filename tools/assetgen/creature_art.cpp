// Enemies, asteroids, explosion frames and the falling bonus capsules.
#include <algorithm>
#include <cmath>
#include <string>

#include "assetgen/art.h"
#include "assetgen/fonts.h"
#include "assetgen/objects.h"
#include "assetgen/random.h"
#include "assetgen/space.h"

namespace qbart {

namespace {

// Phase 0..1 of an enemy animation frame: the game plays frames 1-2-3-4-5-4-3-2, so frame 1
// and frame 5 are the two ends of one swing.
double Swing(int frame) {
  return (frame - 1) / 4.0;
}

void Eye(cairo_t* cr, double x, double y, double r, Rgb iris, double look) {
  UsePattern(cr, RadialGradient(x, y, 0, r, {{0, Hex(0xFFFFFF)}, {1, Hex(0xC8D0E0)}}));
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_fill(cr);
  UsePattern(
      cr, RadialGradient(x + look, y, 0, r * 0.6, {{0, Mix(iris, Hex(0xFFFFFF), 0.4)}, {1, iris}}));
  cairo_arc(cr, x + look, y, r * 0.55, 0, 2 * M_PI);
  cairo_fill(cr);
  SetColour(cr, Hex(0x000000));
  cairo_arc(cr, x + look, y, r * 0.25, 0, 2 * M_PI);
  cairo_fill(cr);
  SetColour(cr, Hex(0xFFFFFF), 0.9);
  cairo_arc(cr, x + look - r * 0.2, y - r * 0.25, r * 0.12, 0, 2 * M_PI);
  cairo_fill(cr);
}

// Kind 1: a manta drone, 94 x 65. Body 48 x 52 in the middle; glowing wings beat.
void MantaDrone(Canvas& canvas, int frame) {
  cairo_t* cr = canvas.cr();
  const double cx = 47, cy = 32.5;
  const double beat = std::sin((Swing(frame) - 0.5) * M_PI);  // -1 wings up .. 1 down
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(cr);
    cairo_move_to(cr, cx + side * 14, cy - 8);
    cairo_curve_to(cr, cx + side * 30, cy - 20 + beat * 14, cx + side * 42, cy - 14 + beat * 22,
                   cx + side * 46, cy - 4 + beat * 24);
    cairo_curve_to(cr, cx + side * 36, cy + 2 + beat * 12, cx + side * 26, cy + 8, cx + side * 14,
                   cy + 10);
    cairo_close_path(cr);
    UsePattern(cr, RadialGradient(cx + side * 16, cy, 4, 36,
                                  {{0, Hex(0xE070FF), 0.95}, {1, Hex(0x6020C0), 0.55}}));
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 1, 0.7, 1, 0.8);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 24, 26);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  UsePattern(cr, RadialGradient(cx - 6, cy - 9, 2, 30,
                                {{0, Hex(0xD8B0FF)}, {0.5, Hex(0x7A2CC8)}, {1, Hex(0x200840)}}));
  cairo_fill(cr);
  // Armour plates and a single eye.
  cairo_set_line_width(cr, 1.3);
  for (int i = -1; i <= 1; ++i) {
    cairo_arc(cr, cx, cy + 30, 36 + i * 7, -M_PI * 0.72, -M_PI * 0.28);
    cairo_set_source_rgba(cr, 0.95, 0.75, 1, 0.35);
    cairo_stroke(cr);
  }
  Eye(cr, cx, cy - 2, 9, Hex(0xFF3A3A), (Swing(frame) - 0.5) * 4);
  Glow(
      canvas,
      [&](cairo_t* c) {
        cairo_arc(c, cx, cy + 17, 4, 0, 2 * M_PI);
        cairo_fill(c);
      },
      Hex(0xFF60E0), 4, 1.0 + Swing(frame));
}

// Kind 2: a spiked mine, 70 x 70, its 48-pixel shell turning and its core pulsing.
void SpikedMine(Canvas& canvas, int frame) {
  cairo_t* cr = canvas.cr();
  const double cx = 35, cy = 35;
  const double turn = Swing(frame) * M_PI / 8;
  for (int i = 0; i < 8; ++i) {
    const double a = turn + i * M_PI / 4;
    cairo_move_to(cr, cx + std::cos(a - 0.22) * 20, cy + std::sin(a - 0.22) * 20);
    cairo_line_to(cr, cx + std::cos(a) * 31, cy + std::sin(a) * 31);
    cairo_line_to(cr, cx + std::cos(a + 0.22) * 20, cy + std::sin(a + 0.22) * 20);
    cairo_close_path(cr);
  }
  UsePattern(cr, RadialGradient(cx - 8, cy - 8, 4, 34,
                                {{0, Hex(0xFFFFFF)}, {0.5, Hex(0xA0A8B8)}, {1, Hex(0x30343C)}}));
  cairo_fill(cr);
  UsePattern(cr, RadialGradient(cx - 7, cy - 8, 2, 26,
                                {{0, Hex(0xE8EEF6)}, {0.45, Hex(0x5A6474)}, {1, Hex(0x101418)}}));
  cairo_arc(cr, cx, cy, 22, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1.2);
  for (int i = 0; i < 4; ++i) {
    const double a = turn + i * M_PI / 2 + M_PI / 4;
    cairo_move_to(cr, cx + std::cos(a) * 10, cy + std::sin(a) * 10);
    cairo_line_to(cr, cx + std::cos(a) * 21, cy + std::sin(a) * 21);
  }
  cairo_set_source_rgba(cr, 0.05, 0.05, 0.08, 0.8);
  cairo_stroke(cr);
  const double pulse = 0.6 + 0.4 * Swing(frame);
  Glow(
      canvas,
      [&](cairo_t* c) {
        cairo_arc(c, cx, cy, 8, 0, 2 * M_PI);
        cairo_fill(c);
      },
      Hex(0xFF8A00), 6, 1.5 * pulse);
  UsePattern(cr, RadialGradient(cx, cy, 0, 8,
                                {{0, Hex(0xFFFFE0)}, {0.5, Hex(0xFFB020)}, {1, Hex(0xC03000)}}));
  cairo_arc(cr, cx, cy, 7.5, 0, 2 * M_PI);
  cairo_fill(cr);
}

// Kind 3: a tentacled pod, 79 x 81; the body fills 48 x 48 and the tentacles wave below.
void TentaclePod(Canvas& canvas, int frame) {
  cairo_t* cr = canvas.cr();
  const double cx = 39.5, cy = 36;
  const double wave = (Swing(frame) - 0.5) * 2;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 5; ++i) {
    const double x = cx - 16 + i * 8;
    const double sway = wave * (i % 2 == 0 ? 5 : -5);
    cairo_move_to(cr, x, cy + 14);
    cairo_curve_to(cr, x + sway, cy + 22, x - sway, cy + 32, x + sway * 1.4, cy + 42);
    cairo_set_line_width(cr, 4.5 - std::abs(i - 2) * 0.6);
    SetColour(cr, Hex(0x1F9E5A));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    SetColour(cr, Hex(0x8CFFB0), 0.8);
    cairo_stroke(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 24, 22);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  UsePattern(cr, RadialGradient(cx - 7, cy - 9, 2, 30,
                                {{0, Hex(0xC8FFD8)}, {0.45, Hex(0x2FBF6A)}, {1, Hex(0x06301A)}}));
  cairo_fill(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = -M_PI * 0.85 + i * 0.34;
    SetColour(cr, Hex(0xFFE860), 0.85);
    cairo_arc(cr, cx + std::cos(a) * 17, cy + std::sin(a) * 15, 1.8, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  Eye(cr, cx - 8, cy + 1, 6, Hex(0x3A7CFF), wave * 1.5);
  Eye(cr, cx + 8, cy + 1, 6, Hex(0x3A7CFF), wave * 1.5);
}

void Clock(cairo_t* cr, double x, double y, double r) {
  cairo_set_line_width(cr, 2);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_stroke(cr);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x, y - r * 0.65);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + r * 0.5, y + r * 0.1);
  cairo_stroke(cr);
}

void Skull(cairo_t* cr, double x, double y) {
  cairo_arc(cr, x, y - 2, 9, M_PI * 0.8, M_PI * 2.2);
  cairo_line_to(cr, x + 5, y + 8);
  cairo_line_to(cr, x - 5, y + 8);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_arc(cr, x - 3.6, y - 1.5, 2.6, 0, 2 * M_PI);
  cairo_arc(cr, x + 3.6, y - 1.5, 2.6, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_move_to(cr, x, y + 1.5);
  cairo_line_to(cr, x - 1.5, y + 4);
  cairo_line_to(cr, x + 1.5, y + 4);
  cairo_fill(cr);
  cairo_rectangle(cr, x - 3, y + 6, 1.2, 2.5);
  cairo_rectangle(cr, x + 1.8, y + 6, 1.2, 2.5);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Arrowhead(cairo_t* cr, double x, double y, double dir) {
  cairo_move_to(cr, x + dir * 5, y);
  cairo_line_to(cr, x, y - 5);
  cairo_line_to(cr, x, y + 5);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void Caption(cairo_t* cr, const char* text, double x, double y, double size) {
  UseFont(cr, Face::kTextBold, size);
  DrawText(cr, text, x, y, Align::kCentre);
}

// The white sign that says what a bonus does, centred at (x, y).
void BonusSign(cairo_t* cr, int kind, double x, double y) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  switch (kind) {
    case 1:  // two more balls
      for (const auto& p : {std::pair{0.0, -6.0}, {-6.5, 5.0}, {6.5, 5.0}}) {
        cairo_arc(cr, x + p.first, y + p.second, 5, 0, 2 * M_PI);
        cairo_fill(cr);
      }
      break;
    case 2:  // wider paddle
    case 3:  // narrower paddle
      RoundedRect(cr, x - 7, y - 2.5, 14, 5, 2.5);
      cairo_fill(cr);
      Arrowhead(cr, kind == 2 ? x + 10 : x - 15, y, 1);
      Arrowhead(cr, kind == 2 ? x - 10 : x + 15, y, -1);
      break;
    case 4:
      Caption(cr, "FAST", x, y + 5, 13);
      break;
    case 5:
      Caption(cr, "SLOW", x, y + 5, 13);
      break;
    case 6: {  // one more life
      cairo_move_to(cr, x, y + 9);
      cairo_curve_to(cr, x - 14, y - 1, x - 8, y - 12, x, y - 4);
      cairo_curve_to(cr, x + 8, y - 12, x + 14, y - 1, x, y + 9);
      cairo_fill(cr);
      break;
    }
    case 7:
      Skull(cr, x, y);
      break;
    case 8:  // the gun: two missiles in flight
      for (double dx : {-5.5, 5.5}) {
        cairo_move_to(cr, x + dx, y - 12);
        cairo_line_to(cr, x + dx + 3.5, y - 6);
        cairo_line_to(cr, x + dx + 3.5, y + 5);
        cairo_line_to(cr, x + dx + 5.5, y + 10);
        cairo_line_to(cr, x + dx - 5.5, y + 10);
        cairo_line_to(cr, x + dx - 3.5, y + 5);
        cairo_line_to(cr, x + dx - 3.5, y - 6);
        cairo_close_path(cr);
        cairo_fill(cr);
      }
      break;
    case 9: {  // armour: a shield
      cairo_move_to(cr, x, y - 11);
      cairo_line_to(cr, x + 10, y - 7);
      cairo_curve_to(cr, x + 10, y + 3, x + 5, y + 8, x, y + 11);
      cairo_curve_to(cr, x - 5, y + 8, x - 10, y + 3, x - 10, y - 7);
      cairo_close_path(cr);
      cairo_fill(cr);
      break;
    }
    case 10: {  // sticky: a magnet
      cairo_set_line_width(cr, 5);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
      cairo_arc_negative(cr, x, y + 1, 7, M_PI, 0);
      cairo_stroke(cr);
      cairo_rectangle(cr, x - 9.5, y - 8, 5, 5);
      cairo_rectangle(cr, x + 4.5, y - 8, 5, 5);
      cairo_fill(cr);
      break;
    }
    case 11:
    case 12:
      Clock(cr, x, y - 4, 7);
      Caption(cr, kind == 11 ? "+15" : "-15", x, y + 13, 10);
      break;
    case 13:
      Caption(cr, "100", x, y + 5, 14);
      break;
    case 14:
      Caption(cr, "500", x, y + 5, 14);
      break;
    case 15:  // escort platform under a ball
      RoundedRect(cr, x - 12, y + 3, 24, 5, 2);
      cairo_fill(cr);
      cairo_arc(cr, x, y - 5, 4.5, 0, 2 * M_PI);
      cairo_fill(cr);
      break;
    default: {  // 16, barrier: a wall of light along the bottom
      cairo_set_line_width(cr, 3);
      cairo_move_to(cr, x - 13, y + 6);
      cairo_line_to(cr, x + 13, y + 6);
      cairo_stroke(cr);
      cairo_set_line_width(cr, 1.5);
      for (double dx = -10; dx <= 10; dx += 5) {
        cairo_move_to(cr, x + dx, y + 3);
        cairo_line_to(cr, x + dx, y - 6);
      }
      cairo_stroke(cr);
      break;
    }
  }
}

}  // namespace

bool BonusHurts(int kind) {
  return kind == 3 || kind == 4 || kind == 7 || kind == 12;
}

Canvas Bonus(int kind, int frame) {
  Canvas canvas(63, 49);
  cairo_t* cr = canvas.cr();
  // The 44 x 46 capsule, the size of the bonus' collision box.
  const double x = 9.5, y = 1.5, w = 44, h = 46;
  const bool points = kind == 13 || kind == 14;
  const Rgb rim = BonusHurts(kind) ? Hex(0xFF3A30) : points ? Hex(0xFFC83A) : Hex(0x38E0A0);
  const Rgb core = BonusHurts(kind) ? Hex(0x4A0808) : points ? Hex(0x4A3006) : Hex(0x06324A);
  const double phase = (frame - 1) / 8.0;
  Glow(
      canvas,
      [&](cairo_t* c) {
        RoundedRect(c, x, y, w, h, 13);
        cairo_fill(c);
      },
      rim, 4, 0.5 + 0.35 * std::sin(phase * 2 * M_PI));
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 13);
  UsePattern(cr, RadialGradient(x + w * 0.4, y + h * 0.35, 2, w * 0.8,
                                {{0, Mix(core, rim, 0.55)}, {0.6, core}, {1, Scale(core, 0.4)}}));
  cairo_fill(cr);
  if (BonusHurts(kind)) {
    // Warning stripes in the corners mark the bad ones at a glance.
    cairo_save(cr);
    RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 13);
    cairo_clip(cr);
    for (int i = -6; i < 12; ++i) {
      cairo_move_to(cr, x + i * 7, y + h);
      cairo_line_to(cr, x + i * 7 + 3.5, y + h);
      cairo_line_to(cr, x + i * 7 + 3.5 + 9, y + h - 9);
      cairo_line_to(cr, x + i * 7 + 9, y + h - 9);
      cairo_close_path(cr);
    }
    SetColour(cr, Hex(0xFF3A30), 0.55);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  // A sheen that sweeps across as the capsule spins.
  cairo_save(cr);
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 13);
  cairo_clip(cr);
  const double sweep = x - 20 + phase * (w + 40);
  cairo_pattern_t* sheen = cairo_pattern_create_linear(sweep - 10, 0, sweep + 10, 0);
  cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(sheen, 0.5, 1, 1, 1, 0.35);
  cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
  UsePattern(cr, sheen);
  cairo_paint(cr);
  cairo_restore(cr);
  BonusSign(cr, kind, x + w / 2, y + h / 2);
  cairo_set_line_width(cr, 2.2);
  RoundedRect(cr, x + 1.1, y + 1.1, w - 2.2, h - 2.2, 12);
  SetColour(cr, Mix(rim, Hex(0xFFFFFF), 0.25 + 0.25 * std::cos(phase * 2 * M_PI)));
  cairo_stroke(cr);
  return canvas;
}

Canvas Enemy(int kind, int frame) {
  static const int sizes[][2] = {{94, 65}, {70, 70}, {79, 81}};
  Canvas canvas(sizes[kind - 1][0], sizes[kind - 1][1]);
  if (kind == 1) {
    MantaDrone(canvas, frame);
  } else if (kind == 2) {
    SpikedMine(canvas, frame);
  } else {
    TentaclePod(canvas, frame);
  }
  return canvas;
}

Canvas AsteroidFrame(int frame) {
  Canvas canvas(90, 88);
  DrawAsteroid(canvas, 45, 44, 86, (frame - 1) * 2 * M_PI / 12, 4242);
  return canvas;
}

Canvas ExplosionFrame(int frame) {
  Canvas canvas(64, 64);
  cairo_t* cr = canvas.cr();
  const double t = (frame - 1) / 15.0;
  const double radius = 6 + 24 * std::sqrt(t);
  const double heat = 1 - t;
  Rng rng(static_cast<uint64_t>(frame) * 13);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  UsePattern(cr, RadialGradient(32, 32, 0, radius,
                                {{0, Mix(Hex(0xFF6020), Hex(0xFFFFE0), heat), heat},
                                 {0.5, Hex(0xFF7A20), 0.7 * heat + 0.1},
                                 {1, Hex(0x802010), 0}}));
  cairo_arc(cr, 32, 32, radius, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  for (int puff = 0; puff < 9; ++puff) {
    const double a = rng.Range(0, 2 * M_PI);
    const double d = radius * rng.Range(0.3, 0.8);
    const double r = radius * rng.Range(0.2, 0.4);
    UsePattern(cr, RadialGradient(32 + std::cos(a) * d, 32 + std::sin(a) * d, 0, r,
                                  {{0, Mix(Hex(0xFFC060), Hex(0x404048), t), 0.7 * (1 - t * 0.7)},
                                   {1, Hex(0x202024), 0}}));
    cairo_arc(cr, 32 + std::cos(a) * d, 32 + std::sin(a) * d, r, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  return canvas;
}

void MakeCreatureArt(Output& out) {
  PackBuilder enemies("data/Enemies.dat", out);
  for (int kind = 1; kind <= 3; ++kind) {
    for (int frame = 1; frame <= 5; ++frame) {
      enemies.Add((kind - 1) * 5 + frame - 1, Enemy(kind, frame));
    }
  }
  enemies.Finish();

  PackBuilder asteroids("data/Asteroid.dat", out);
  for (int frame = 1; frame <= 12; ++frame) {
    asteroids.Add(frame - 1, AsteroidFrame(frame));
  }
  asteroids.Finish();

  PackBuilder explosions("data/Explo.dat", out);
  for (int frame = 1; frame <= 16; ++frame) {
    explosions.Add(frame - 1, ExplosionFrame(frame));
  }
  explosions.Finish();

  PackBuilder bonuses("data/Bonuses.dat", out);
  for (int kind = 1; kind <= 16; ++kind) {
    for (int frame = 1; frame <= 8; ++frame) {
      bonuses.Add((kind - 1) * 8 + frame - 1, Bonus(kind, frame));
    }
  }
  bonuses.Finish();
}

}  // namespace qbart

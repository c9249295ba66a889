// What lies over the playfield: the interface frame with its labels, the barrier, the cursor, the
// digit glyphs, and the pause, game-over and congratulation pictures.
#include <cmath>
#include <string>

#include "assetgen/art.h"
#include "assetgen/fonts.h"
#include "assetgen/random.h"
#include "assetgen/space.h"
#include "assetgen/ui.h"

namespace qbart {

namespace {

// The game prints its numbers with their base line at screen y 16 (top row) and 565 / 586
// (bottom left), starting at x 77 (lives, speed, shots), 175 (time), 755 (level), and the score
// centred near x 510. The frame leaves those places clear and labels them.
void HudLabel(Canvas& canvas, const std::string& text, double right, double base) {
  Lettering style;
  style.size = 11;
  style.top = Hex(0xB8E8FF);
  style.bottom = Hex(0x50A8E8);
  style.glow_strength = 0.35;
  style.glow_radius = 3;
  Letter(canvas, text, right, base, Align::kRight, style);
}

void NumberWell(Canvas& canvas, double x, double w) {
  cairo_t* cr = canvas.cr();
  RoundedRect(cr, x, 3, w, 19, 5);
  SetColour(cr, Hex(0x000308), 0.75);
  cairo_fill(cr);
  RoundedRect(cr, x + 0.5, 3.5, w - 1, 18, 5);
  cairo_set_line_width(cr, 1);
  SetColour(cr, kUiAccent, 0.45);
  cairo_stroke(cr);
}

// 802 x 600, centred on the screen: picture x = screen x + 1.
Canvas InterfaceFrame() {
  Canvas canvas(802, 600);
  cairo_t* cr = canvas.cr();
  const double bar = 27;
  // Top bar.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 802, 0);
  cairo_line_to(cr, 802, bar);
  cairo_line_to(cr, 0, bar);
  cairo_close_path(cr);
  UsePattern(
      cr, VerticalGradient(0, bar, {{0, Hex(0x2A3654)}, {0.5, Hex(0x141C32)}, {1, Hex(0x0A0F1E)}}));
  cairo_fill(cr);
  Glow(
      canvas,
      [&](cairo_t* g) {
        cairo_rectangle(g, 0, bar - 1, 802, 2);
        cairo_fill(g);
      },
      kUiAccent, 4, 1.0);
  cairo_rectangle(cr, 0, bar - 1, 802, 1.5);
  SetColour(cr, Hex(0xA8E8FF));
  cairo_fill(cr);
  // The ceiling the ball turns at, just above the first row of blocks.
  cairo_rectangle(cr, 7, 42, 788, 1);
  SetColour(cr, kUiAccent, 0.18);
  cairo_fill(cr);

  // Each well spans the cells of its number (13.1 pixels a character) with an even margin: lives
  // and level take two characters from x 77.5 and 755, the time five ("04:50") from x 175.
  NumberWell(canvas, 71, 40);
  HudLabel(canvas, "LIVES", 65, 17);
  NumberWell(canvas, 168, 81);
  HudLabel(canvas, "TIME", 162, 17);
  NumberWell(canvas, 458, 120);
  HudLabel(canvas, "SCORE", 452, 17);
  NumberWell(canvas, 749, 40);
  HudLabel(canvas, "LEVEL", 743, 17);

  // Side rails: the walls reach down to screen y 495; below them a ball can slip out sideways.
  for (double x : {1.0, 795.0}) {
    cairo_rectangle(cr, x, bar, 6, 495 - bar);
    cairo_pattern_t* metal = cairo_pattern_create_linear(x, 0, x + 6, 0);
    cairo_pattern_add_color_stop_rgb(metal, 0, 0.1, 0.13, 0.22);
    cairo_pattern_add_color_stop_rgb(metal, 0.5, 0.45, 0.55, 0.72);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.1, 0.13, 0.22);
    UsePattern(cr, metal);
    cairo_fill(cr);
    const double edge = x < 400 ? x + 6 : x;
    Glow(
        canvas,
        [&](cairo_t* g) {
          cairo_rectangle(g, edge - 0.5, bar, 1, 495 - bar);
          cairo_fill(g);
        },
        kUiAccent, 3, 0.9);
    // End caps where the walls stop.
    RoundedRect(cr, x - 1, 489, 8, 10, 3);
    SetColour(cr, kUiHot);
    cairo_fill(cr);
    Glow(
        canvas,
        [&](cairo_t* g) {
          cairo_arc(g, x + 3, 494, 4, 0, 2 * M_PI);
          cairo_fill(g);
        },
        kUiHot, 5, 1.0);
  }

  // Bottom-left plate for speed and shots; see-through so the paddle shows beneath it.
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 550);
  cairo_line_to(cr, 104, 550);
  cairo_line_to(cr, 120, 566);
  cairo_line_to(cr, 120, 600);
  cairo_line_to(cr, 0, 600);
  cairo_close_path(cr);
  SetColour(cr, Hex(0x0A1020), 0.6);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.5);
  SetColour(cr, kUiAccent, 0.6);
  cairo_stroke(cr);
  HudLabel(canvas, "SPEED", 72, 565);
  HudLabel(canvas, "SHOTS", 72, 586);
  return canvas;
}

// 802 x 22 at the bottom of the playfield (screen y 560..582).
Canvas Barrier() {
  Canvas canvas(802, 22);
  cairo_t* cr = canvas.cr();
  Glow(
      canvas,
      [](cairo_t* g) {
        cairo_rectangle(g, 0, 9, 802, 4);
        cairo_fill(g);
      },
      kUiAccent, 5, 1.5);
  cairo_set_line_width(cr, 1);
  for (double x = 0; x < 802; x += 14) {
    cairo_move_to(cr, x, 4);
    cairo_line_to(cr, x + 7, 11);
    cairo_line_to(cr, x, 18);
  }
  SetColour(cr, kUiAccent, 0.45);
  cairo_stroke(cr);
  cairo_rectangle(cr, 0, 10, 802, 2);
  SetColour(cr, Hex(0xFFFFFF));
  cairo_fill(cr);
  return canvas;
}

Canvas Digit(int digit) {
  Canvas canvas(32, 48);
  Lettering style;
  style.face = Face::kTextBold;
  style.size = 44;
  style.top = Hex(0xFFFFFF);
  style.bottom = Hex(0x9FD8FF);
  style.glow_radius = 4;
  style.glow_strength = 0.8;
  Letter(canvas, std::to_string(digit), 16, 40, Align::kCentre, style);
  return canvas;
}

// 32 x 32. The game draws the cursor 2.5 pixels left of and 10 below the pointer, so the tip,
// where the pointer is, sits at (18.5, 6).
Canvas Cursor(int frame) {
  Canvas canvas(32, 32);
  cairo_t* cr = canvas.cr();
  auto arrow = [](cairo_t* c) {
    cairo_new_path(c);
    cairo_move_to(c, 18.5, 5);
    cairo_line_to(c, 26, 26);
    cairo_line_to(c, 18.5, 21);
    cairo_line_to(c, 11, 26);
    cairo_close_path(c);
  };
  const double phase = (frame - 1) * 2 * M_PI / 11;
  Glow(
      canvas,
      [&](cairo_t* g) {
        arrow(g);
        cairo_fill(g);
      },
      kUiAccent, 3, 0.9 + 0.4 * std::sin(phase));
  arrow(cr);
  UsePattern(cr, VerticalGradient(5, 26, {{0, Hex(0xFFFFFF)}, {1, Hex(0x7CCFFF)}}));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, Hex(0x06204A));
  cairo_stroke(cr);
  // A spark circling the arrow.
  const double sx = 18.5 + std::cos(phase) * 9;
  const double sy = 18 + std::sin(phase) * 9;
  UsePattern(cr, RadialGradient(sx, sy, 0, 3, {{0, Hex(0xFFFFFF)}, {1, kUiHot, 0}}));
  cairo_arc(cr, sx, sy, 3, 0, 2 * M_PI);
  cairo_fill(cr);
  return canvas;
}

// A full-screen dimming with a message band across the middle.
Canvas Banner(const std::string& headline, const std::string& line, Rgb colour, double veil) {
  Canvas canvas(800, 600);
  cairo_t* cr = canvas.cr();
  cairo_set_source_rgba(cr, 0.0, 0.01, 0.04, veil);
  cairo_paint(cr);
  UsePattern(cr, VerticalGradient(230, 370,
                                  {{0, Hex(0x000000), 0},
                                   {0.3, Hex(0x020818), 0.7},
                                   {0.7, Hex(0x020818), 0.7},
                                   {1, Hex(0x000000), 0}}));
  cairo_rectangle(cr, 0, 230, 800, 140);
  cairo_fill(cr);
  for (double y : {250.0, 350.0}) {
    cairo_pattern_t* rule = cairo_pattern_create_linear(100, 0, 700, 0);
    cairo_pattern_add_color_stop_rgba(rule, 0, colour.r, colour.g, colour.b, 0);
    cairo_pattern_add_color_stop_rgba(rule, 0.5, colour.r, colour.g, colour.b, 0.9);
    cairo_pattern_add_color_stop_rgba(rule, 1, colour.r, colour.g, colour.b, 0);
    UsePattern(cr, rule);
    cairo_rectangle(cr, 100, y, 600, 1.5);
    cairo_fill(cr);
  }
  Lettering big;
  big.size = 54;
  big.top = Hex(0xFFFFFF);
  big.bottom = Mix(colour, Hex(0xFFFFFF), 0.3);
  big.glow = colour;
  big.glow_radius = 14;
  big.glow_strength = 1.4;
  big.outline = 1.5;
  Letter(canvas, headline, 400, 318, Align::kCentre, big);
  Lettering small;
  small.face = Face::kTextBold;
  small.size = 17;
  small.glow = colour;
  small.glow_strength = 0.5;
  Letter(canvas, line, 400, 343, Align::kCentre, small);
  return canvas;
}

// Shown when the last level is cleared; the record-entry form may open over its middle
// (150..650, 120..520), so the words stand above and below it.
Canvas Congratulations() {
  Canvas canvas(800, 600);
  cairo_t* cr = canvas.cr();
  cairo_set_source_rgba(cr, 0.0, 0.01, 0.04, 0.55);
  cairo_paint(cr);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  for (int ray = 0; ray < 24; ++ray) {
    const double a = ray * M_PI / 12;
    cairo_move_to(cr, 400, 300);
    cairo_line_to(cr, 400 + std::cos(a - 0.05) * 700, 300 + std::sin(a - 0.05) * 700);
    cairo_line_to(cr, 400 + std::cos(a + 0.05) * 700, 300 + std::sin(a + 0.05) * 700);
    cairo_close_path(cr);
  }
  UsePattern(cr,
             RadialGradient(400, 300, 40, 520, {{0, Hex(0xFFD070), 0.35}, {1, Hex(0xFF8A00), 0}}));
  cairo_fill(cr);
  cairo_restore(cr);
  Rng rng(2026);
  AddStars(canvas, rng, 160, 1.0, false);
  DrawQuasar(canvas, 400, 300, 60, 0.4);
  Lettering big;
  big.size = 40;
  big.top = Hex(0xFFFFFF);
  big.bottom = Hex(0xFFD070);
  big.glow = Hex(0xFF9A00);
  big.glow_radius = 12;
  big.glow_strength = 1.3;
  big.outline = 1.5;
  Letter(canvas, "CONGRATULATIONS!", 400, 82, Align::kCentre, big);
  Lettering small;
  small.face = Face::kTextBold;
  small.size = 20;
  small.glow = Hex(0xFF9A00);
  small.glow_strength = 0.6;
  Letter(canvas, "Every sector is clear. The quasar is yours.", 400, 565, Align::kCentre, small);
  return canvas;
}

}  // namespace

void MakeScreenArt(Output& out) {
  PackBuilder interface("data/Interface.dat", out);
  interface.Add(0, InterfaceFrame());
  interface.Add(1, Barrier());
  interface.Finish();

  PackBuilder digits("data/Numbers.dat", out);
  for (int digit = 0; digit <= 9; ++digit) {
    digits.Add(digit, Digit(digit));
  }
  digits.Finish();

  PackBuilder cursor("data/Cursor.dat", out);
  for (int frame = 1; frame <= 11; ++frame) {
    cursor.Add(frame - 1, Cursor(frame));
  }
  cursor.Finish();
  out.WritePicture("data/cursor.png", Cursor(1));

  out.WritePicture(
      "data/Pause.png",
      Banner("PAUSED", "Press P to play on  -  Esc to leave the game", kUiAccent, 0.5));
  out.WritePicture("data/GameOver.png",
                   Banner("GAME OVER", "The last paddle is lost", Hex(0xFF4A20), 0.35));
  out.WritePicture("data/Congratulations.png", Congratulations());
}

}  // namespace qbart

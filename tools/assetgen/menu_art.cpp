// The main menu: its background, the pulsing lights in its corner, its eight buttons, and the
// loading picture.
#include <cmath>

#include "assetgen/art.h"
#include "assetgen/fonts.h"
#include "assetgen/random.h"
#include "assetgen/space.h"
#include "assetgen/ui.h"

namespace qbart {

namespace {

void Sky(Canvas& canvas, uint64_t seed) {
  FillSky(canvas, Hex(0x03030C), Hex(0x0B0722));
  AddNebula(canvas, seed, {Hex(0xC850D0), Hex(0x2838B0), 3.0, 0.5, 0.7, 0.55}, false);
  AddNebula(canvas, seed + 1, {Hex(0x30C8D0), Hex(0x103870), 5.0, 0.64, 0.4, 0.3}, false);
  Rng rng(seed + 2);
  AddStars(canvas, rng, 900, 0.9, false);
}

void GameTitle(Canvas& canvas, double x, double y, double size, Align align) {
  Lettering title;
  title.size = size;
  title.top = Hex(0xFFFFFF);
  title.bottom = Hex(0x7CD8FF);
  title.glow = Hex(0x3A8CFF);
  title.glow_radius = size * 0.3;
  title.glow_strength = 1.2;
  title.outline = 1.5;
  Letter(canvas, "QUASARBALL", x, y, align, title);
}

Canvas MenuBackground() {
  Canvas canvas(800, 600);
  Sky(canvas, 77);
  DrawQuasar(canvas, 610, 310, 80, -0.55);
  PlanetStyle world{Hex(0xD89060), Hex(0x10060A), Hex(0x8A4A30), Hex(0xFFB080), 9, 31};
  DrawPlanet(canvas, 760, 660, 190, world);
  GameTitle(canvas, 28, 102, 34, Align::kLeft);
  Lettering tagline;
  tagline.face = Face::kTextBold;
  tagline.size = 14;
  tagline.top = Hex(0xB8D8FF);
  tagline.bottom = Hex(0x7CA8E8);
  tagline.glow_strength = 0.3;
  Letter(canvas, "A  DEEP-SPACE  BRICK  BREAKER", 30, 128, Align::kLeft, tagline);
  return canvas;
}

Canvas CornerFlare() {
  Canvas canvas(118, 110);
  DrawFlare(canvas, 59, 55, 22, Hex(0x8FD0FF), 1.2);
  return canvas;
}

Canvas CornerStreak() {
  Canvas canvas(304, 92);
  cairo_t* cr = canvas.cr();
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  cairo_save(cr);
  cairo_translate(cr, 152, 46);
  cairo_scale(cr, 150, 10);
  UsePattern(cr, RadialGradient(
                     0, 0, 0, 1,
                     {{0, Hex(0xC0E8FF), 0.9}, {0.3, Hex(0x5A9CFF), 0.45}, {1, Hex(0x3040C0), 0}}));
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_restore(cr);
  return canvas;
}

Canvas CornerSparks() {
  Canvas canvas(212, 47);
  Rng rng(515);
  for (int i = 0; i < 9; ++i) {
    const double x = 12 + i * 23.5 + rng.Range(-4, 4);
    DrawFlare(canvas, x, 23 + rng.Range(-8, 8), rng.Range(3, 6), Hex(0xA0D8FF), 0.8);
  }
  return canvas;
}

// Items 7 and 8: small buttons with a sign and a caption, their body 116 x 68 in the middle of a
// 256 x 128 picture (where the game's hit test looks).
enum class Sign { kLetter, kStar };

Canvas SmallButton(const char* caption, Sign sign, bool lit) {
  ButtonLook look;
  look.body = {74, 36, 108, 56};
  look.label = "";
  look.chamfer = 9;
  Canvas canvas = ButtonPicture(256, 128, look, lit);
  cairo_t* cr = canvas.cr();
  cairo_set_source_rgba(cr, 1, 1, 1, lit ? 1.0 : 0.85);
  cairo_set_line_width(cr, 2);
  const double cx = 128, cy = 55;
  if (sign == Sign::kLetter) {
    cairo_rectangle(cr, cx - 13, cy - 8, 26, 17);
    cairo_move_to(cr, cx - 13, cy - 8);
    cairo_line_to(cr, cx, cy + 2);
    cairo_line_to(cr, cx + 13, cy - 8);
    cairo_stroke(cr);
  } else {
    for (int i = 0; i < 10; ++i) {
      const double a = -M_PI / 2 + i * M_PI / 5;
      const double r = i % 2 == 0 ? 11 : 4.5;
      cairo_line_to(cr, cx + std::cos(a) * r, cy + 1 + std::sin(a) * r);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
  }
  UseFont(cr, Face::kTextBold, 12);
  DrawText(cr, caption, cx, 84, Align::kCentre);
  return canvas;
}

}  // namespace

void MakeMenuArt(Output& out) {
  PackBuilder background("data/Background.dat", out);
  background.Add(0, CornerFlare());
  background.Add(1, CornerStreak());
  background.Add(2, CornerSparks());
  background.AddJpeg(3, MenuBackground(), 92);
  background.Finish();

  // Items 1..6 stand 40 pixels apart; each bar fills the middle of its 366 x 133 picture.
  const char* const labels[] = {"START GAME", "OPTIONS",   "HIGH SCORES",
                                "HELP",       "HOME PAGE", "EXIT"};
  PackBuilder menu("data/MainMenu.dat", out);
  for (int item = 0; item < 6; ++item) {
    ButtonLook look;
    look.body = {44, 49, 282, 34};
    look.label = labels[item];
    look.font_size = 19;
    menu.Add(item * 2, ButtonPicture(366, 133, look, false));
    menu.Add(item * 2 + 1, ButtonPicture(366, 133, look, true));
  }
  menu.Add(12, SmallButton("TELL A FRIEND", Sign::kLetter, false));
  menu.Add(13, SmallButton("TELL A FRIEND", Sign::kLetter, true));
  menu.Add(14, SmallButton("SUBSCRIBE", Sign::kStar, false));
  menu.Add(15, SmallButton("SUBSCRIBE", Sign::kStar, true));
  menu.Finish();

  Canvas loading(800, 600);
  Sky(loading, 1201);
  PlanetStyle world{Hex(0x6AA8E0), Hex(0x040814), Hex(0xE0F0FF), Hex(0x8FD0FF), 14, 17};
  DrawPlanet(loading, 400, 1060, 640, world);
  DrawQuasar(loading, 400, 200, 50, 0.35);
  GameTitle(loading, 400, 330, 52, Align::kCentre);
  Lettering note;
  note.face = Face::kTextBold;
  note.size = 20;
  note.glow_strength = 0.5;
  Letter(loading, "L O A D I N G . . .", 400, 520, Align::kCentre, note);
  out.WritePicture("data/loading.jpg", loading);
}

}  // namespace qbart

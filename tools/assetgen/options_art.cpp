// data/OptMenu.dat: the options panel with its two pages, tabs, sliders, row lights and buttons.
// Positions come from where the game places each picture on the 800 x 600 screen; the comments
// give the screen rectangle each drawing must meet.
#include <cmath>
#include <string>

#include "assetgen/art.h"
#include "assetgen/fonts.h"
#include "assetgen/ui.h"

namespace qbart {

namespace {

void Label(Canvas& canvas, const std::string& text, double x, double y, Align align = Align::kLeft,
           double size = 16) {
  Lettering style;
  style.size = size;
  style.top = Hex(0xFFFFFF);
  style.bottom = Hex(0x9FD0FF);
  style.glow_strength = 0.35;
  style.outline = 0.8;
  Letter(canvas, text, x, y, align, style);
}

void Hint(Canvas& canvas, const std::string& text, double x, double y) {
  cairo_t* cr = canvas.cr();
  UseFont(cr, Face::kText, 12);
  SetColour(cr, Hex(0x7CA8D8));
  DrawText(cr, text, x, y, Align::kCentre);
}

// Slider track: the knob's centre runs from screen x 480 (volume 0) to 760 (100).
void Track(Canvas& canvas, double left, double y) {
  Slot(canvas, {left - 6, y - 5, 292, 10});
  cairo_t* cr = canvas.cr();
  cairo_set_line_width(cr, 1);
  for (int tick = 0; tick <= 4; ++tick) {
    const double x = left + tick * 70 + 0.5;
    cairo_move_to(cr, x, y + 8);
    cairo_line_to(cr, x, y + 12);
  }
  SetColour(cr, kUiAccent, 0.6);
  cairo_stroke(cr);
}

// Page 1 at (330, 170): display mode, music and sound.
Canvas GeneralPage() {
  Canvas canvas(500, 400);
  Label(canvas, "DISPLAY", 38, 135);  // row 1, screen y 283..313
  Label(canvas, "MUSIC", 38, 219);    // row 2, slider at screen y 383
  Label(canvas, "SOUND", 38, 268);    // row 3, slider at screen y 432
  Track(canvas, 150, 213);
  Track(canvas, 150, 262);
  Hint(canvas, "Every change is saved at once", 245, 350);
  return canvas;
}

// Page 2 at (327, 160): the game keys; the game prints each key's name centred on x 667.
Canvas ControlsPage() {
  Canvas canvas(500, 400);
  const char* const rows[] = {"MOVE LEFT", "MOVE RIGHT", "FIRE", "BOSS KEY"};
  for (int row = 0; row < 4; ++row) {
    const double base = 334 + row * 35 - 160;  // the game's base line for the key name
    Label(canvas, rows[row], 85, base, Align::kLeft, 15);
    Slot(canvas, {263, base - 19, 155, 26});
  }
  Hint(canvas, "Choose a row, press Enter, then the new key", 245, 390);
  return canvas;
}

Canvas Knob(bool lit) {
  Canvas canvas(100, 100);
  cairo_t* cr = canvas.cr();
  if (lit) {
    Glow(
        canvas,
        [](cairo_t* g) {
          cairo_arc(g, 50, 50, 14, 0, 2 * M_PI);
          cairo_set_line_width(g, 4);
          cairo_stroke(g);
        },
        kUiAccent, 6, 1.4);
    cairo_arc(cr, 50, 50, 14, 0, 2 * M_PI);
    cairo_set_line_width(cr, 2);
    SetColour(cr, Hex(0xE0F6FF));
    cairo_stroke(cr);
    return canvas;
  }
  UsePattern(cr, RadialGradient(46, 46, 1, 13,
                                {{0, Hex(0xFFFFFF)}, {0.5, Hex(0xA8B4C4)}, {1, Hex(0x2C3440)}}));
  cairo_arc(cr, 50, 50, 11, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_arc(cr, 50, 50, 4, 0, 2 * M_PI);
  SetColour(cr, kUiAccent);
  cairo_fill(cr);
  cairo_arc(cr, 50, 50, 11, 0, 2 * M_PI);
  cairo_set_line_width(cr, 1);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
  cairo_stroke(cr);
  return canvas;
}

// The bright bar under the tab of the page shown.
Canvas TabMarker() {
  Canvas canvas(300, 200);
  Glow(
      canvas,
      [](cairo_t* g) {
        cairo_rectangle(g, 75, 122, 150, 4);
        cairo_fill(g);
      },
      kUiHot, 5, 1.3);
  cairo_rectangle(canvas.cr(), 75, 122, 150, 3);
  SetColour(canvas.cr(), Hex(0xFFE0A0));
  cairo_fill(canvas.cr());
  return canvas;
}

void AddButton(PackBuilder& pack, int face, int glow, int width, int height, Rect body,
               const std::string& label, double size) {
  ButtonLook look;
  look.body = body;
  look.label = label;
  look.font_size = size;
  pack.Add(face, ButtonPicture(width, height, look, false));
  pack.Add(glow, ButtonPicture(width, height, look, true));
}

}  // namespace

void MakeOptionsArt(Output& out) {
  PackBuilder pack("data/OptMenu.dat", out);
  Canvas frame(500, 400);
  GlassPanel(frame, {4, 4, 492, 392});
  pack.Add(0, frame);
  pack.Add(1, GeneralPage());
  pack.Add(2, ControlsPage());
  pack.Add(6, TabMarker());
  pack.Add(7, TabMarker());
  pack.Add(9, TitlePlate("OPTIONS"));
  // Tabs at (318, 131) and (528, 131), 300 x 200; their hit areas are 180 x 80 in the middle.
  AddButton(pack, 10, 11, 300, 200, {65, 82, 170, 36}, "GENERAL", 15);
  AddButton(pack, 12, 13, 300, 200, {65, 82, 170, 36}, "CONTROLS", 15);
  // Defaults at (417, 391): hit area 180 x 80 in the middle.
  AddButton(pack, 14, 15, 300, 200, {60, 79, 180, 42}, "DEFAULT KEYS", 14);
  // The two display buttons overlap on screen: the window button's label sits in its right
  // part (screen x 657..775) and the full-screen label in the left part of its own picture
  // (screen x 520..646), so the two never cover each other.
  AddButton(pack, 20, 21, 200, 50, {78, 10, 118, 30}, "WINDOW", 13);
  AddButton(pack, 22, 23, 200, 50, {6, 10, 126, 30}, "FULL SCREEN", 13);
  pack.Add(24, Knob(false));
  pack.Add(25, Knob(true));
  // Row lights of page 1, each placed by the game at its own corner.
  pack.Add(26, RowLight(450, 80, {-2, 22, 440, 32}));  // (351, 260): screen y 282..314
  pack.Add(27, RowLight(450, 80, {54, 22, 394, 32}));  // (292, 346): screen y 368..400
  pack.Add(28, RowLight(450, 80, {44, 25, 404, 32}));  // (302, 392): screen y 417..449
  // Key-row lights of page 2, centred on the rows' text at screen y 328, 363, 398 and 433.
  pack.Add(29, RowLight(500, 100, {11, 24, 360, 32}));  // (379, 288)
  pack.Add(30, RowLight(500, 100, {5, 23, 360, 32}));   // (385, 324)
  pack.Add(31, RowLight(500, 100, {23, 27, 360, 32}));  // (367, 355)
  pack.Add(32, RowLight(500, 100, {5, 25, 360, 32}));   // (385, 392)
  pack.Finish();
}

}  // namespace qbart

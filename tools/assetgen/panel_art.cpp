// data/Forms.dat: the help panel, the records panel, the yes/no dialog and the record-entry
// form. Every rectangle is worked out from where the game puts the picture on the 800 x 600
// screen, so the frames line up with the text the game prints over them.
#include <string>

#include "assetgen/art.h"
#include "assetgen/fonts.h"
#include "assetgen/ui.h"

namespace qbart {

namespace {

// Adds face and lit pictures of one button to the pack.
void AddButton(PackBuilder& pack, int face, int glow, int width, int height, const ButtonLook& look,
               bool left_chevron = false, bool right_chevron = false) {
  Canvas plain = ButtonPicture(width, height, look, false);
  Chevrons(plain, look.body, left_chevron, right_chevron, false);
  Canvas lit = ButtonPicture(width, height, look, true);
  Chevrons(lit, look.body, left_chevron, right_chevron, true);
  pack.Add(face, plain);
  pack.Add(glow, lit);
}

ButtonLook Look(Rect body, const std::string& label, double size) {
  ButtonLook look;
  look.body = body;
  look.label = label;
  look.font_size = size;
  return look;
}

void Caption(Canvas& canvas, const std::string& text, double x, double y, Align align,
             double size = 13) {
  Lettering style;
  style.face = Face::kTextBold;
  style.size = size;
  style.top = Hex(0x9FD8FF);
  style.bottom = Hex(0x5AA0E0);
  style.glow_strength = 0.2;
  Letter(canvas, text, x, y, align, style);
}

// Help panel at (325, 170); the pages lie over its screen at (405, 210).
Canvas HelpFrame() {
  Canvas canvas(500, 400);
  GlassPanel(canvas, {4, 4, 492, 392});
  Slot(canvas, {72, 32, 360, 257});
  return canvas;
}

// Records panel at (320, 120). The game prints line i with its base line at
// y = 187.5 + 26.2 i and its columns at x 487..597 (name) and 619..685 (score).
Canvas RecordsFrame() {
  Canvas canvas(500, 400);
  GlassPanel(canvas, {4, 4, 492, 392});
  cairo_t* cr = canvas.cr();
  // The game prints the table in pure blue, so it stands on a pale screen of its own.
  RoundedRect(cr, 96, 80, 306, 268, 10);
  UsePattern(cr, VerticalGradient(80, 348, {{0, Hex(0xE4EEFF), 0.93}, {1, Hex(0xB4C8EC), 0.93}}));
  cairo_fill(cr);
  for (int i = 1; i <= 10; ++i) {
    const double base = 187.5 + 26.2 * i - 120;
    if (i % 2 == 0) {
      cairo_rectangle(cr, 100, base - 18, 298, 26.2);
      SetColour(cr, Hex(0x6A8CD0), 0.18);
      cairo_fill(cr);
    }
    UseFont(cr, Face::kTextBold, 14);
    SetColour(cr, Hex(0x0A1A48));
    DrawText(cr, std::to_string(i) + ".", 150, base, Align::kRight);
  }
  RoundedRect(cr, 96.5, 80.5, 305, 267, 10);
  cairo_set_line_width(cr, 1.5);
  SetColour(cr, kUiAccent, 0.9);
  cairo_stroke(cr);
  Caption(canvas, "PILOT", 277, 68, Align::kRight);
  Caption(canvas, "SCORE", 365, 68, Align::kRight);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 100, 75.5);
  cairo_line_to(cr, 400, 75.5);
  SetColour(cr, kUiAccent, 0.5);
  cairo_stroke(cr);
  return canvas;
}

// Centred on the screen at (400, 300); the question is printed in its upper half. Over a running
// game the glass is all but opaque, so the blocks behind do not show through the question.
Canvas DialogFrame() {
  Canvas canvas(512, 256);
  GlassPanel(canvas, {6, 6, 500, 244}, Hex(0x4AA8FF), 0.99);
  cairo_t* cr = canvas.cr();
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 60, 138.5);
  cairo_line_to(cr, 452, 138.5);
  SetColour(cr, kUiAccent, 0.35);
  cairo_stroke(cr);
  return canvas;
}

// The record-entry form at (150, 120), over the congratulation picture. The game prints the
// score and the prompts; the name and country go into the two slots.
Canvas RecordForm() {
  Canvas canvas(500, 400);
  GlassPanel(canvas, {4, 4, 492, 392}, Hex(0xFFB030));
  Lettering title;
  title.size = 24;
  title.top = Hex(0xFFF4C0);
  title.bottom = Hex(0xFFB030);
  title.glow = Hex(0xFF8A00);
  title.outline = 1;
  Letter(canvas, "NEW RECORD!", 250, 48, Align::kCentre, title);
  Slot(canvas, {50, 160, 400, 32});
  Slot(canvas, {50, 247, 400, 32});
  return canvas;
}

}  // namespace

void MakePanelArt(Output& out) {
  PackBuilder forms("data/Forms.dat", out);
  forms.Add(1, HelpFrame());
  forms.Add(2, RecordsFrame());
  forms.Add(3, DialogFrame());
  AddButton(forms, 4, 5, 200, 100, Look({35, 29, 130, 42}, "YES", 20));
  AddButton(forms, 6, 7, 200, 100, Look({35, 29, 130, 42}, "NO", 20));
  AddButton(forms, 16, 17, 300, 200, Look({75, 79, 150, 42}, "BACK", 18), true, false);
  AddButton(forms, 18, 19, 300, 200, Look({75, 79, 150, 42}, "NEXT", 18), false, true);
  AddButton(forms, 20, 21, 250, 150, Look({45, 54, 160, 42}, "CLEAR", 17));
  AddButton(forms, 22, 23, 250, 150, Look({45, 54, 160, 42}, "WORLD TABLE", 15));
  forms.Add(40, TitlePlate("HIGH SCORES"));
  forms.Add(41, TitlePlate("HELP"));
  forms.Add(46, RowLight(450, 80, {35, 16.5, 400, 32}));
  AddButton(forms, 48, 49, 200, 100, Look({35, 29, 130, 42}, "OK", 20));
  AddButton(forms, 50, 51, 200, 100, Look({35, 29, 130, 42}, "CANCEL", 17));
  forms.Add(54, RecordForm());
  forms.Finish();
}

}  // namespace qbart

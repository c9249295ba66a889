// The six help pages, shown one at a time in the help panel.
#include <string>
#include <vector>

#include "assetgen/art.h"
#include "assetgen/fonts.h"
#include "assetgen/objects.h"
#include "assetgen/ui.h"

namespace qbart {

namespace {

Canvas Page(int width, const std::string& title) {
  Canvas canvas(width, 241);
  cairo_t* cr = canvas.cr();
  RoundedRect(cr, 0.5, 0.5, width - 1, 240, 8);
  UsePattern(cr, VerticalGradient(0, 241, {{0, Hex(0x0C1A38), 0.95}, {1, Hex(0x040A1C), 0.95}}));
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  SetColour(cr, kUiAccent, 0.5);
  cairo_stroke(cr);
  Lettering style;
  style.size = 15;
  style.outline = 0.8;
  style.glow_strength = 0.5;
  Letter(canvas, title, width / 2.0, 22, Align::kCentre, style);
  cairo_move_to(cr, 20, 30.5);
  cairo_line_to(cr, width - 20, 30.5);
  SetColour(cr, kUiAccent, 0.4);
  cairo_stroke(cr);
  return canvas;
}

// Lines of plain text; a line starting with '*' is set bold and bright.
void Text(Canvas& canvas, double x, double y, double step, const std::vector<std::string>& lines,
          double size = 11.5) {
  cairo_t* cr = canvas.cr();
  for (const std::string& line : lines) {
    const bool strong = !line.empty() && line[0] == '*';
    UseFont(cr, strong ? Face::kTextBold : Face::kText, size);
    SetColour(cr, strong ? Hex(0xFFE0A0) : Hex(0xD8E8FF));
    DrawText(cr, strong ? line.substr(1) : line, x, y, Align::kLeft);
    y += step;
  }
}

void Picture(Canvas& canvas, const Canvas& picture, double cx, double cy, double scale) {
  canvas.Paint(picture, cx - picture.width() * scale / 2, cy - picture.height() * scale / 2, scale);
}

Canvas Controls() {
  Canvas page = Page(323, "HOW TO PLAY");
  Text(page, 14, 50, 15.5,
       {"*Break every block to clear the sector.", "Keep at least one ball in play: lose the",
        "last one and the paddle goes with it.", "", "*Mouse: move it left or right to steer.",
        "Left click: launch the ball, fire the gun.", "",
        "*Keys: arrows steer, Space launches and fires", "(all three can be changed in Options).",
        "P or Pause: pause.   Esc: leave the game.", "F12: the boss key hides the game at once."});
  Picture(page, PaddleBody(1, 1), 272, 223, 0.45);
  Picture(page, Ball(), 272, 213, 0.45);
  return page;
}

Canvas Blocks() {
  Canvas page = Page(323, "BLOCKS");
  const struct {
    int kinds[3];
    const char* lines[2];
  } rows[] = {
      {{1, 2, 3}, {"*One hit breaks them.", "20, 40 and 60 points."}},
      {{4, 5, 6}, {"*Framed: two hits.", "The frame goes first."}},
      {{7, 8, 9}, {"*Stacks: three hits, and eight", "more blocks spill out around."}},
      {{10, 0, 0}, {"*Armour: only missiles and armoured", "balls break it. Need not be cleared."}},
  };
  double y = 52;
  for (const auto& row : rows) {
    for (int i = 0; i < 3 && row.kinds[i] != 0; ++i) {
      page.Paint(Block(row.kinds[i]), 12 + i * 30, y - 4, 0.7);
    }
    Text(page, 108, y + 6, 14, {row.lines[0], row.lines[1]}, 11);
    y += 46;
  }
  return page;
}

Canvas Bonuses(int width, const std::string& title, const std::vector<int>& kinds,
               const std::vector<std::string>& captions, const std::string& note) {
  Canvas page = Page(width, title);
  const double column = (width - 10) / 2.0;
  for (size_t i = 0; i < kinds.size(); ++i) {
    const double x = 8 + (i % 2) * column;
    const double y = 40 + (i / 2) * 44;
    page.Paint(Bonus(kinds[i], 1), x - 4, y, 0.8);
    const std::string& caption = captions[i];
    const auto split = caption.find('|');
    Text(page, x + 48, y + 17, 13,
         {"*" + caption.substr(0, split),
          split == std::string::npos ? "" : caption.substr(split + 1)},
         10.5);
  }
  if (!note.empty()) {
    Text(page, 12, 230, 13, {note}, 10.5);
  }
  return page;
}

Canvas Enemies() {
  Canvas page = Page(343, "ENEMIES AND THE GUN");
  const char* const lines[][2] = {{"*Manta", "2 hits, 50 points"},
                                  {"*Mine", "3 hits, 75 points"},
                                  {"*Pod", "4 hits, 100 points"}};
  for (int kind = 1; kind <= 3; ++kind) {
    const double x = 58 + (kind - 1) * 113;
    Picture(page, Enemy(kind, 3), x, 70, 0.62);
    Text(page, x - 40, 116, 13, {lines[kind - 1][0], lines[kind - 1][1]}, 10.5);
  }
  Text(page, 14, 160, 14,
       {"Broken blocks may set them free. They turn", "your ball aside but never harm the paddle.",
        "*Gun capsule: 12 shots; click or Space to fire.",
        "Missiles break any block, armour included."});
  return page;
}

Canvas Scoring() {
  Canvas page = Page(333, "CLOCK AND SCORE");
  Text(page, 14, 50, 15,
       {"*Each sector runs on a clock (top left).", "Time left when you clear it pays 4 points",
        "a second. In the last ten seconds it beeps;", "in overtime every second costs 10 points.",
        "", "*Every capsule caught: 50 points,", "red ones take 150 instead.", "",
        "*Lives: the extra-life capsule adds one.", "The ten best scores enter the high-score",
        "table, and can be sent to the world table."});
  return page;
}

}  // namespace

void MakeHelpPages(Output& out) {
  out.WritePicture("data/Over1.png", Controls());
  out.WritePicture("data/Over2.png", Blocks());
  out.WritePicture("data/Over3.png",
                   Bonuses(323, "GOOD CAPSULES", {1, 2, 5, 6, 8, 9, 10, 11},
                           {"Two more|balls", "Wider|paddle", "Slower|balls", "Extra|life",
                            "Gun:|12 shots", "Armoured|balls", "Sticky|paddle", "15 seconds|more"},
                           ""));
  out.WritePicture("data/Over4.png", Bonuses(343, "MORE CAPSULES", {13, 14, 15, 16, 3, 4, 7, 12},
                                             {"100 points|more", "500 points|more",
                                              "Escort|platform", "Barrier|below", "Narrower|paddle",
                                              "Faster|balls", "Lose a|life", "15 seconds|less"},
                                             "Red capsules work against you: dodge them!"));
  out.WritePicture("data/Over5.png", Enemies());
  out.WritePicture("data/Over6.png", Scoring());
}

}  // namespace qbart

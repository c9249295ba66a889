// The look of the menus: glass panels with lit edges, title plates and two-state buttons (the
// plain face, and the lit picture the game fades in over it while the button is current).
#pragma once

#include <string>

#include "assetgen/canvas.h"
#include "assetgen/fonts.h"

namespace qbart {

inline constexpr Rgb kUiAccent = Hex(0x38C8FF);
inline constexpr Rgb kUiHot = Hex(0xFFB030);

struct Rect {
  double x, y, w, h;
};

// A dark glass panel with a lit, bevelled edge and corner brackets.
// `opacity` is the glass's mean alpha; what lies behind shows through the rest.
void GlassPanel(Canvas& canvas, Rect r, Rgb accent = kUiAccent, double opacity = 0.93);

// An engraved groove: an input slot or a slider track.
void Slot(Canvas& canvas, Rect r);

// The panel title on a 400 x 100 plate.
Canvas TitlePlate(const std::string& title);

struct ButtonLook {
  Rect body;  // the visible button inside the picture
  std::string label;
  double font_size = 20;
  Face face = Face::kDisplay;
  Rgb accent = kUiAccent;
  double chamfer = 10;  // cut corners
};
// `lit` false: the face; true: the glowing picture drawn over it while current.
Canvas ButtonPicture(int width, int height, const ButtonLook& look, bool lit);

}  // namespace qbart

namespace qbart {

// A translucent highlight bar marking the row the keyboard is on.
Canvas RowLight(int width, int height, Rect bar);

// Left and right chevrons drawn beside a button's label.
void Chevrons(Canvas& canvas, Rect body, bool left, bool right, bool lit);

}  // namespace qbart

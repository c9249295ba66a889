// The mouse, once per run step: the cursor picture follows the pointer, movement reaches the
// screen the state shows, and left clicks act on it.
#pragma once

#include <cstdint>

// 1 when the left button was clicked in this step, otherwise 2 for the right button, otherwise 0.
extern uint8_t MouseButtonClicked;

// The pointer in print space (x -16..16, y -12..12 upward) and in screen pixels.
struct PointerPosition {
  bool Inside = false;  // false when the pointer is outside the window
  long double Mx = 0, My = 0;
  int32_t Px = 0, Py = 0;
};

// Where the pointer is; places the cursor picture and shows or hides the system cursor.
PointerPosition PlacePointer();

// Print space to screen pixels, truncated toward zero.
int32_t PrintToScreenX(long double mx);
int32_t PrintToScreenY(long double my);

void HandleMouseHover();
void HandleMouseClick();

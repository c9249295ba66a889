// The window and engine parameters, filled once at start.
#pragma once

#include <cstdint>

struct TWindowParams {
  int32_t Left = 0;  // desktop pixels: an 800 x 600 client area centred on the screen
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;  // includes the caption
  const char* ClassName = "Game";
  const char* Title = "Quasarball";
  int32_t DisplayValue = 15360000;  // 800 x 600 x 32
  int32_t WindowedSelector = 0;     // 0 in a window, -1 full screen
  int32_t FourthSetting = 0;
  int32_t SixthSetting = -1;  // set back to -1 each time it has been passed on
  uint8_t BossKey = 0;        // copy of the settings' boss key, refreshed after every run step
};

extern TWindowParams WindowParams;

// Centres the window on the screen.
void FillWindowParams();
// 0 for a settings record that asks for a window (Windowed = 1), -1 for anything else.
int32_t WindowedSelectorFor(uint8_t windowed);

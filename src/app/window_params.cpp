#include "app/window_params.h"

#include "engine/platform.h"

TWindowParams WindowParams;

void FillWindowParams() {
  const int32_t halfWidth = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int32_t halfHeight = GetSystemMetrics(SM_CYSCREEN) / 2;
  WindowParams.Left = halfWidth - 400;
  WindowParams.Top = halfHeight - 300;
  WindowParams.Right = halfWidth + 400;
  WindowParams.Bottom = halfHeight + 300 + GetSystemMetrics(SM_CYCAPTION);
}

int32_t WindowedSelectorFor(uint8_t windowed) {
  return windowed == 1 ? 0 : -1;
}

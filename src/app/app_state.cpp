#include "app/app_state.h"

std::atomic<uint8_t> AppState{StateMainMenu};
bool MenuBackgroundOn = false;

// The keyboard, once per run step: the boss key first, then the keys of the current state.
#pragma once

#include <cstdint>

// Scan codes the game names.
constexpr int32_t kScanEscape = 1;
constexpr int32_t kScanBackspace = 14;
constexpr int32_t kScanP = 25;
constexpr int32_t kScanEnter = 28;
constexpr int32_t kScanSpace = 57;
constexpr int32_t kScanPause = 197;
constexpr int32_t kScanUp = 200;
constexpr int32_t kScanDown = 208;
constexpr int32_t kScanLeft = 203;
constexpr int32_t kScanRight = 205;
constexpr int32_t kScanLeftShift = 42;  // the modifiers, left and right
constexpr int32_t kScanRightShift = 54;
constexpr int32_t kScanLeftAlt = 56;
constexpr int32_t kScanRightAlt = 184;
constexpr int32_t kScanLeftCtrl = 29;
constexpr int32_t kScanRightCtrl = 157;

void HandleKeys();

// The lowest scan code clicked in this step, or 0. Codes above it stay unqueried, so their
// clicks wait for the next step.
int32_t PressedKey();

// The modifiers held now: 1 Shift, 2 Alt, 4 Ctrl.
uint8_t ModifierState();

// Keyboard scan code (DirectInput numbering) to Windows virtual-key code, US layout. Used to
// register the full-screen hot keys, which the platform takes as virtual keys.
#pragma once

#include <array>
#include <cstdint>

using TScanToVirtualKey = std::array<uint8_t, 256>;

extern TScanToVirtualKey ScanToVirtualKey;

// Fills the table; scan codes without a key of ours map to 0.
void FillScanToVirtualKey();

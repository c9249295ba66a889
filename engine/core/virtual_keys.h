// Windows virtual-key codes of DirectInput scan codes (US layout), so that a platform layer can
// match a key press against a hot key registered with a virtual key.
#pragma once

#include <cstdint>

namespace engine {

// 0 for a scan code without a key.
uint8_t VirtualKeyOfScanCode(int scanCode);

}  // namespace engine

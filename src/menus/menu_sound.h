#pragma once

#include <cstdint>

// Plays a menu sound once, at the sound-effect volume.
void PlayMenuSound(int32_t sound);

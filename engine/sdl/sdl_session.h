// SDL's process-wide parts, started on first use and shut down when the program ends. The
// platform calls need the video subsystem before any window exists (the game asks for the screen
// size first), so nothing here waits for the engine to open.
#pragma once

namespace engine::sdl {

// Starts SDL's video subsystem; false when no display can be reached.
bool VideoReady();
// Starts SDL2_ttf, which needs no display (the benchmark draws text off screen).
bool FontsReady();
// Opens the audio device for SDL2_mixer; false when there is none (the game then runs silent).
bool AudioReady();

}  // namespace engine::sdl

// The program's spine: the one window of class "Game", the loop that drives the engine through
// its initialisation, run, render and exit phases, and the cycle that closes the engine and opens
// it again when the display mode changes or the game is hidden.
#pragma once

#include <cstdint>

#include "app/window_params.h"
#include "engine/platform.h"

// Nonzero ends the current engine loop; the engine is then closed, the window recreated and the
// engine opened again. Set by whoever wants a reopen; cleared only by the loop.
int32_t GetReopenRequest();
void SetReopenRequest(int32_t request);

// When set at a reopen, the new window is minimised and the loop waits until the player
// activates it.
extern bool SuspendToTaskbar;
// Cleared by the window procedure when the suspended window is activated.
extern bool EngineLive;
// Whether the wait for reactivation ends the program (true) or reopens the engine (false).
extern bool ExitAfterWait;

// Everything from the window class registration to the last engine close.
void RunEngine(TWindowParams& params);

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The start of the program: the level file checked, saved files, window parameters, the engine
// loop, then "play.url". Returns the program's exit status: 0, or 1 when the installation is
// broken and nothing was started.
int RunProgram();

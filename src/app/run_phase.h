// One engine run phase: the step time, the start-up light fade, the main-menu fade, input, the
// game, the menus and the in-game numbers, then a render.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// The length of the last run step in units of 13 ms (0 when the step was implausible). Every
// per-step change is multiplied by it; timers in seconds fall by FrameFactor * 0.013.
extern long double FrameFactor;

// The step clock: the counter reading of the previous step and seconds per counter tick.
extern int64_t PreviousCounter;
extern long double SecondsPerTick;

// Brightness of the start-up light fade, 1..200 (1 = almost black; 200 = fade done).
extern int32_t LightLevel;

// The main-menu fade: one value 0..20 per button, in the order 7, 8, 1, 2, 3, 4, 5, 6.
extern std::array<long double, 8> ButtonFade;
extern bool FadeIn;
extern bool ExitAfterFade;

extern long double BackgroundAngle;  // radians, drives the menu background pictures
extern long double TimeBlinkPhase;   // radians, drives the low-time warning colour
// The seconds figure of the level time printed last.
extern int32_t ShownSeconds;

// The cursor animation: frame 1..11 and the tick count of its last change.
extern int32_t CursorFrame;
extern uint32_t CursorFrameTick;

void RunPhase();

// The step time from a counter reading (also makes it the previous reading).
long double MeasureFrameFactor(int64_t counter);

// One step of the light fade; false once the fade is over (or never started).
bool StepLightFade();

enum class MenuFadeResult { Running, FadeInDone, FadeOutDone };
// One step of the menu fade over ButtonFade, without touching the screen.
MenuFadeResult StepMenuFade(long double frameFactor);

// The level time as the HUD prints it: "mm:ss", "-mm:ss" in overtime; `seconds` gets the seconds
// figure.
std::string FormatLevelTime(long double timeLeft, int32_t& seconds);

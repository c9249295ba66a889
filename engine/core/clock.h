// The engine's one clock. iSystemTimer, QueryPerformanceCounter and GetTickCount all read it, so
// a test that replaces it controls every notion of time in the program at once.
#pragma once

#include <cstdint>
#include <functional>

namespace engine {

// Nanoseconds since an arbitrary start; never goes back.
using ClockSource = std::function<int64_t()>;

int64_t ClockNanoseconds();
double ClockSeconds();

// Replaces the clock; an empty source brings back the steady system clock.
void SetClockSource(ClockSource source);

}  // namespace engine

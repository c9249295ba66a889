#include "core/clock.h"

#include <chrono>
#include <utility>

#include "engine/platform.h"

namespace engine {
namespace {

constexpr int64_t kTicksPerSecond = 1'000'000'000;

int64_t SteadyNanoseconds() {
  static const auto start = std::chrono::steady_clock::now();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                              start)
      .count();
}

ClockSource& Source() {
  static ClockSource source;
  return source;
}

}  // namespace

int64_t ClockNanoseconds() {
  return Source() ? Source()() : SteadyNanoseconds();
}

double ClockSeconds() {
  return static_cast<double>(ClockNanoseconds()) / kTicksPerSecond;
}

void SetClockSource(ClockSource source) {
  Source() = std::move(source);
}

}  // namespace engine

BOOL QueryPerformanceCounter(int64_t* count) {
  if (!count) {
    return 0;
  }
  *count = engine::ClockNanoseconds();
  return 1;
}

BOOL QueryPerformanceFrequency(int64_t* frequency) {
  if (!frequency) {
    return 0;
  }
  *frequency = engine::kTicksPerSecond;
  return 1;
}

// Milliseconds, wrapping after 49.7 days like the original.
uint32_t GetTickCount() {
  return static_cast<uint32_t>(engine::ClockNanoseconds() / 1'000'000);
}

#include "app/random.h"

#include <random>

#include "engine/platform.h"

namespace {

std::mt19937& Generator() {
  static std::mt19937 generator;
  return generator;
}

}  // namespace

void Randomize() {
  int64_t counter = 0;
  QueryPerformanceCounter(&counter);
  RandSeed(static_cast<uint32_t>(counter ^ (counter >> 32)));
}

void RandSeed(uint32_t seed) {
  Generator().seed(seed);
}

int32_t Random(int32_t n) {
  if (n <= 0)
    return 0;
  // Scaling instead of std::uniform_int_distribution keeps a seeded game identical on every
  // standard library.
  return static_cast<int32_t>((static_cast<uint64_t>(Generator()()) * static_cast<uint64_t>(n)) >>
                              32);
}

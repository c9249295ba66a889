// Seeded randomness and noise for the art and sound, identical on every machine: no standard
// distribution (their results differ between libraries), only our own arithmetic.
#pragma once

#include <cstdint>

namespace qbart {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // 0 <= x < 1
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  double Range(double low, double high) { return low + (high - low) * Uniform(); }
  int Int(int count) { return static_cast<int>(Uniform() * count); }

 private:
  uint64_t state_;
};

// Smooth value noise on an integer lattice that repeats every `period_x` by `period_y` cells, so
// a picture made from it tiles when its size is a whole number of periods.
class Noise {
 public:
  Noise(uint64_t seed, int period_x, int period_y)
      : seed_(seed), period_x_(period_x), period_y_(period_y) {}

  // About -1..1.
  double At(double x, double y) const;
  // Sum of `octaves` layers, each twice as fine and `gain` as strong as the one before.
  double Fractal(double x, double y, int octaves, double gain = 0.5) const;

 private:
  double Lattice(int x, int y) const;
  uint64_t seed_;
  int period_x_;
  int period_y_;
};

}  // namespace qbart

#include "assetgen/random.h"

#include <cmath>

namespace qbart {

namespace {
// Callers nearly always pass coordinates inside the period; the division is the rare case.
int Wrap(int value, int period) {
  if (value >= 0 && value < period) {
    return value;
  }
  return ((value % period) + period) % period;
}
}  // namespace

double Noise::Lattice(int x, int y) const {
  uint64_t h = seed_ ^ (static_cast<uint64_t>(Wrap(x, period_x_)) * 0x9E3779B97F4A7C15ULL) ^
               (static_cast<uint64_t>(Wrap(y, period_y_)) * 0xC2B2AE3D27D4EB4FULL);
  h = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ULL;
  h ^= h >> 29;
  return static_cast<double>(h >> 11) * 0x1.0p-52 - 1;
}

double Noise::At(double x, double y) const {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = x - fx;
  const double ty = y - fy;
  const double sx = tx * tx * (3 - 2 * tx);
  const double sy = ty * ty * (3 - 2 * ty);
  const double top = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * sx;
  const double bottom = Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * sx;
  return top + (bottom - top) * sy;
}

double Noise::Fractal(double x, double y, int octaves, double gain) const {
  double sum = 0;
  double amplitude = 1;
  double norm = 0;
  for (int octave = 0; octave < octaves; ++octave) {
    // Each octave doubles the lattice, so its period doubles as well; scaling by a power of two
    // keeps the whole sum periodic on the base period.
    const double scale = std::ldexp(1.0, octave);
    const Noise layer(seed_ + static_cast<uint64_t>(octave) * 7919, period_x_ * (1 << octave),
                      period_y_ * (1 << octave));
    sum += layer.At(x * scale, y * scale) * amplitude;
    norm += amplitude;
    amplitude *= gain;
  }
  return sum / norm;
}

}  // namespace qbart

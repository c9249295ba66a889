// The generator's synthesiser: oscillators, envelopes, filters and a WAV writer. Everything is
// plain arithmetic on doubles, so the same sources give the same sounds everywhere.
#pragma once

#include <cstdint>
#include <vector>

#include "assetgen/canvas.h"
#include "assetgen/random.h"

namespace qbart {

// Sound as floats -1..1; stereo samples are interleaved left, right.
struct Sound {
  int rate = 44100;
  int channels = 1;
  std::vector<double> samples;

  size_t Frames() const { return samples.size() / static_cast<size_t>(channels); }
};

// 16-bit PCM. Peaks are first brought to `peak` of full scale.
Bytes EncodeWav(Sound sound, double peak = 0.89);

double MidiToHz(double note);

// Band-limited oscillators; phase runs 0..1, `step` is frequency / rate.
double SineWave(double phase);
// The same from a table: for inner loops that need many sines.
double FastSine(double phase);
double SawWave(double phase, double step);
double SquareWave(double phase, double step, double width = 0.5);
double TriangleWave(double phase);

// Two-pole resonant low-pass (state-variable), cutoff in Hz.
class LowPass {
 public:
  double Run(double in, double cutoff, double resonance, int rate);
  double band() const { return band_; }
  double high() const { return high_; }

 private:
  double low_ = 0;
  double band_ = 0;
  double high_ = 0;
};

// Attack, decay to sustain, release after `hold` seconds; times in seconds.
struct Envelope {
  double attack = 0.005;
  double decay = 0.1;
  double sustain = 1.0;
  double release = 0.1;
  // Level at time t of a note held for `hold` seconds.
  double At(double t, double hold) const;
  double Length(double hold) const { return hold + release; }
};

// White noise, seeded.
class NoiseSource {
 public:
  explicit NoiseSource(uint64_t seed) : rng_(seed) {}
  double Next() { return rng_.Uniform() * 2 - 1; }

 private:
  Rng rng_;
};

}  // namespace qbart

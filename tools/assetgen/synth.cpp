#include "assetgen/synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "formats/byte_io.h"

namespace qbart {

namespace {

// Smooths the jump of a saw or square wave over one sample either side (polyBLEP).
double Blep(double t, double step) {
  if (t < step) {
    t /= step;
    return t + t - t * t - 1;
  }
  if (t > 1 - step) {
    t = (t - 1) / step;
    return t * t + t + t + 1;
  }
  return 0;
}

void PutShort(Bytes& out, int value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

}  // namespace

double MidiToHz(double note) {
  return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

double SineWave(double phase) {
  return std::sin(2 * M_PI * phase);
}

double FastSine(double phase) {
  constexpr int kSize = 4096;
  static const std::vector<double> table = [] {
    std::vector<double> values(kSize + 1);
    for (int i = 0; i <= kSize; ++i) {
      values[static_cast<size_t>(i)] = std::sin(2 * M_PI * i / kSize);
    }
    return values;
  }();
  const double position = (phase - std::floor(phase)) * kSize;
  const auto index = static_cast<size_t>(position);
  const double fraction = position - static_cast<double>(index);
  return table[index] + (table[index + 1] - table[index]) * fraction;
}

double SawWave(double phase, double step) {
  return 2 * phase - 1 - Blep(phase, step);
}

double SquareWave(double phase, double step, double width) {
  double value = phase < width ? 1 : -1;
  value += Blep(phase, step);
  value -= Blep(std::fmod(phase + 1 - width, 1.0), step);
  return value;
}

double TriangleWave(double phase) {
  return 1 - 4 * std::abs(phase - 0.5);
}

double LowPass::Run(double in, double cutoff, double resonance, int rate) {
  // Chamberlin's filter, run twice per sample to stay stable up to high cutoffs.
  // 2 sin(x) by its series: x stays below 0.35, where three terms are exact to 1e-5.
  const double x = M_PI * std::min(cutoff, rate * 0.22) / (2.0 * rate);
  const double f = 2 * x * (1 - x * x / 6 * (1 - x * x / 20));
  const double damping = 2 * (1 - std::clamp(resonance, 0.0, 0.97));
  for (int pass = 0; pass < 2; ++pass) {
    low_ += f * band_;
    high_ = in - low_ - damping * band_;
    band_ += f * high_;
  }
  return low_;
}

double Envelope::At(double t, double hold) const {
  auto held = [&](double time) {
    if (time < attack) {
      return time / attack;
    }
    if (time < attack + decay) {
      return 1 - (1 - sustain) * (time - attack) / decay;
    }
    return sustain;
  };
  if (t < 0) {
    return 0;
  }
  if (t < hold) {
    return held(t);
  }
  const double after = t - hold;
  if (after >= release) {
    return 0;
  }
  return held(hold) * (1 - after / release);
}

Bytes EncodeWav(Sound sound, double peak) {
  double loudest = 1e-9;
  for (double s : sound.samples) {
    loudest = std::max(loudest, std::abs(s));
  }
  const double gain = peak / loudest;
  const auto data_size = static_cast<uint32_t>(sound.samples.size() * 2);
  Bytes wav = {'R', 'I', 'F', 'F'};
  qbtools::PutWord(wav, 36 + data_size);
  wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  qbtools::PutWord(wav, 16);
  PutShort(wav, 1);  // PCM
  PutShort(wav, sound.channels);
  qbtools::PutWord(wav, static_cast<uint32_t>(sound.rate));
  qbtools::PutWord(wav, static_cast<uint32_t>(sound.rate * sound.channels * 2));
  PutShort(wav, sound.channels * 2);
  PutShort(wav, 16);
  wav.insert(wav.end(), {'d', 'a', 't', 'a'});
  qbtools::PutWord(wav, data_size);
  for (double s : sound.samples) {
    const long value = std::lround(std::clamp(s * gain, -1.0, 1.0) * 32767);
    PutShort(wav, static_cast<int>(value));
  }
  return wav;
}

}  // namespace qbart

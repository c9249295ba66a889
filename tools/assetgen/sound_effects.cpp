// The game's sound effects, each synthesised from a few oscillators, noise and envelopes.
#include <algorithm>
#include <cmath>
#include <functional>

#include "assetgen/art.h"
#include "assetgen/synth.h"

namespace qbart {

namespace {

constexpr int kRate = 44100;

// A mono sound of `seconds`, each sample given by `voice` at time t.
Sound Render(double seconds, const std::function<double(double)>& voice) {
  Sound sound;
  sound.rate = kRate;
  const auto frames = static_cast<size_t>(seconds * kRate);
  sound.samples.resize(frames);
  for (size_t i = 0; i < frames; ++i) {
    sound.samples[i] = voice(static_cast<double>(i) / kRate);
  }
  // A few milliseconds of fade at the end, so nothing clicks off.
  const size_t fade = std::min<size_t>(frames, kRate / 200);
  for (size_t i = 0; i < fade; ++i) {
    sound.samples[frames - 1 - i] *= static_cast<double>(i) / fade;
  }
  return sound;
}

double Decay(double t, double time) {
  return std::exp(-t / time);
}

// Glass block struck: a bright two-partial bell with a tick at the start.
Sound BlockHit() {
  NoiseSource noise(1);
  LowPass tick;
  return Render(0.3, [&](double t) {
    const double mod = std::sin(2 * M_PI * 1320 * 3.5 * t) * 2.2 * Decay(t, 0.03);
    const double bell = std::sin(2 * M_PI * 1320 * t + mod) * Decay(t, 0.09) +
                        0.4 * std::sin(2 * M_PI * 2640 * 1.01 * t) * Decay(t, 0.04) +
                        0.25 * std::sin(2 * M_PI * 660 * t) * Decay(t, 0.12);
    const double click = noise.Next();
    const double clicked = click - tick.Run(click, 3000, 0.2, kRate);
    return bell * 0.8 + clicked * Decay(t, 0.002) * 0.6;
  });
}

// Wall, armour: a short, dull metal knock with inharmonic partials.
Sound WallHit() {
  NoiseSource noise(2);
  LowPass body;
  return Render(0.22, [&](double t) {
    const double f = 420;
    const double tone = std::sin(2 * M_PI * f * t) * Decay(t, 0.06) +
                        0.5 * std::sin(2 * M_PI * f * 2.76 * t) * Decay(t, 0.03) +
                        0.3 * std::sin(2 * M_PI * f * 5.4 * t) * Decay(t, 0.015);
    const double knock = body.Run(noise.Next(), 1800, 0.5, kRate) * Decay(t, 0.01);
    return tone * 0.8 + knock * 1.2;
  });
}

// The paddle: a rubbery, falling "bwop".
Sound PaddleHit() {
  double phase = 0;
  return Render(0.22, [&](double t) {
    const double f = 180 + 160 * Decay(t, 0.03);
    phase += f / kRate;
    const double tone = std::sin(2 * M_PI * phase) + 0.3 * std::sin(4 * M_PI * phase);
    return tone * std::min(1.0, t / 0.003) * Decay(t, 0.07);
  });
}

// The paddle blown apart: a boom, a roar of falling noise and crackles.
Sound PaddleExplosion() {
  NoiseSource noise(3);
  NoiseSource sparks(4);
  LowPass roar;
  double phase = 0;
  return Render(1.8, [&](double t) {
    const double f = 35 + 45 * Decay(t, 0.15);
    phase += f / kRate;
    const double boom = std::sin(2 * M_PI * phase) * Decay(t, 0.45);
    const double cutoff = 200 + 3500 * Decay(t, 0.25);
    const double hiss = roar.Run(noise.Next(), cutoff, 0.3, kRate) * Decay(t, 0.55);
    const double crackle =
        sparks.Next() > 0.996 - 0.004 * Decay(t, 0.5) ? sparks.Next() * Decay(t, 0.6) : 0;
    return boom * 0.9 + hiss * 1.3 + crackle * 0.8;
  });
}

// The gun: a laser "pew" sweeping down.
Sound Shot() {
  double phase = 0;
  LowPass tone;
  return Render(0.24, [&](double t) {
    const double f = 300 + 1700 * Decay(t, 0.045);
    phase = std::fmod(phase + f / kRate, 1.0);
    const double wave = SquareWave(phase, f / kRate, 0.3);
    return tone.Run(wave, 5000, 0.2, kRate) * std::min(1.0, t / 0.002) * Decay(t, 0.08);
  });
}

// A rising run of soft square notes with a shimmer.
Sound Arpeggio(const std::vector<double>& notes, double step, double tail, uint64_t seed) {
  NoiseSource noise(seed);
  LowPass tone;
  std::vector<double> phases(notes.size(), 0.0);
  const double length = step * static_cast<double>(notes.size()) + tail;
  return Render(length, [&](double t) {
    double sum = 0;
    for (size_t i = 0; i < notes.size(); ++i) {
      const double start = step * static_cast<double>(i);
      if (t < start) {
        continue;
      }
      const double local = t - start;
      const double f = MidiToHz(notes[i]) * (1 + 0.004 * std::sin(2 * M_PI * 6 * local));
      phases[i] = std::fmod(phases[i] + f / kRate, 1.0);
      const double last = i + 1 == notes.size() ? tail : step * 2;
      const double env = std::min(1.0, local / 0.004) * Decay(local, last * 0.45);
      sum += (SquareWave(phases[i], f / kRate, 0.25) * 0.5 + SineWave(phases[i] * 2) * 0.5) * env;
    }
    const double shimmer = noise.Next() * 0.03 * Decay(t, length * 0.5);
    return tone.Run(sum, 6000, 0.1, kRate) + shimmer;
  });
}

// A hit on an enemy: a short zap.
Sound EnemyHit() {
  double phase = 0;
  NoiseSource noise(5);
  return Render(0.16, [&](double t) {
    const double f = 380 + 700 * Decay(t, 0.04);
    phase += f / kRate;
    const double zap = std::sin(2 * M_PI * phase) * std::sin(2 * M_PI * 97 * t);
    return (zap + noise.Next() * 0.25 * Decay(t, 0.01)) * Decay(t, 0.05);
  });
}

// An enemy dies: a wobbling squeal falling away into a wet burst.
Sound EnemyDeath() {
  double phase = 0;
  NoiseSource noise(6);
  LowPass burst;
  return Render(0.8, [&](double t) {
    const double f = (90 + 600 * Decay(t, 0.18)) * (1 + 0.12 * std::sin(2 * M_PI * 24 * t));
    phase = std::fmod(phase + f / kRate, 1.0);
    const double squeal = SawWave(phase, f / kRate) * Decay(t, 0.25);
    const double cutoff = 300 + 2500 * Decay(t, 0.12);
    const double wet = burst.Run(noise.Next(), cutoff, 0.75, kRate) * Decay(t, 0.2);
    return squeal * 0.5 + wet * 0.9;
  });
}

// Brass-like chord voice: detuned saws opening up through a filter.
double Brass(double t, double note, double hold, std::vector<double>& phases, LowPass& filter) {
  Envelope env{0.02, 0.2, 0.8, 0.5};
  const double level = env.At(t, hold);
  if (level <= 0) {
    return 0;
  }
  double sum = 0;
  for (size_t i = 0; i < phases.size(); ++i) {
    const double f = MidiToHz(note) * (1 + (static_cast<double>(i) - 1) * 0.004);
    phases[i] = std::fmod(phases[i] + f / kRate, 1.0);
    sum += SawWave(phases[i], f / kRate);
  }
  return filter.Run(sum / 3, 700 + 2600 * level, 0.2, kRate) * level;
}

struct Part {
  Part(double start_at, double midi_note, double held)
      : start(start_at), note(midi_note), hold(held) {}
  double start;
  double note;
  double hold;
  std::vector<double> phases = std::vector<double>(3, 0.0);
  LowPass filter;
};

Sound Phrase(std::vector<Part> parts, double length) {
  return Render(length, [&](double t) {
    double sum = 0;
    for (Part& part : parts) {
      if (t >= part.start) {
        sum += Brass(t - part.start, part.note, part.hold, part.phases, part.filter);
      }
    }
    return sum;
  });
}

// Level cleared: a fanfare up to a bright major chord.
Sound LevelComplete() {
  return Phrase({{0.0, 60, 0.12},
                 {0.13, 64, 0.12},
                 {0.26, 67, 0.12},
                 {0.39, 72, 1.1},
                 {0.39, 64, 1.1},
                 {0.39, 67, 1.1},
                 {0.39, 48, 1.1}},
                2.1);
}

// Game over: a slow fall in minor, to a dark chord.
Sound GameOver() {
  return Phrase({{0.0, 67, 0.3},
                 {0.35, 65, 0.3},
                 {0.7, 63, 0.3},
                 {1.05, 62, 0.35},
                 {1.45, 60, 1.0},
                 {1.45, 55, 1.0},
                 {1.45, 51, 1.0},
                 {1.45, 36, 1.0}},
                3.0);
}

// Running out of time: two urgent beeps, then quiet; the game plays it back to back.
Sound OutOfTime() {
  double phase = 0;
  return Render(1.0, [&](double t) {
    const bool on = t < 0.11 || (t > 0.2 && t < 0.31);
    phase = std::fmod(phase + 988.0 / kRate, 1.0);
    if (!on) {
      return 0.0;
    }
    const double local = t < 0.15 ? t : t - 0.2;
    const double edge = std::min({1.0, local / 0.004, (0.11 - local) / 0.004});
    return SquareWave(phase, 988.0 / kRate, 0.5) * 0.6 * edge;
  });
}

// Menu cursor moved: a soft blip.
Sound MenuMove() {
  return Render(0.08, [](double t) {
    return std::sin(2 * M_PI * (1100 + 500 * Decay(t, 0.01)) * t) * std::min(1.0, t / 0.002) *
           Decay(t, 0.018);
  });
}

// Menu item chosen: two rising tones.
Sound MenuSelect() {
  return Render(0.2, [](double t) {
    const double f = t < 0.06 ? 880 : 1320;
    const double local = t < 0.06 ? t : t - 0.06;
    return TriangleWave(std::fmod(f * t, 1.0)) * std::min(1.0, local / 0.003) * Decay(local, 0.05);
  });
}

}  // namespace

void MakeSoundEffects(Output& out) {
  out.Write("sound/Block1.wav", EncodeWav(BlockHit()));
  out.Write("sound/Block10.wav", EncodeWav(WallHit()));
  out.Write("sound/Bita_Sound.wav", EncodeWav(PaddleHit()));
  out.Write("sound/bita_explo.wav", EncodeWav(PaddleExplosion()));
  out.Write("sound/Bita_Shot.wav", EncodeWav(Shot(), 0.7));
  out.Write("sound/Bonus1.wav", EncodeWav(Arpeggio({72, 76, 79, 84}, 0.06, 0.25, 7)));
  out.Write("sound/Bonus6.wav", EncodeWav(Arpeggio({79, 84, 88, 91, 96}, 0.07, 0.5, 8)));
  out.Write("sound/EnemyHit.wav", EncodeWav(EnemyHit(), 0.8));
  out.Write("sound/Enemy1.wav", EncodeWav(EnemyDeath()));
  out.Write("sound/level_complete.wav", EncodeWav(LevelComplete()));
  out.Write("sound/game_over.wav", EncodeWav(GameOver()));
  out.Write("sound/out_time.wav", EncodeWav(OutOfTime(), 0.6));
  out.Write("sound/mainmenuchg.WAV", EncodeWav(MenuMove(), 0.6));
  out.Write("sound/btn_clk.wav", EncodeWav(MenuSelect(), 0.7));
}

}  // namespace qbart

// The two pieces of music: a calm, spacey one for the menus and a driving one for play. Each is
// written out as notes, played by our own instruments into a loop: a note's tail that runs past
// the end of the loop wraps round to its start, and the echo and reverb are run round the loop
// twice, so the last sample leads into the first without a click.
#include <algorithm>
#include <cmath>
#include <vector>

#include "assetgen/art.h"
#include "assetgen/synth.h"

namespace qbart {

namespace {

constexpr int kRate = 22050;

struct Note {
  double start;     // seconds
  double hold;      // seconds
  double pitch;     // MIDI note
  double velocity;  // 0..1
};

// A stereo loop with a dry mix and two effect sends.
class Loop {
 public:
  explicit Loop(double seconds)
      : frames_(static_cast<size_t>(seconds * kRate)),
        dry_(frames_ * 2),
        echo_send_(frames_),
        reverb_send_(frames_) {}

  size_t frames() const { return frames_; }

  // Adds one sample at `frame` (wrapped round the loop), placed by `pan` (-1 left .. 1 right).
  void Put(size_t frame, double value, double pan, double echo, double reverb) {
    frame %= frames_;
    const double left = std::sqrt(0.5 * (1 - pan));
    const double right = std::sqrt(0.5 * (1 + pan));
    dry_[frame * 2] += value * left;
    dry_[frame * 2 + 1] += value * right;
    echo_send_[frame] += value * echo;
    reverb_send_[frame] += value * reverb;
  }

  // A ping-pong echo and a small reverb, then a gentle limiter.
  Sound Mixdown(double echo_seconds, double echo_feedback) const {
    std::vector<double> out = dry_;
    AddEcho(out, echo_seconds, echo_feedback);
    AddReverb(out);
    Sound sound;
    sound.rate = kRate;
    sound.channels = 2;
    sound.samples.resize(out.size());
    for (size_t i = 0; i < out.size(); ++i) {
      sound.samples[i] = std::tanh(out[i] * 1.2);
    }
    return sound;
  }

 private:
  void AddEcho(std::vector<double>& out, double seconds, double feedback) const {
    const auto delay = static_cast<size_t>(seconds * kRate);
    std::vector<double> left(delay, 0.0), right(delay, 0.0);
    size_t at = 0;
    LowPass tone_left, tone_right;
    for (int pass = 0; pass < 2; ++pass) {
      for (size_t i = 0; i < frames_; ++i) {
        const double from_left = left[at];
        const double from_right = right[at];
        // Ping-pong: what comes out on one side feeds the other.
        left[at] = tone_left.Run(echo_send_[i] + from_right * feedback, 3500, 0, kRate);
        right[at] = tone_right.Run(from_left * feedback, 3500, 0, kRate);
        if (pass == 1) {
          out[i * 2] += from_left;
          out[i * 2 + 1] += from_right;
        }
        at = (at + 1) % delay;
      }
    }
  }

  void AddReverb(std::vector<double>& out) const {
    // Schroeder: parallel combs into two all-passes, a little different on each side.
    const size_t combs[2][4] = {{1116, 1188, 1277, 1356}, {1139, 1211, 1300, 1379}};
    const size_t passes[2] = {556, 441};
    for (int side = 0; side < 2; ++side) {
      std::vector<std::vector<double>> comb(4);
      std::vector<size_t> comb_at(4, 0);
      std::vector<double> damp(4, 0.0);
      for (int c = 0; c < 4; ++c) {
        comb[static_cast<size_t>(c)].assign(combs[side][c] * kRate / 44100, 0.0);
      }
      std::vector<std::vector<double>> allpass(2);
      std::vector<size_t> all_at(2, 0);
      for (int a = 0; a < 2; ++a) {
        allpass[static_cast<size_t>(a)].assign(passes[a] * kRate / 44100 + side * 7, 0.0);
      }
      for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < frames_; ++i) {
          const double in = reverb_send_[i] * 0.3;
          double sum = 0;
          for (size_t c = 0; c < 4; ++c) {
            double& cell = comb[c][comb_at[c]];
            const double value = cell;
            damp[c] = value * 0.6 + damp[c] * 0.4;
            cell = in + damp[c] * 0.84;
            comb_at[c] = (comb_at[c] + 1) % comb[c].size();
            sum += value;
          }
          for (size_t a = 0; a < 2; ++a) {
            double& cell = allpass[a][all_at[a]];
            const double buffered = cell;
            cell = sum + buffered * 0.5;
            sum = buffered - sum * 0.5;
            all_at[a] = (all_at[a] + 1) % allpass[a].size();
          }
          if (pass == 1) {
            out[i * 2 + static_cast<size_t>(side)] += sum;
          }
        }
      }
    }
  }

  size_t frames_;
  std::vector<double> dry_;
  std::vector<double> echo_send_;
  std::vector<double> reverb_send_;
};

size_t FrameAt(double seconds) {
  return static_cast<size_t>(seconds * kRate);
}

// Warm pad: three detuned saws through a slowly breathing low-pass.
void Pad(Loop& loop, const Note& n, double pan, double brightness) {
  const Envelope env{1.2, 0.5, 0.8, 1.8};
  double phase[3] = {0.0, 0.33, 0.66};
  double step[3];
  for (int v = 0; v < 3; ++v) {
    step[v] = MidiToHz(n.pitch) * (1 + (v - 1) * 0.0045) / kRate;
  }
  LowPass filter;
  const auto length = FrameAt(env.Length(n.hold));
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / kRate;
    double sum = 0;
    for (int v = 0; v < 3; ++v) {
      phase[v] += step[v];
      if (phase[v] >= 1) {
        phase[v] -= 1;
      }
      sum += SawWave(phase[v], step[v]);
    }
    const double cutoff = brightness * (1 + 0.35 * FastSine(0.15 * (n.start + t)));
    const double value = filter.Run(sum / 3, cutoff, 0.15, kRate) * env.At(t, n.hold);
    loop.Put(FrameAt(n.start) + i, value * n.velocity * 0.35, pan, 0.0, 0.6);
  }
}

// Glassy keys: two-operator FM with a decaying index.
void Bell(Loop& loop, const Note& n, double pan, double echo) {
  const double f = MidiToHz(n.pitch);
  const double seconds = n.hold + 1.4;
  const auto length = FrameAt(seconds);
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double index = 1.6 * std::exp(-t / 0.25);
    const double value = FastSine(f * t + index / (2 * M_PI) * FastSine(f * 2 * t)) *
                         std::min(1.0, t / 0.003) * std::exp(-t / 0.55);
    loop.Put(FrameAt(n.start) + i, value * n.velocity * 0.3, pan, echo, 0.4);
  }
}

// Soft round bass: a sine with a little triangle.
void SoftBass(Loop& loop, const Note& n) {
  const Envelope env{0.02, 0.3, 0.7, 0.4};
  const double f = MidiToHz(n.pitch);
  const auto length = FrameAt(env.Length(n.hold));
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double value =
        std::sin(2 * M_PI * f * t) + 0.25 * TriangleWave(std::fmod(2 * f * t, 1.0));
    loop.Put(FrameAt(n.start) + i, value * env.At(t, n.hold) * n.velocity * 0.5, 0, 0, 0.05);
  }
}

// Driving bass: a saw with a snappy filter envelope over a sine an octave down.
void PulseBass(Loop& loop, const Note& n) {
  const Envelope env{0.004, 0.1, 0.6, 0.06};
  const double f = MidiToHz(n.pitch);
  double phase = 0;
  LowPass filter;
  const auto length = FrameAt(env.Length(n.hold));
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / kRate;
    phase = std::fmod(phase + f / kRate, 1.0);
    const double cutoff = 220 + 1900 * std::exp(-t / 0.07);
    const double value =
        filter.Run(SawWave(phase, f / kRate), cutoff, 0.55, kRate) + 0.6 * std::sin(M_PI * f * t);
    loop.Put(FrameAt(n.start) + i, value * env.At(t, n.hold) * n.velocity * 0.5, 0, 0, 0.0);
  }
}

// Singing lead: two detuned pulses with a vibrato that comes in as the note holds.
void Lead(Loop& loop, const Note& n, double pan, double softness) {
  const Envelope env{0.015, 0.2, 0.75, 0.18};
  double phase[2] = {0.0, 0.5};
  const double base = MidiToHz(n.pitch);
  LowPass filter;
  const auto length = FrameAt(env.Length(n.hold));
  for (size_t i = 0; i < length; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double vibrato = 1 + 0.006 * std::min(1.0, t / 0.4) * std::sin(2 * M_PI * 5.5 * t);
    double sum = 0;
    for (int v = 0; v < 2; ++v) {
      const double f = base * vibrato * (1 + (v == 0 ? -0.003 : 0.003));
      phase[v] = std::fmod(phase[v] + f / kRate, 1.0);
      sum += softness > 0.5 ? SineWave(phase[v]) + 0.2 * TriangleWave(phase[v])
                            : SquareWave(phase[v], f / kRate, 0.35);
    }
    const double value = filter.Run(sum / 2, softness > 0.5 ? 2500 : 3800, 0.2, kRate);
    loop.Put(FrameAt(n.start) + i, value * env.At(t, n.hold) * n.velocity * 0.33, pan, 0.45, 0.5);
  }
}

// A drum hit, made once and dropped into the loop wherever it plays.
std::vector<double> Kick() {
  std::vector<double> hit(FrameAt(0.4));
  double phase = 0;
  for (size_t i = 0; i < hit.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    phase += (45 + 120 * std::exp(-t / 0.035)) / kRate;
    // The beater's click: a short burst that starts from silence, so nothing steps.
    const double click = 0.35 * std::exp(-t / 0.0015) * std::sin(2 * M_PI * 1700 * t);
    hit[i] = std::sin(2 * M_PI * phase) * std::exp(-t / 0.16) + click;
  }
  return hit;
}

std::vector<double> Snare(uint64_t seed) {
  std::vector<double> hit(FrameAt(0.3));
  NoiseSource noise(seed);
  LowPass filter;
  for (size_t i = 0; i < hit.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    filter.Run(noise.Next(), 2400, 0.3, kRate);
    hit[i] = filter.band() * 1.4 * std::exp(-t / 0.08) +
             0.5 * std::sin(2 * M_PI * 185 * t) * std::exp(-t / 0.04);
  }
  return hit;
}

std::vector<double> Hat(uint64_t seed, double decay) {
  std::vector<double> hit(FrameAt(decay * 6));
  NoiseSource noise(seed);
  LowPass filter;
  for (size_t i = 0; i < hit.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    filter.Run(noise.Next(), 7000, 0.1, kRate);
    hit[i] = filter.high() * std::exp(-t / decay) * std::min(1.0, t / 0.001);
  }
  return hit;
}

void Drum(Loop& loop, const std::vector<double>& hit, double start, double level, double pan,
          double reverb) {
  for (size_t i = 0; i < hit.size(); ++i) {
    loop.Put(FrameAt(start) + i, hit[i] * level, pan, 0, reverb);
  }
}

// Filtered noise rising over `seconds`: the lift before a new section.
void Riser(Loop& loop, double start, double seconds, uint64_t seed) {
  NoiseSource noise(seed);
  LowPass filter;
  const auto length = FrameAt(seconds);
  for (size_t i = 0; i < length; ++i) {
    const double x = static_cast<double>(i) / static_cast<double>(length);
    const double value = filter.Run(noise.Next(), 400 + 6000 * x * x, 0.6, kRate) * x * x;
    loop.Put(FrameAt(start) + i, value * 0.25, std::sin(x * 12) * 0.6, 0, 0.4);
  }
}

// ---- The menu: 90 beats a minute, 24 bars in A minor, slow and wide. ----

Sound MenuMusic() {
  const double beat = 60.0 / 90;
  const double bar = beat * 4;
  Loop loop(bar * 24);
  struct Chord {
    int bass;
    std::vector<int> pad;
  };
  const Chord chords[12] = {
      {45, {57, 60, 64, 67, 71}}, {41, {53, 57, 60, 64}}, {48, {55, 59, 60, 64}},
      {43, {55, 59, 62, 64}},     {50, {53, 57, 60, 64}}, {45, {57, 60, 64, 67}},
      {41, {57, 59, 60, 64}},     {40, {57, 59, 64, 68}}, {41, {53, 57, 60, 64}},
      {43, {55, 59, 62, 64}},     {40, {55, 59, 62, 64}}, {45, {57, 60, 64, 67, 71}},
  };
  const std::vector<double> kick = Kick();
  const std::vector<double> shaker = Hat(31, 0.025);
  const std::vector<double> rim = Snare(32);
  const int arp_order[8] = {0, 2, 1, 3, 2, 4, 3, 1};
  for (int c = 0; c < 12; ++c) {
    const double start = c * 2 * bar;
    const Chord& chord = chords[c];
    for (size_t v = 0; v < chord.pad.size(); ++v) {
      Pad(loop, {start, 2 * bar, static_cast<double>(chord.pad[v]), 0.8}, v % 2 == 0 ? -0.5 : 0.5,
          1500);
    }
    SoftBass(loop, {start, bar * 1.4, static_cast<double>(chord.bass), 0.9});
    SoftBass(loop, {start + bar * 1.5, bar * 0.4, static_cast<double>(chord.bass + 7), 0.6});
    SoftBass(loop, {start + bar * 2 - beat, beat * 0.8, static_cast<double>(chord.bass + 12), 0.5});
    if (c >= 1) {
      // Arpeggiated bells in eighths over the chord, an octave up, echoing across the field.
      for (int step = 0; step < 16; ++step) {
        const int pick = arp_order[step % 8] % static_cast<int>(chord.pad.size());
        const double pitch =
            chord.pad[static_cast<size_t>(pick)] + 12 + (step >= 8 ? 12 : 0) * (c % 2);
        Bell(loop, {start + step * beat / 2, beat / 2, pitch, step % 4 == 0 ? 0.5 : 0.32},
             std::sin(step * 0.9) * 0.7, 0.55);
      }
    }
    if (c >= 2) {
      for (int b = 0; b < 8; ++b) {
        const double at = start + b * beat;
        if (b % 4 == 0 || b % 4 == 2.5) {
          Drum(loop, kick, at, 0.7, 0, 0.1);
        }
        if (b % 4 == 2) {
          Drum(loop, kick, at + beat / 2, 0.45, 0, 0.1);
        }
        if (c >= 4 && b % 2 == 1) {
          Drum(loop, rim, at, 0.18, 0.2, 0.5);
        }
        Drum(loop, shaker, at, 0.12, -0.4, 0.2);
        Drum(loop, shaker, at + beat / 2, 0.2, 0.4, 0.2);
      }
    }
  }
  // A slow melody in A minor pentatonic over the middle of the piece (bar, beat, beats, note).
  const double melody[][4] = {
      {8, 0, 3, 76},  {8, 3, 1, 74},  {9, 0, 2, 72},  {9, 2, 2, 69},  {10, 0, 3, 67},
      {10, 3, 1, 69}, {11, 0, 4, 64}, {12, 0, 2, 69}, {12, 2, 2, 72}, {13, 0, 3, 74},
      {13, 3, 1, 76}, {14, 0, 2, 79}, {14, 2, 2, 76}, {15, 0, 4, 71}, {16, 0, 2, 69},
      {16, 2, 2, 72}, {17, 0, 4, 76}, {18, 0, 3, 74}, {18, 3, 1, 71}, {19, 0, 4, 67},
  };
  for (const auto& m : melody) {
    Lead(loop, {m[0] * bar + m[1] * beat, m[2] * beat * 0.95, m[3], 0.8}, 0.15, 1.0);
  }
  return loop.Mixdown(beat * 0.75, 0.45);
}

// ---- Play: 120 beats a minute, 32 bars in E minor, four on the floor. ----

Sound GameMusic() {
  const double beat = 0.5;
  const double bar = beat * 4;
  Loop loop(bar * 32);
  struct Chord {
    int root;
    std::vector<int> pad;
  };
  const Chord chords[8] = {
      {40, {59, 64, 67}}, {36, {60, 64, 67}}, {43, {59, 62, 67}}, {38, {57, 62, 66}},
      {40, {59, 64, 67}}, {36, {60, 64, 67}}, {45, {57, 60, 64}}, {35, {57, 59, 63, 66}},
  };
  const std::vector<double> kick = Kick();
  const std::vector<double> snare = Snare(41);
  const std::vector<double> hat = Hat(42, 0.012);
  const std::vector<double> open_hat = Hat(43, 0.06);
  const int bass_steps[8] = {0, 0, 12, 0, 0, 12, 7, 12};
  for (int section = 0; section < 16; ++section) {
    const Chord& chord = chords[section % 8];
    const double start = section * 2 * bar;
    for (size_t v = 0; v < chord.pad.size(); ++v) {
      Pad(loop, {start, 2 * bar - 0.1, static_cast<double>(chord.pad[v]), 0.7},
          v % 2 == 0 ? -0.6 : 0.6, section >= 8 ? 2600 : 1800);
    }
    for (int step = 0; step < 16; ++step) {
      PulseBass(loop, {start + step * beat / 2, beat * 0.4,
                       static_cast<double>(chord.root + bass_steps[step % 8]),
                       step % 2 == 0 ? 1.0 : 0.8});
    }
    if (section >= 8) {
      // Sixteenth-note arpeggio in the second half.
      for (int step = 0; step < 32; ++step) {
        const int pick = step % static_cast<int>(chord.pad.size());
        Bell(loop,
             {start + step * beat / 4, beat / 4,
              static_cast<double>(chord.pad[static_cast<size_t>(pick)] + 12 + 12 * (step / 16)),
              0.28},
             step % 2 == 0 ? -0.5 : 0.5, 0.3);
      }
    }
    for (int b = 0; b < 8; ++b) {
      const double at = start + b * beat;
      Drum(loop, kick, at, 1.0, 0, 0.05);
      if (b % 2 == 1) {
        Drum(loop, snare, at, 0.65, 0.1, 0.2);
      }
      Drum(loop, hat, at + beat / 2, 0.35, 0.35, 0.1);
      if (section >= 4) {
        Drum(loop, hat, at + beat / 4, 0.16, -0.3, 0.05);
        Drum(loop, hat, at + 3 * beat / 4, 0.16, -0.3, 0.05);
      }
      if (b % 4 == 3) {
        Drum(loop, open_hat, at + beat / 2, 0.3, 0.4, 0.2);
      }
    }
  }
  Riser(loop, 7 * bar, bar, 51);
  Riser(loop, 23 * bar, bar, 52);
  // The tune, on an eighth-note grid: (first bar, step, steps long, note).
  const double tune[][4] = {
      {0, 0, 2, 71}, {0, 2, 2, 76}, {0, 4, 1, 74}, {0, 5, 2, 71}, {0, 7, 1, 67}, {1, 0, 2, 69},
      {1, 2, 6, 71}, {2, 0, 2, 72}, {2, 2, 2, 76}, {2, 4, 1, 74}, {2, 5, 2, 72}, {2, 7, 1, 67},
      {3, 0, 4, 76}, {3, 4, 2, 74}, {3, 6, 2, 72}, {4, 0, 2, 69}, {4, 2, 2, 72}, {4, 4, 2, 76},
      {4, 6, 1, 74}, {4, 7, 1, 72}, {5, 0, 4, 71}, {5, 4, 2, 69}, {5, 6, 2, 67}, {6, 0, 2, 66},
      {6, 2, 2, 69}, {6, 4, 2, 71}, {6, 6, 2, 75}, {7, 0, 8, 78},
  };
  for (int repeat = 0; repeat < 2; ++repeat) {
    const double first = repeat == 0 ? 8 : 24;
    for (const auto& n : tune) {
      const double at = (first + n[0]) * bar + n[1] * beat / 2;
      Lead(loop, {at, n[2] * beat / 2 * 0.9, n[3], 0.42}, -0.1, 0.0);
      if (repeat == 1) {
        Lead(loop, {at, n[2] * beat / 2 * 0.9, n[3] - 12, 0.3}, 0.3, 1.0);
      }
    }
  }
  return loop.Mixdown(beat * 0.75, 0.35);
}

}  // namespace

void MakeMusic(Output& out) {
  out.Write("sound/musmenu.wav", EncodeWav(MenuMusic()));
  out.Write("sound/musgame.wav", EncodeWav(GameMusic()));
}

}  // namespace qbart

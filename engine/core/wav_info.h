// What the engine needs to know of a WAV file before a backend plays it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace engine {

struct WavInfo {
  int channels = 0;
  int sampleRate = 0;  // frames per second
  int bitsPerSample = 0;
  double duration = 0;  // seconds
};

// Reads the RIFF/WAVE header: PCM (8, 16, 24 or 32 bits) or IEEE float (32 or 64 bits), 1 to 8
// channels, and a data chunk that lies wholly inside the file. Nothing for anything else.
std::optional<WavInfo> ReadWavInfo(std::span<const uint8_t> bytes);

}  // namespace engine

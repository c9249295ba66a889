// The WAV header reader, on whatever a sound file may hold.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/wav_info.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto info = engine::ReadWavInfo(std::span(data, size));
  if (info) {
    fuzz::Check(info->channels >= 1 && info->channels <= 8, "1 to 8 channels");
    fuzz::Check(info->sampleRate > 0 && info->duration >= 0, "a rate and a duration");
  }
  return 0;
}

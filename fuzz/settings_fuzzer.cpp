// "data\settings.dat": any 36 bytes read as settings in range, and written back as a record that
// reads as the same settings.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "headless/headless.h"
#include "persist/settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  headless::Reset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size != TSettings::kBytes) {
    return 0;
  }
  const TSettings read = TSettings::Parse(std::span<const uint8_t, TSettings::kBytes>(data, size));
  fuzz::Check(read.SoundVolume >= 0 && read.SoundVolume <= 100 && read.MusicVolume >= 0 &&
                  read.MusicVolume <= 100,
              "volumes 0..100");
  fuzz::Check(read.Country.size() <= 10, "a country of at most 10 characters");
  const auto written = read.Serialize();
  fuzz::Check(TSettings::Parse(written).Serialize() == written, "written settings read back");
  return 0;
}

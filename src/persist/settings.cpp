#include "persist/settings.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/paths.h"
#include "persist/byte_io.h"
#include "persist/file_store.h"

TSettings Settings;
TSettings SettingsEdit;

namespace {

constexpr const char* kSettingsFile = "data\\settings.dat";

void WriteSettings(const TSettings& settings) {
  const auto bytes = settings.Serialize();
  // A failed write keeps the old file; the game goes on with the settings in memory.
  WriteFileAtomically(SavedFilePath(kSettingsFile), bytes);
}

// The gamepad presses the game's keys as they are bound now.
void UseKeys(const TSettings& settings) {
  iGamepadKeys(settings.KeyLeft, settings.KeyRight, settings.KeyFire);
}

}  // namespace

std::array<uint8_t, TSettings::kBytes> TSettings::Serialize() const {
  using namespace byte_io;
  std::array<uint8_t, kBytes> out{};
  out[0] = Windowed;
  std::copy(PaddingAfterWindowed.begin(), PaddingAfterWindowed.end(), out.begin() + 1);
  PutI32(out, 4, SoundVolume);
  PutI32(out, 8, MusicVolume);
  PutShortString(out, 12, Country);
  out[23] = BossKey;
  out[24] = BossShift;
  out[25] = BossAlt;
  out[26] = BossCtrl;
  out[27] = PaddingAfterBossCtrl;
  PutU16(out, 28, KeyLeft);
  PutU16(out, 30, KeyRight);
  PutU16(out, 32, KeyFire);
  PutU16(out, 34, PaddingAtEnd);
  return out;
}

TSettings TSettings::Parse(std::span<const uint8_t, kBytes> in) {
  using namespace byte_io;
  TSettings s;
  s.Windowed = in[0];
  std::copy(in.begin() + 1, in.begin() + 4, s.PaddingAfterWindowed.begin());
  s.SoundVolume = std::clamp(GetI32(in, 4), 0, 100);
  s.MusicVolume = std::clamp(GetI32(in, 8), 0, 100);
  s.Country = GetShortString(in, 12);
  s.BossKey = in[23];
  s.BossShift = in[24];
  s.BossAlt = in[25];
  s.BossCtrl = in[26];
  s.PaddingAfterBossCtrl = in[27];
  s.KeyLeft = GetU16(in, 28);
  s.KeyRight = GetU16(in, 30);
  s.KeyFire = GetU16(in, 32);
  s.PaddingAtEnd = GetU16(in, 34);
  return s;
}

float EngineVolume(int32_t level) {
  return static_cast<float>(level / 300.0 + 0.66);
}

void LoadSettings() {
  RemoveLeftoverTemporary(SavedFilePath(kSettingsFile));
  if (auto bytes = ReadExactFile(SavedFilePath(kSettingsFile), TSettings::kBytes)) {
    Settings = TSettings::Parse(std::span<const uint8_t, TSettings::kBytes>(*bytes));
  } else {
    KeepUnreadableFile(SavedFilePath(kSettingsFile), TSettings::kBytes);
    Settings = TSettings{};
    WriteSettings(Settings);
  }
  UseKeys(Settings);
}

void SaveSettings() {
  WriteSettings(Settings);
  SettingsEdit = Settings;
  UseKeys(Settings);
}

void CommitSettings() {
  WriteSettings(SettingsEdit);
  Settings = SettingsEdit;
  UseKeys(Settings);
}

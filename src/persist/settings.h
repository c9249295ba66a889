// The player's settings, saved as "data\settings.dat": one 36-byte little-endian record.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct TSettings {
  uint8_t Windowed = 1;       // 1 = play in a window, anything else = full screen
  int32_t SoundVolume = 100;  // 0..100
  int32_t MusicVolume = 100;  // 0..100
  std::string Country;        // at most 10 characters: the country last typed in a record entry
  uint8_t BossKey = 88;       // scan code of the key that hides the game (F12)
  uint8_t BossShift = 0;      // 1 when Shift must be held with BossKey
  uint8_t BossAlt = 0;
  uint8_t BossCtrl = 0;
  uint16_t KeyLeft = 203;   // scan codes: cursor left,
  uint16_t KeyRight = 205;  // cursor right
  uint16_t KeyFire = 57;    // and space

  // The three padding areas are kept as read, so a rewrite changes only what the player changed.
  std::array<uint8_t, 3> PaddingAfterWindowed{};
  uint8_t PaddingAfterBossCtrl = 0;
  uint16_t PaddingAtEnd = 0;

  static constexpr size_t kBytes = 36;

  std::array<uint8_t, kBytes> Serialize() const;
  // Volumes outside 0..100 are clamped; a country length above 10 is cut to 10.
  static TSettings Parse(std::span<const uint8_t, kBytes> bytes);
};

// Volume level 0..100 as the engine's volume: even level 0 stays audible at 0.66.
float EngineVolume(int32_t level);

// The live record every part of the game reads, and the copy the options panel edits.
extern TSettings Settings;
extern TSettings SettingsEdit;

// Reads "data\settings.dat"; a missing, short, long or unreadable file gives the defaults, which
// are written back.
void LoadSettings();
// Writes the live record and copies it over the edit copy.
void SaveSettings();
// Writes the edit copy and copies it over the live record.
void CommitSettings();

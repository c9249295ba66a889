// The local table of the ten best results, saved as "data\records.dat": ten 16-byte entries,
// best first.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

struct TRecord {
  std::string Name;  // at most 10 characters
  int32_t Score = 0;
};

constexpr int kRecordCount = 10;
using TRecordsTable = std::array<TRecord, kRecordCount>;  // index 0 holds entry 1

constexpr size_t kRecordsBytes = 160;

std::array<uint8_t, kRecordsBytes> SerializeRecords(const TRecordsTable& table);
TRecordsTable ParseRecords(std::span<const uint8_t, kRecordsBytes> bytes);
// "Anonymous" ten times, 10000 down to 1000.
TRecordsTable DefaultRecords();

extern TRecordsTable Records;

// Reads "data\records.dat"; a missing or malformed file gives the default table, written back.
void LoadRecords();
void SaveRecords();
// Puts the default table back and saves it.
void ResetRecords();

// The entry number 1..10 a new score would take (below any equal score), or 0 when it does not
// enter the table.
int PlaceOfNewResult(int32_t score);
// Moves the entries from `position` down one place (the tenth is lost), stores the result at
// `position` (the name cut to 10 characters) and saves the table.
void InsertRecord(int position, const std::string& name, int32_t score);

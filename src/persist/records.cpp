#include "persist/records.h"

#include "engine/paths.h"
#include "persist/byte_io.h"
#include "persist/file_store.h"

TRecordsTable Records = DefaultRecords();

namespace {

constexpr const char* kRecordsFile = "data\\records.dat";
constexpr size_t kEntryBytes = 16;

}  // namespace

std::array<uint8_t, kRecordsBytes> SerializeRecords(const TRecordsTable& table) {
  std::array<uint8_t, kRecordsBytes> out{};
  for (size_t i = 0; i < table.size(); ++i) {
    byte_io::PutShortString(out, i * kEntryBytes, table[i].Name);
    byte_io::PutI32(out, i * kEntryBytes + 12, table[i].Score);
  }
  return out;
}

TRecordsTable ParseRecords(std::span<const uint8_t, kRecordsBytes> bytes) {
  TRecordsTable table;
  for (size_t i = 0; i < table.size(); ++i) {
    table[i].Name = byte_io::GetShortString(bytes, i * kEntryBytes);
    table[i].Score = byte_io::GetI32(bytes, i * kEntryBytes + 12);
  }
  return table;
}

TRecordsTable DefaultRecords() {
  TRecordsTable table;
  for (int i = 0; i < kRecordCount; ++i)
    table[i] = {"Anonymous", 10000 - 1000 * i};
  return table;
}

void LoadRecords() {
  RemoveLeftoverTemporary(SavedFilePath(kRecordsFile));
  if (auto bytes = ReadExactFile(SavedFilePath(kRecordsFile), kRecordsBytes)) {
    Records = ParseRecords(std::span<const uint8_t, kRecordsBytes>(*bytes));
    return;
  }
  KeepUnreadableFile(SavedFilePath(kRecordsFile), kRecordsBytes);
  Records = DefaultRecords();
  SaveRecords();
}

void SaveRecords() {
  // A failed write keeps the old file; the table in memory stays as it is.
  WriteFileAtomically(SavedFilePath(kRecordsFile), SerializeRecords(Records));
}

void ResetRecords() {
  Records = DefaultRecords();
  SaveRecords();
}

int PlaceOfNewResult(int32_t score) {
  int place = 0;
  for (int entry = kRecordCount; entry >= 1; --entry)
    if (Records[entry - 1].Score < score)
      place = entry;
  return place;
}

void InsertRecord(int position, const std::string& name, int32_t score) {
  if (position < 1 || position > kRecordCount)
    return;
  for (int entry = kRecordCount; entry > position; --entry)
    Records[entry - 1] = Records[entry - 2];
  Records[position - 1] = {name.substr(0, byte_io::kShortStringMax), score};
  SaveRecords();
}

// "data\records.dat": any 160 bytes read as a table, written back as one that reads the same.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "headless/headless.h"
#include "persist/records.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  headless::Reset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size != kRecordsBytes) {
    return 0;
  }
  const TRecordsTable read = ParseRecords(std::span<const uint8_t, kRecordsBytes>(data, size));
  for (const TRecord& record : read) {
    fuzz::Check(record.Name.size() <= 10, "names of at most 10 characters");
  }
  const auto written = SerializeRecords(read);
  fuzz::Check(SerializeRecords(ParseRecords(written)) == written, "a written table reads back");
  return 0;
}

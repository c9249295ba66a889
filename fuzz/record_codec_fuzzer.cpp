// The upload's record codec, as the high-score service meets it: a decoded `inf` encodes back
// to the same letters, and a record taken apart puts back together as the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "online/record_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (const auto bits = DecodeLetters(input)) {
    fuzz::Check(EncodeLetters(*bits) == input, "letters decode and encode to themselves");
    if (const auto text = DecodeBits(*bits)) {
      fuzz::Check(EncodeBits(*text) == *bits, "bits decode and encode to themselves");
    }
  }
  // The same bytes as a record already decoded.
  const TRecordParse parse = ParseResultRecord(input);
  fuzz::Check(parse.Record.has_value() == parse.Error.empty(), "a record or a reason");
  if (const auto& r = parse.Record) {
    std::string rebuilt = "type=" + r->Type + "|name=" + r->Name + "|score=" + r->Score +
                          "|key=" + r->Key + "|p=" + r->P + "|add=" + r->Country + "|z=";
    rebuilt.resize(input.size(), '0');
    fuzz::Check(rebuilt == input, "a record's pieces put back together as the record");
  }
  return 0;
}

// The level text levelc compiles: a level it accepts must write out as text that reads back as
// the same level, and must compile.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/level_source.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qbtools::LevelSource source;
  try {
    source = qbtools::ParseLevelSource(text, "fuzz.lvl");
  } catch (const qbtools::SourceError&) {
    return 0;
  }
  const qbtools::LevelSource again =
      qbtools::ParseLevelSource(qbtools::FormatLevelSource(source), "again.lvl");
  fuzz::Check(again.title == source.title && again.level == source.level,
              "a level reads back from its own text");
  const qbtools::LevelFiles files = qbtools::EncodeLevels({source.level});
  fuzz::Check(qbtools::DecodeLevels(files.levels, files.dynamic).front() == source.level,
              "a compiled level decodes to itself");
  return 0;
}

// The font check the engine makes before a backend opens a ".wid" file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/font_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  engine::IsFontFile(std::span(data, size));
  return 0;
}

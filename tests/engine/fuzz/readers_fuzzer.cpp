// libFuzzer entry: every file reader of the engine on the same bytes. Built only with Clang
// (see ../CMakeLists.txt); run as `qb_engine_readers_fuzzer -max_total_time=60`.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/dds_image.h"
#include "core/font_file.h"
#include "core/image_decoder.h"
#include "core/wav_info.h"
#include "core/x_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  engine::ReadXModel(std::string_view(reinterpret_cast<const char*>(data), size));
  engine::ReadDds(bytes);
  engine::ReadWavInfo(bytes);
  engine::IsFontFile(bytes);
  engine::DecodeImage(bytes);
  return 0;
}

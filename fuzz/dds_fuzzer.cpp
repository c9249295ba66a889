// The DDS reader, on its own and through the picture decoder that picks it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/dds_image.h"
#include "core/image_decoder.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span bytes(data, size);
  const auto image = engine::ReadDds(bytes);
  if (image) {
    fuzz::Check(image->width > 0 && image->height > 0 &&
                    image->rgba.size() ==
                        static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 4,
                "the pixels fill the picture");
  }
  if (engine::LooksLikeDds(bytes)) {
    fuzz::Check(engine::TryDecodeImage(bytes).image.has_value() == image.has_value(),
                "the decoder takes a DDS file as the reader does");
  }
  return 0;
}

// PNG and JPEG through the picture decoder, without the line it prints for each damaged file,
// and the header probe that sizes large pictures before they are decoded.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "core/dds_image.h"
#include "core/image_decoder.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const engine::DecodedImage decoded = engine::TryDecodeImage(bytes);
  const std::optional<engine::ImageSize> probed = engine::ProbeImage(bytes);
  fuzz::Check(decoded.image.has_value() == decoded.problem.empty(), "a picture or a reason");
  if (const auto& image = decoded.image) {
    fuzz::Check(image->width > 0 && image->height > 0 && image->width <= engine::kMaxImageSide &&
                    image->height <= engine::kMaxImageSide,
                "a picture of a size the engine takes");
    fuzz::Check(image->rgba.size() ==
                    static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 4,
                "the pixels fill the picture");
    if (!engine::LooksLikeDds(bytes)) {
      fuzz::Check(probed && probed->width == image->width && probed->height == image->height,
                  "the header gives the picture's size");
    }
  }
  return 0;
}

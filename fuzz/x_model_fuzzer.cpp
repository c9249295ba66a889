// The ".x" model reader: every index it hands back must name a position.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/x_model.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto model =
      engine::ReadXModel(std::string_view(reinterpret_cast<const char*>(data), size));
  if (model) {
    fuzz::Check(model->uvs.size() == model->positions.size(), "one coordinate per position");
    fuzz::Check(model->triangles.size() % 3 == 0, "whole triangles");
    for (const int32_t index : model->triangles) {
      fuzz::Check(index >= 0 && static_cast<size_t>(index) < model->positions.size(),
                  "indices inside the positions");
    }
  }
  return 0;
}

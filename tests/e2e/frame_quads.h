// Textured quads built straight into a draw list, as the engine's frame builder makes them: for
// the renderer's tests and benchmarks, which draw frames without a scene behind them.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/frame.h"

namespace engine::sdl {

// A quad of `width` x `height` screen pixels centred on (cx, cy), turned by `degrees`.
inline void AddQuad(Frame& frame, ResourceId texture, Blend blend, float cx, float cy, float width,
                    float height, Rgba colour, float degrees = 0) {
  const float angle = degrees * static_cast<float>(M_PI) / 180;
  const float c = std::cos(angle), s = std::sin(angle);
  const auto base = static_cast<int32_t>(frame.vertices.size());
  // Corners in the engine's order: its quad model runs counter-clockwise from the bottom left.
  const float corners[4][4] = {{-1, 1, 0, 1}, {1, 1, 1, 1}, {1, -1, 1, 0}, {-1, -1, 0, 0}};
  for (const auto& corner : corners) {
    const float x = corner[0] * width / 2, y = corner[1] * height / 2;
    frame.vertices.push_back(
        {cx + x * c - y * s, cy + x * s + y * c, corner[2], corner[3], colour});
  }
  Geometry geometry;
  geometry.texture = texture;
  geometry.blend = blend;
  geometry.firstIndex = static_cast<int32_t>(frame.indices.size());
  geometry.indexCount = 6;
  frame.indices.insert(frame.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
  frame.items.emplace_back(ItemSource{}, geometry);
}

}  // namespace engine::sdl

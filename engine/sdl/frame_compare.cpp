#include "sdl/frame_compare.h"

#include <algorithm>
#include <variant>

namespace engine::sdl {
namespace {

bool Same(const Rgba& a, const Rgba& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool Same(const Vertex& a, const Vertex& b) {
  return a.x == b.x && a.y == b.y && a.u == b.u && a.v == b.v && Same(a.colour, b.colour);
}

bool Same(const Geometry& a, const Geometry& b) {
  return a.texture == b.texture && a.blend == b.blend && a.addressing == b.addressing &&
         a.firstIndex == b.firstIndex && a.indexCount == b.indexCount;
}

bool Same(const TextRun& a, const TextRun& b) {
  return a.font == b.font && a.text == b.text && a.left == b.left && a.baseline == b.baseline &&
         a.advance == b.advance && a.cellWidth == b.cellWidth && a.cellHeight == b.cellHeight &&
         Same(a.colour, b.colour);
}

bool Same(const DrawItem& a, const DrawItem& b) {
  if (a.content.index() != b.content.index()) {
    return false;
  }
  if (const auto* geometry = std::get_if<Geometry>(&a.content)) {
    return Same(*geometry, std::get<Geometry>(b.content));
  }
  return Same(std::get<TextRun>(a.content), std::get<TextRun>(b.content));
}

template <typename T>
bool SameList(const std::vector<T>& a, const std::vector<T>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const T& x, const T& y) { return Same(x, y); });
}

}  // namespace

bool SameFrame(const Frame& a, const Frame& b) {
  return a.indices == b.indices && SameList(a.vertices, b.vertices) && SameList(a.items, b.items);
}

}  // namespace engine::sdl

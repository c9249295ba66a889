#include "sdl/frame_damage.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace engine::sdl {
namespace {

// More rectangles than this cost more in per-call overhead than the pixels they save.
constexpr size_t kMostRects = 8;
// Past this many changed items the screen is busy (play with debris flying): drawing it whole
// is cheaper than working out where.
constexpr size_t kMostChangedItems = 64;
// Changes over more than this share of the screen take the full path.
constexpr double kMostDamagedShare = 0.6;

bool Same(const Rgba& a, const Rgba& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool SameVertex(const Vertex& a, const Vertex& b) {
  return a.x == b.x && a.y == b.y && a.u == b.u && a.v == b.v && Same(a.colour, b.colour);
}

bool InRange(const Frame& frame, const Geometry& geometry) {
  return geometry.firstIndex >= 0 && geometry.indexCount >= 0 &&
         static_cast<size_t>(geometry.firstIndex) + geometry.indexCount <= frame.indices.size();
}

const Vertex* VertexAt(const Frame& frame, int32_t index) {
  const int32_t vertex = frame.indices[index];
  if (vertex < 0 || static_cast<size_t>(vertex) >= frame.vertices.size()) {
    return nullptr;
  }
  return &frame.vertices[vertex];
}

// The same triangles at the same places: compared through the indices, since an item earlier
// in the frame that grew or went away moves every later item's vertices.
bool SameGeometry(const Frame& fa, const Geometry& a, const Frame& fb, const Geometry& b) {
  if (a.texture != b.texture || a.blend != b.blend || a.addressing != b.addressing ||
      a.indexCount != b.indexCount || !InRange(fa, a) || !InRange(fb, b)) {
    return false;
  }
  for (int32_t i = 0; i < a.indexCount; ++i) {
    const Vertex* va = VertexAt(fa, a.firstIndex + i);
    const Vertex* vb = VertexAt(fb, b.firstIndex + i);
    if (!va || !vb || !SameVertex(*va, *vb)) {
      return false;
    }
  }
  return true;
}

bool SameText(const TextRun& a, const TextRun& b) {
  return a.font == b.font && a.text == b.text && a.left == b.left && a.baseline == b.baseline &&
         a.advance == b.advance && a.cellWidth == b.cellWidth && a.cellHeight == b.cellHeight &&
         Same(a.colour, b.colour);
}

ResourceId ShownResource(const DrawItem& item) {
  if (const auto* geometry = std::get_if<Geometry>(&item.content)) {
    return geometry->texture;
  }
  return std::get<TextRun>(item.content).font;
}

bool SameItem(const Frame& fa, const DrawItem& a, const Frame& fb, const DrawItem& b,
              const std::unordered_set<ResourceId>& replaced) {
  if (a.content.index() != b.content.index() || replaced.contains(ShownResource(a)) ||
      replaced.contains(ShownResource(b))) {
    return false;
  }
  if (const auto* geometry = std::get_if<Geometry>(&a.content)) {
    return SameGeometry(fa, *geometry, fb, std::get<Geometry>(b.content));
  }
  return SameText(std::get<TextRun>(a.content), std::get<TextRun>(b.content));
}

int64_t Area(const SDL_Rect& r) {
  return static_cast<int64_t>(r.w) * r.h;
}

SDL_Rect Union(const SDL_Rect& a, const SDL_Rect& b) {
  SDL_Rect u;
  SDL_UnionRect(&a, &b, &u);
  return u;
}

bool operator!=(const SDL_Rect& a, const SDL_Rect& b) {
  return a.x != b.x || a.y != b.y || a.w != b.w || a.h != b.h;
}

}  // namespace

int64_t Damage::Pixels() const {
  if (full) {
    return static_cast<int64_t>(kScreenWidth) * kScreenHeight;
  }
  int64_t pixels = 0;
  for (const SDL_Rect& r : rects) {
    pixels += Area(r);
  }
  return pixels;
}

SDL_Rect GeometryBounds(const Frame& frame, const Geometry& geometry) {
  if (!InRange(frame, geometry)) {
    return {};
  }
  float left = std::numeric_limits<float>::max(), top = left;
  float right = std::numeric_limits<float>::lowest(), bottom = right;
  for (int32_t i = geometry.firstIndex; i < geometry.firstIndex + geometry.indexCount; ++i) {
    const Vertex* v = VertexAt(frame, i);
    if (!v) {
      return {};
    }
    if (!std::isfinite(v->x) || !std::isfinite(v->y)) {
      // Nothing sane can be said of where such a triangle lands: assume anywhere.
      return {0, 0, kScreenWidth, kScreenHeight};
    }
    left = std::min(left, v->x);
    right = std::max(right, v->x);
    top = std::min(top, v->y);
    bottom = std::max(bottom, v->y);
  }
  if (left > right) {
    return {};
  }
  // A pixel is drawn when its centre is inside a triangle; one more pixel all round keeps the
  // rasteriser's rounding inside the box.
  const auto clampX = [](float x) { return std::clamp(x, -1.0f, kScreenWidth + 1.0f); };
  const auto clampY = [](float y) { return std::clamp(y, -1.0f, kScreenHeight + 1.0f); };
  const SDL_Rect box{static_cast<int>(std::floor(clampX(left))) - 1,
                     static_cast<int>(std::floor(clampY(top))) - 1, 0, 0};
  SDL_Rect bounds{box.x, box.y, static_cast<int>(std::ceil(clampX(right))) + 1 - box.x,
                  static_cast<int>(std::ceil(clampY(bottom))) + 1 - box.y};
  const SDL_Rect screen{0, 0, kScreenWidth, kScreenHeight};
  SDL_Rect clipped{};
  return SDL_IntersectRect(&bounds, &screen, &clipped) ? clipped : SDL_Rect{};
}

std::vector<SDL_Rect> MergeRects(std::vector<SDL_Rect> rects, size_t most) {
  std::erase_if(rects, [](const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; });
  // Overlapping rectangles become their union, until none overlap; drawing a pixel twice is
  // never wrong, only slower.
  for (bool merged = true; merged;) {
    merged = false;
    for (size_t i = 0; i < rects.size() && !merged; ++i) {
      for (size_t j = i + 1; j < rects.size(); ++j) {
        if (SDL_HasIntersection(&rects[i], &rects[j])) {
          rects[i] = Union(rects[i], rects[j]);
          rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
          merged = true;
          break;
        }
      }
    }
  }
  while (rects.size() > most) {
    size_t bestI = 0, bestJ = 1;
    int64_t bestGrowth = std::numeric_limits<int64_t>::max();
    for (size_t i = 0; i < rects.size(); ++i) {
      for (size_t j = i + 1; j < rects.size(); ++j) {
        const int64_t growth = Area(Union(rects[i], rects[j])) - Area(rects[i]) - Area(rects[j]);
        if (growth < bestGrowth) {
          bestGrowth = growth;
          bestI = i;
          bestJ = j;
        }
      }
    }
    rects[bestI] = Union(rects[bestI], rects[bestJ]);
    rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(bestJ));
    // The union may now overlap a third rectangle.
    rects = MergeRects(std::move(rects), rects.size());
  }
  return rects;
}

Damage FindDamage(const Frame& before, std::span<const SDL_Rect> boundsBefore, const Frame& after,
                  std::span<const SDL_Rect> boundsAfter, const std::vector<bool>& whole,
                  const std::unordered_set<ResourceId>& replaced) {
  Damage damage;
  std::vector<SDL_Rect> changed;
  const size_t common = std::min(before.items.size(), after.items.size());
  const size_t changedItems = std::max(before.items.size(), after.items.size()) - common;
  for (size_t i = 0; i < common; ++i) {
    if (!SameItem(before, before.items[i], after, after.items[i], replaced)) {
      changed.push_back(boundsBefore[i]);
      changed.push_back(boundsAfter[i]);
      if (changed.size() / 2 + changedItems > kMostChangedItems) {
        damage.full = true;
        return damage;
      }
    }
  }
  if (changed.size() / 2 + changedItems > kMostChangedItems) {
    damage.full = true;
    return damage;
  }
  changed.insert(changed.end(), boundsBefore.begin() + static_cast<std::ptrdiff_t>(common),
                 boundsBefore.end());
  changed.insert(changed.end(), boundsAfter.begin() + static_cast<std::ptrdiff_t>(common),
                 boundsAfter.end());
  damage.rects = MergeRects(std::move(changed), kMostRects);
  // Rectangles only grow, within the screen, so this ends.
  for (bool grew = true; grew;) {
    grew = false;
    for (size_t i = 0; i < after.items.size() && i < whole.size(); ++i) {
      if (!whole[i] || boundsAfter[i].w <= 0) {
        continue;
      }
      for (SDL_Rect& rect : damage.rects) {
        if (SDL_HasIntersection(&rect, &boundsAfter[i]) && Union(rect, boundsAfter[i]) != rect) {
          rect = Union(rect, boundsAfter[i]);
          grew = true;
        }
      }
    }
    if (grew) {
      damage.rects = MergeRects(std::move(damage.rects), kMostRects);
    }
  }
  if (static_cast<double>(damage.Pixels()) > kMostDamagedShare * kScreenWidth * kScreenHeight) {
    damage.full = true;
    damage.rects.clear();
  }
  return damage;
}

}  // namespace engine::sdl

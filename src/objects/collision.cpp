#include "objects/collision.h"

namespace {

constexpr long double kPointHalf = 0.001L;

bool Within(double v, double lo, double hi) {
  return lo <= v && v <= hi;
}

// Some corner of `inner` lies inside `outer`: an x edge of it and a y edge of it (possibly from
// different corners, which still names a corner) fall within outer's extents.
bool CornerInside(const CollisionBox& outer, const CollisionBox& inner) {
  const bool x =
      Within(inner.Left, outer.Left, outer.Right) || Within(inner.Right, outer.Left, outer.Right);
  const bool y =
      Within(inner.Bottom, outer.Bottom, outer.Top) || Within(inner.Top, outer.Bottom, outer.Top);
  return x && y;
}

}  // namespace

CollisionBox BoxAround(long double x, long double y, long double halfWidth,
                       long double halfHeight) {
  return {static_cast<double>(y + halfHeight), static_cast<double>(x - halfWidth),
          static_cast<double>(y - halfHeight), static_cast<double>(x + halfWidth)};
}

CollisionBox PointBox(long double x, long double y) {
  return BoxAround(x, y, kPointHalf, kPointHalf);
}

bool BoxesOverlap(const CollisionBox& a, const CollisionBox& b) {
  return CornerInside(a, b) || CornerInside(b, a);
}

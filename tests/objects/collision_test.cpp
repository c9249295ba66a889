#include "objects/collision.h"

#include <gtest/gtest.h>

namespace {

// Top, Left, Bottom, Right.
constexpr CollisionBox kUnit{1, -1, -1, 1};

TEST(BoxesOverlapTest, CornerContainmentCases) {
  struct Case {
    const char* name;
    CollisionBox other;
    bool overlap;
  };
  const Case cases[] = {
      {"same box", kUnit, true},
      {"touching along the right edge", {1, 1, -1, 3}, true},
      {"touching along the top edge", {3, -1, 1, 1}, true},
      {"touching at one corner", {3, 1, 1, 3}, true},
      {"a hair to the right", {1, 1.0001, -1, 3}, false},
      {"one corner inside", {2, 0.5, 0.5, 2}, true},
      {"wholly inside", {0.5, -0.5, -0.5, 0.5}, true},
      {"wholly around", {5, -5, -5, 5}, true},
      {"tall and thin through the middle (plus sign)", {3, -0.2, -3, 0.2}, false},
      {"wide and flat through the middle (plus sign)", {0.2, -3, -0.2, 3}, false},
      {"a wide band over the top edge holds two corners", {1.5, -3, 0.5, 3}, true},
      {"far away", {10, 8, 9, 9}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BoxesOverlap(kUnit, c.other), c.overlap);
    // The test is symmetric.
    EXPECT_EQ(BoxesOverlap(c.other, kUnit), c.overlap);
  }
}

TEST(BoxesOverlapTest, PointBoxTouchesTheBoxWidenedByItsHalfSize) {
  const CollisionBox box = BoxAround(0, 0, 1, 0.5L);
  struct Case {
    long double x, y;
    bool overlap;
  };
  const Case cases[] = {
      {0, 0, true},         {0.999L, 0.4L, true}, {1.0009L, 0, true},         {1.0011L, 0, false},
      {0, 0.5009L, true},   {0, 0.5011L, false},  {-1.0009L, -0.5009L, true}, {-1.0011L, 0, false},
      {0, -0.5011L, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "(" << static_cast<double>(c.x) << ", " << static_cast<double>(c.y) << ")");
    EXPECT_EQ(BoxesOverlap(PointBox(c.x, c.y), box), c.overlap);
  }
}

TEST(BoxesOverlapTest, BoxAroundIsTopLeftBottomRight) {
  const CollisionBox box = BoxAround(2, -3, 0.5L, 0.25L);
  EXPECT_DOUBLE_EQ(box.Top, -2.75);
  EXPECT_DOUBLE_EQ(box.Left, 1.5);
  EXPECT_DOUBLE_EQ(box.Bottom, -3.25);
  EXPECT_DOUBLE_EQ(box.Right, 2.5);
}

}  // namespace

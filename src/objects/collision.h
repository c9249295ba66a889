// The one rectangle test of play, shared by the paddle, the balls, the bonuses, the missiles and
// the enemies. Boxes are in playfield units (x -16..16, y -12..12 upward).
#pragma once

struct CollisionBox {
  double Top;     // largest y
  double Left;    // smallest x
  double Bottom;  // smallest y
  double Right;   // largest x
};

// The box of an object centred at (x, y) with the given half extents.
CollisionBox BoxAround(long double x, long double y, long double halfWidth, long double halfHeight);

// A moving ball is tested as a point: 0.001 units around (x, y) each way.
CollisionBox PointBox(long double x, long double y);

// True when a corner of b lies inside a or a corner of a lies inside b, edges included. Two
// boxes crossing like a plus sign, with no corner of either inside the other, do not overlap:
// the game's collisions were tuned with this test, so it is not an interval test.
bool BoxesOverlap(const CollisionBox& a, const CollisionBox& b);

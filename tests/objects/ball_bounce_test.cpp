// The rectangle routine every ball collision goes through: eight zones around the box, tested in
// order, each with its reflection and a seeded random deflection.
#include <gtest/gtest.h>

#include <cmath>

#include "app/random.h"
#include "app/run_phase.h"
#include "play_fixture.h"

namespace {

// The box: centre (0, 0), half extents 1 x 0.5; with the ball's radius 0.4 the strips reach 0.4
// out (0.1 past the corners along the faces) and the corner zones 0.564 (0.484 above top-left).
constexpr long double kW = 1, kH = 0.5L;

enum class Expect { Vertical, Horizontal, Reversal, Miss };

long double Reflected(Expect e, long double a) {
  switch (e) {
    case Expect::Vertical:
      return kPi - a;
    case Expect::Horizontal:
      return 4 * kPi - a;
    case Expect::Reversal:
      return a + kPi;
    case Expect::Miss:
      break;
  }
  return a;
}

struct ZoneCase {
  const char* name;
  long double x, y, angle;
  TNeighbours neighbours;
  Expect expect;
};

class BallBounceTest : public PlayTest {
 protected:
  // With speed 0 the probe is the ball's own position and the ball does not move after a bounce,
  // so each case tests exactly one point.
  void Check(const ZoneCase& c) {
    SCOPED_TRACE(c.name);
    TBubble& ball = Fly(0, c.x, c.y, c.angle, 0);
    ball.SpinStep = 10;
    const uint32_t seed = 77;
    const long double d = DeflectionAfterSeed(seed);
    RandSeed(seed);
    const bool hit = ball.BounceOffBox(true, c.neighbours, 0, 0, kW, kH);
    EXPECT_EQ(hit, c.expect != Expect::Miss);
    if (c.expect == Expect::Miss) {
      EXPECT_EQ(ball.Angle, c.angle);
      EXPECT_EQ(ball.SpinStep, 10);
      return;
    }
    EXPECT_NEAR(static_cast<double>(ball.Angle),
                static_cast<double>(Reflected(c.expect, c.angle) + d), 1e-12);
    EXPECT_EQ(ball.SpinStep, 2);
    EXPECT_EQ(ball.SparkLife, 0.3L);
  }
};

TEST_F(BallBounceTest, StripsReflectAndTheFirstZoneInOrderDecides) {
  const ZoneCase cases[] = {
      {"bottom strip", 0, -0.7L, 0.3L, {}, Expect::Vertical},
      {"top strip", 0.3L, 0.7L, 3.0L, {}, Expect::Vertical},
      {"left strip", -1.2L, 0, 1.2L, {}, Expect::Horizontal},
      {"right strip", 1.2L, 0.2L, 4.0L, {}, Expect::Horizontal},
      {"bottom strip reaches r/4 past the corner", -1.09L, -0.6L, 0.3L, {}, Expect::Vertical},
      {"bottom strip is tested before the left strip", -1.05L, -0.55L, 1.2L, {}, Expect::Vertical},
      {"inside the box itself", 0, 0, 1.0L, {}, Expect::Miss},
      {"below the bottom strip", 0, -0.95L, 0.3L, {}, Expect::Miss},
      {"beyond the right strip", 1.45L, 0, 4.0L, {}, Expect::Miss},
  };
  for (const ZoneCase& c : cases)
    Check(c);
}

TEST_F(BallBounceTest, CornerRuleByNeighboursThenByHeading) {
  const long double tl_x = -1.3L, tl_y = 0.8L;  // in the top-left zone only
  const long double tr_x = 1.3L, tr_y = 0.8L;
  const long double br_x = 1.3L, br_y = -0.8L;
  const long double bl_x = -1.3L, bl_y = -0.8L;
  const TNeighbours none{};
  const TNeighbours all{true, true, true, true};
  const ZoneCase cases[] = {
      // One neighbour: the ball meets the face left open, whatever the heading.
      {"top-left, left covered", tl_x, tl_y, 2.0L, {.Left = true}, Expect::Vertical},
      {"top-left, top covered", tl_x, tl_y, 2.0L, {.Top = true}, Expect::Horizontal},
      {"top-right, right covered", tr_x, tr_y, 4.0L, {.Right = true}, Expect::Vertical},
      {"bottom-right, bottom covered", br_x, br_y, 5.0L, {.Bottom = true}, Expect::Horizontal},
      {"bottom-left, left covered", bl_x, bl_y, 1.0L, {.Left = true}, Expect::Vertical},
      // Only the corner's own two neighbours count.
      {"top-left, right and bottom covered",
       tl_x,
       tl_y,
       2.0L,
       {.Right = true, .Bottom = true},
       Expect::Reversal},
      // Both or neither: the heading decides.
      {"top-left, into the corner", tl_x, tl_y, 2.0L, none, Expect::Reversal},
      {"top-left, both covered, into the corner", tl_x, tl_y, 2.0L, all, Expect::Reversal},
      {"top-left, rising right", tl_x, tl_y, 1.0L, none, Expect::Vertical},
      {"top-left, exactly right", tl_x, tl_y, kPi / 2, none, Expect::Horizontal},
      {"top-left, falling left", tl_x, tl_y, 4.0L, none, Expect::Horizontal},
      {"top-right, into the corner", tr_x, tr_y, 4.0L, none, Expect::Reversal},
      {"top-right, rising left", tr_x, tr_y, 5.0L, all, Expect::Vertical},
      {"top-right, falling right", tr_x, tr_y, 2.0L, none, Expect::Horizontal},
      {"top-right, exactly left", tr_x, tr_y, 3 * kPi / 2, none, Expect::Horizontal},
      {"bottom-right, into the corner", br_x, br_y, 5.0L, none, Expect::Reversal},
      {"bottom-right, falling left", br_x, br_y, 4.0L, none, Expect::Vertical},
      {"bottom-right, exactly left", br_x, br_y, 3 * kPi / 2, none, Expect::Vertical},
      {"bottom-right, past a full turn", br_x, br_y, 2 * kPi + 0.1L, all, Expect::Vertical},
      {"bottom-right, rising right", br_x, br_y, 1.0L, none, Expect::Horizontal},
      {"bottom-left, into the corner", bl_x, bl_y, 1.0L, none, Expect::Reversal},
      {"bottom-left, straight up", bl_x, bl_y, 0, none, Expect::Vertical},
      {"bottom-left, falling right", bl_x, bl_y, 2.0L, all, Expect::Vertical},
      {"bottom-left, falling left", bl_x, bl_y, 4.0L, none, Expect::Horizontal},
  };
  for (const ZoneCase& c : cases)
    Check(c);
}

TEST_F(BallBounceTest, TopLeftCornerZoneIsShorterThanTheOthers) {
  // 0.5 above the box's top: inside 1.41 r (0.564) but above 1.21 r (0.484).
  Check({"top-left, 0.5 above", -1.3L, 1.0L, 2.0L, {}, Expect::Miss});
  Check({"top-right, 0.5 above", 1.3L, 1.0L, 4.0L, {}, Expect::Reversal});
  Check({"bottom-left, 0.5 below", -1.3L, -1.0L, 1.0L, {}, Expect::Reversal});
}

TEST_F(BallBounceTest, ProbeIsOneStepAheadAndARespondingBallMovesOn) {
  // At (0, -1.3) heading up at 0.5 per step, the probe (0, -0.8) is in the bottom strip.
  TBubble& ball = Fly(0, 0, -1.3L, 0, 0.5L);
  const long double d = DeflectionAfterSeed(5);
  RandSeed(5);
  ASSERT_TRUE(ball.BounceOffBox(true, {}, 0, 0, kW, kH));
  EXPECT_NEAR(static_cast<double>(ball.Angle), static_cast<double>(kPi + d), 1e-12);
  EXPECT_NEAR(static_cast<double>(ball.X), static_cast<double>(std::sin(kPi + d) * 0.5L), 1e-12);
  EXPECT_NEAR(static_cast<double>(ball.Y), static_cast<double>(-1.3L + std::cos(kPi + d) * 0.5L),
              1e-12);
  // The sparks sit where the ball touched, along the heading before the bounce.
  EXPECT_NEAR(static_cast<double>(ball.SparkY), -1.3 + 0.9, 1e-12);

  // Twice the frame factor reaches twice as far.
  TBubble& slow = Fly(0, 0, -1.8L, 0, 0.25L);
  FrameFactor = 1;
  EXPECT_FALSE(slow.BounceOffBox(true, {}, 0, 0, kW, kH));
  FrameFactor = 4;
  EXPECT_TRUE(slow.BounceOffBox(true, {}, 0, 0, kW, kH));
}

TEST_F(BallBounceTest, DetectOnlyLeavesTheBallAndTheGeneratorAlone) {
  TBubble& ball = Fly(0, 0, -0.7L, 0.3L, 0.2L);
  ball.SpinStep = 10;
  RandSeed(9);
  const int32_t next = Random(1000);
  RandSeed(9);
  EXPECT_TRUE(ball.BounceOffBox(false, {}, 0, 0, kW, kH));
  EXPECT_EQ(ball.Angle, 0.3L);
  EXPECT_EQ(ball.X, 0);
  EXPECT_EQ(ball.Y, -0.7L);
  EXPECT_EQ(ball.SparkLife, 0);
  EXPECT_EQ(ball.SpinStep, 2);
  EXPECT_EQ(Random(1000), next);
}

}  // namespace

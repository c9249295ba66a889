// One step of a flying ball: the walls, the paddle, the barrier and the escort platform end the
// step; enemies and blocks are tested after them; then the move and the loss test.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "app/input_mouse.h"
#include "app/random.h"
#include "app/run_phase.h"
#include "play_fixture.h"

namespace {

class BallUpdateTest : public PlayTest {
 protected:
  // An enemy whose bottom strip holds the point (x, y): a ball probing there would bounce off it
  // unless something else ended its step first.
  TEnemy& EnemyOver(long double x, long double y) {
    TEnemy& enemy = EnemyOf(1, 0);
    enemy.Release(x, y + enemy.HalfHeight + 0.2L);
    enemy.HitPoints = 2;
    return enemy;
  }
};

TEST_F(BallUpdateTest, WallsPaddleBarrierAndEscortEndTheStep) {
  struct Case {
    const char* name;
    long double x, y, angle;
    void (*arrange)(TGame&);
    bool (*after)(const TGame&);
  };
  const Case cases[] = {
      {"ceiling", 0, 9.8L, 0, [](TGame&) {}, [](const TGame&) { return true; }},
      {"left wall", -14.9L, 0, 3 * kPi / 2, [](TGame&) {}, [](const TGame&) { return true; }},
      {"right wall", 14.9L, 0, kPi / 2, [](TGame&) {}, [](const TGame&) { return true; }},
      {"barrier, which it removes", 5, -10.3L, kPi, [](TGame& g) { g.BarrierActive = true; },
       [](const TGame& g) { return !g.BarrierActive; }},
      {"paddle", 0, -9.0L, kPi, [](TGame&) {}, [](const TGame& g) { return g.Paddle->Bumped; }},
      {"escort platform", 8, -9.0L, kPi,
       [](TGame& g) {
         g.EscortActive = true;
         g.EscortX = 8;
         g.EscortY = -10;
       },
       [](const TGame&) { return true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.arrange(*Game);
    TBubble& ball = Fly(0, c.x, c.y, c.angle, 0.2L);
    TEnemy& enemy = EnemyOver(c.x + std::sin(c.angle) * 0.2L, c.y + std::cos(c.angle) * 0.2L);
    ball.Update();
    EXPECT_EQ(enemy.HitPoints, 2) << "the enemy was tested";
    EXPECT_TRUE(c.after(*Game));
    // Bounced once, moved once (by the bounce): it is heading away and one step from its start.
    EXPECT_NEAR(std::hypot(static_cast<double>(ball.X - c.x), static_cast<double>(ball.Y - c.y)),
                0.2, 1e-9);
    EXPECT_GT(std::fabs(static_cast<double>(ball.Angle - c.angle)), 1.0);
    TearDown();
  }
}

TEST_F(BallUpdateTest, WithoutAStopperTheEnemyIsHit) {
  TBubble& ball = Fly(0, 0, 2, 0, 0.2L);
  TEnemy& enemy = EnemyOver(0, 2.2L);
  ball.Update();
  EXPECT_EQ(enemy.HitPoints, 1);
}

TEST_F(BallUpdateTest, CeilingPushesABallAboveItBackDown) {
  // Probing the strip above the ceiling's top.
  TBubble& ball = Fly(0, 0, 11.9L, 0.3L, 0.2L);
  ball.Update();
  EXPECT_EQ(ball.Y, 10.4L);
}

TEST_F(BallUpdateTest, ABallInsideTheCeilingComesOutBelowIt) {
  // Rising inside the ceiling, as the bot's campaign found one that ran there for ever; and
  // falling from the push's height.
  for (const auto& [y, angle] : {std::pair{10.3L, 1.104L}, std::pair{10.4L, 2.338L}}) {
    SCOPED_TRACE(static_cast<double>(y));
    TBubble& ball = Fly(0, 5, y, angle, 0.2L);
    int steps = 0;
    while (steps < 100 && !(ball.Y < 9.6L && std::cos(ball.Angle) < 0)) {
      ball.Update();
      ++steps;
    }
    EXPECT_LT(steps, 40) << "still in the ceiling at y " << static_cast<double>(ball.Y);
  }
}

TEST_F(BallUpdateTest, OnlyAFallingBallAboveThePaddleCentreMeetsIt) {
  // Rising through the paddle's top strip: flies on.
  TBubble& rising = Fly(0, 0, -9.3L, 0, 0.2L);
  rising.Update();
  EXPECT_FALSE(Paddle().Bumped);
  EXPECT_NEAR(static_cast<double>(rising.Y), -9.1, 1e-12);
  EXPECT_EQ(rising.Angle, 0);

  // Falling in the bottom strip but below the centre: flies on.
  TBubble& below = Fly(0, 0, -10.7L, kPi, 0.2L);
  below.Update();
  EXPECT_FALSE(Paddle().Bumped);
  EXPECT_NEAR(static_cast<double>(below.Y), -10.9, 1e-12);
  EXPECT_EQ(below.Angle, kPi);
}

TEST_F(BallUpdateTest, StickyPaddleCatchesTheBallOnItsTop) {
  Paddle().Mode = TBita::kSticky;
  TBubble& centre = Fly(0, 0.5L, -9.0L, kPi, 0.2L);
  centre.Update();
  EXPECT_FALSE(centre.Moving);
  EXPECT_TRUE(centre.InPlay);
  EXPECT_TRUE(centre.Caught);
  EXPECT_NEAR(static_cast<double>(centre.Y), -10 + 0.64 + 0.4 - 0.1, 1e-12);
  EXPECT_FALSE(Paddle().Bumped);
  // It keeps the heading the bounce gave it, upward.
  EXPECT_LT(std::fabs(static_cast<double>(centre.Angle)), 0.21);

  // Near an end (more than half width - 0.8 from the centre) it sits lower.
  TBubble& edge = Fly(1, 2.5L, -9.0L, kPi, 0.2L);
  edge.Update();
  EXPECT_TRUE(edge.Caught);
  const long double dx = std::fabs(edge.X);
  ASSERT_GT(dx, 2.0L);
  EXPECT_NEAR(static_cast<double>(edge.Y), static_cast<double>(-9.06L - std::fabs(2.8L - dx)),
              1e-12);

  // The launch keeps a caught ball's heading.
  const long double heading = edge.Angle;
  MouseButtonClicked = 1;
  Paddle().Update();
  EXPECT_TRUE(edge.Moving);
  EXPECT_EQ(edge.Angle, heading);
  EXPECT_EQ(edge.Speed, 0.2L);
}

TEST_F(BallUpdateTest, PaddleSteersByItsMotionAndClampsFlatHeadings) {
  // Moving right: pi/6 more, and a heading flatter than 60 degrees right becomes 45.
  Paddle().MoveDir = TBita::kMovingRight;
  TBubble& right = Fly(0, 0, -9.0L, kPi - 0.9L, 0.2L);
  right.Update();
  EXPECT_EQ(right.Angle, kPi / 4);
  EXPECT_EQ(right.SpinStep, 10);
  EXPECT_TRUE(Paddle().Bumped);

  // Moving left off the top strip: the heading goes negative and no clamp catches it.
  SetUp();
  Paddle().MoveDir = TBita::kMovingLeft;
  TBubble& left = Fly(0, 0, -9.0L, kPi + 0.9L, 0.2L);
  const long double d = DeflectionAfterSeed(3);
  RandSeed(3);
  left.Update();
  EXPECT_NEAR(static_cast<double>(left.Angle),
              static_cast<double>(kPi - (kPi + 0.9L) + d - kPi / 6), 1e-12);
  EXPECT_LT(left.Angle, 0);

  // Sent back from the paddle's top-left corner while moving left: 7 pi / 4.
  SetUp();
  Paddle().MoveDir = TBita::kMovingLeft;
  TBubble& corner =
      Fly(0, -3.0L - std::sin(2.0L) * 0.2L, -9.1L - std::cos(2.0L) * 0.2L, 2.0L, 0.2L);
  corner.Update();
  EXPECT_EQ(corner.Angle, 7 * kPi / 4);

  // Still: only the bounce, no steering.
  SetUp();
  TBubble& still = Fly(0, 0, -9.0L, kPi - 0.9L, 0.2L);
  const long double d2 = DeflectionAfterSeed(4);
  RandSeed(4);
  still.Update();
  EXPECT_NEAR(static_cast<double>(still.Angle), static_cast<double>(0.9L + d2), 1e-12);
  EXPECT_EQ(still.SpinStep, 2);
}

TEST_F(BallUpdateTest, BallInsideThePaddleIsLiftedInsteadOfSteered) {
  Paddle().MoveDir = TBita::kMovingRight;
  const long double a = 3 * kPi / 2 - 0.1L;
  TBubble& ball = Fly(0, -2.0L, -9.5L, a, 1.0L);
  const long double d = DeflectionAfterSeed(8);
  RandSeed(8);
  ball.Update();
  const long double bounced = 4 * kPi - a + d;
  EXPECT_NEAR(static_cast<double>(ball.Angle), static_cast<double>(bounced), 1e-12);
  EXPECT_NEAR(static_cast<double>(ball.Y), static_cast<double>(-9.5L + std::cos(bounced) + 1),
              1e-12);
  EXPECT_TRUE(Paddle().Bumped);
}

TEST_F(BallUpdateTest, KindTenBouncesANormalBallAndBreaksForAnArmouredOne) {
  // Row 10, column 10: centre (-0.8, 0).
  TBlock& wall = AddBlock(10, 10, 10);
  TBubble& ball = Fly(0, -0.8L, -1.1L, 0, 0.2L);
  ball.Update();
  EXPECT_TRUE(wall.Active);
  EXPECT_EQ(wall.Kind, 10);
  EXPECT_EQ(Game->GetScore(), 0);
  EXPECT_GT(std::fabs(static_cast<double>(ball.Angle)), 2.9);

  TBubble& armoured = Fly(0, -0.8L, -1.1L, 0, 0.2L);
  armoured.Mode = TBubble::kArmoured;
  armoured.Update();
  EXPECT_FALSE(wall.Active);
  EXPECT_EQ(Game->GetScore(), 300);
  EXPECT_EQ(Game->LevelGrid[10][10], 0);
  EXPECT_EQ(armoured.Angle, 0);
}

TEST_F(BallUpdateTest, ArmouredBallPassesThroughAndStillDamages) {
  TBlock& block = AddBlock(4, 10, 10);
  TBubble& ball = Fly(0, -0.8L, -1.1L, 0, 0.2L);
  ball.Mode = TBubble::kArmoured;
  ball.Update();
  EXPECT_EQ(block.Kind, 1);
  EXPECT_EQ(ball.Angle, 0);
  EXPECT_NEAR(static_cast<double>(ball.Y), -0.9, 1e-12);

  TEnemy& enemy = EnemyOver(5, 0);
  enemy.HitPoints = 3;
  TBubble& through = Fly(0, 5, -0.2L, 0, 0.2L);
  through.Mode = TBubble::kArmoured;
  through.Update();
  EXPECT_EQ(enemy.HitPoints, 2);
  EXPECT_TRUE(enemy.Active);
  EXPECT_EQ(through.Angle, 0);
  EXPECT_NEAR(static_cast<double>(through.Y), 0, 1e-12);
}

TEST_F(BallUpdateTest, AfterAnEnemyBounceAMissedBlockLetsTheBallMoveAgain) {
  TEnemy& enemy = EnemyOver(5, 0);
  enemy.HitPoints = 3;

  // No active block: the bounce's own step is the only move.
  TBubble& alone = Fly(0, 5, -0.2L, 0, 0.2L);
  alone.Update();
  EXPECT_EQ(enemy.HitPoints, 2);
  const long double once = alone.Y;
  EXPECT_NEAR(static_cast<double>(once), static_cast<double>(-0.2L + std::cos(alone.Angle) * 0.2L),
              1e-12);

  // A block elsewhere is tested, missed, and the ball advances once more.
  AddBlock(1, 1, 1);
  TBubble& again = Fly(0, 5, -0.2L, 0, 0.2L);
  again.Update();
  EXPECT_EQ(enemy.HitPoints, 1);
  EXPECT_NEAR(static_cast<double>(again.Y),
              static_cast<double>(-0.2L + 2 * std::cos(again.Angle) * 0.2L), 1e-12);
}

TEST_F(BallUpdateTest, BlockBounceUsesTheGridNeighbours) {
  // A ball rising into the bottom-left corner zone of a block with a block on its left goes up
  // the open bottom face (vertical flip) instead of being sent back.
  TBlock& block = AddBlock(1, 10, 10);
  AddBlock(1, 10, 9);
  const long double probeX = block.X - block.HalfWidth - 0.3L;
  const long double probeY = block.Y - block.HalfHeight - 0.3L;
  const long double a = 0.5L;  // up and to the right: into the corner
  TBubble& ball = Fly(0, probeX - std::sin(a) * 0.2L, probeY - std::cos(a) * 0.2L, a, 0.2L);
  const long double d = DeflectionAfterSeed(11);
  RandSeed(11);
  ball.Update();
  // The left neighbour's own zones come later in the list, so this block decides.
  EXPECT_NEAR(static_cast<double>(ball.Angle), static_cast<double>(kPi - a + d), 1e-12);
  EXPECT_FALSE(block.Active);
}

TEST_F(BallUpdateTest, LostBelowTheFieldOrBesideItUnderTheWalls) {
  TBubble& low = Fly(0, 0, -14.9L, kPi, 0.2L);
  low.Update();
  EXPECT_FALSE(low.InPlay);
  EXPECT_FALSE(low.Moving);

  // Below y = -7.8 there is no side wall.
  TBubble& side = Fly(0, -16.9L, -9, 3 * kPi / 2, 0.2L);
  side.Update();
  EXPECT_FALSE(side.InPlay);

  TBubble& kept = Fly(0, 0, -14.7L, kPi, 0.2L);
  kept.Update();
  EXPECT_TRUE(kept.InPlay);
}

}  // namespace

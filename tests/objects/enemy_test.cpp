// An enemy's step (turns, bounds, move, animation) and its hits.
#include <gtest/gtest.h>

#include <cmath>

#include "play_fixture.h"

namespace {

class EnemyTest : public PlayTest {
 protected:
  // An enemy at (x, y) that will not turn at random in the next steps.
  TEnemy& Place(long double x, long double y, long double angle) {
    TEnemy& enemy = EnemyOf(1, 0);
    enemy.Release(x, y);
    enemy.Angle = angle;
    enemy.Countdown = 100;
    return enemy;
  }
};

TEST_F(EnemyTest, TurnsBackFromOutsideTheBoundsAndTheLaterTestWins) {
  struct Case {
    const char* name;
    long double x, y, towards;
  };
  const Case cases[] = {
      {"right of 12", 12.5L, 0, 3 * kPi / 2},
      {"left of -12", -12.5L, 0, kPi / 2},
      {"above 10", 0, 10.5L, kPi},
      {"below -6", 0, -6.5L, 0},
      {"top-right corner", 12.5L, 10.5L, kPi},
      {"bottom-left corner", -12.5L, -6.5L, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int step = 0; step < 20; ++step) {
      TEnemy& enemy = Place(c.x, c.y, 1.0L);
      enemy.Update();
      // Within 0.4 radians of the heading back to the middle.
      EXPECT_LE(std::fabs(static_cast<double>(enemy.Angle - c.towards)), 0.4 + 1e-12);
      EXPECT_NEAR(static_cast<double>(enemy.X),
                  static_cast<double>(c.x + std::sin(enemy.Angle) * 0.1L), 1e-12);
    }
  }
  // Inside the bounds the heading is kept.
  TEnemy& inside = Place(11.9L, 9.9L, 1.0L);
  inside.Update();
  EXPECT_EQ(inside.Angle, 1.0L);
}

TEST_F(EnemyTest, TurnsAtRandomWhenItsCountdownRunsOut) {
  TEnemy& enemy = Place(0, 0, 1.0L);
  enemy.Countdown = 2;
  enemy.Update();
  EXPECT_EQ(enemy.Countdown, 1);
  EXPECT_EQ(enemy.Angle, 1.0L);
  enemy.Update();
  EXPECT_GE(enemy.Countdown, 50);
  EXPECT_LT(enemy.Countdown, 200);
  EXPECT_GE(enemy.Angle, 0);
  EXPECT_LT(enemy.Angle, 6);
}

TEST_F(EnemyTest, AnimationRunsForwardAndBackFromAFreshStart) {
  TEnemy& enemy = Place(0, 0, 0);
  ASSERT_EQ(enemy.Frame, 0);
  ASSERT_FALSE(enemy.Up);
  const int expected[] = {2, 3, 4, 5, 4, 3, 2, 1, 2, 3};
  uint32_t ms = 1000;
  for (const int frame : expected) {
    SetTicks(ms += 60);
    enemy.Update();
    EXPECT_EQ(enemy.Frame, frame);
    enemy.Update();  // the same tick: no change
    EXPECT_EQ(enemy.Frame, frame);
  }
}

TEST_F(EnemyTest, HitsCostOnePointEachAndTheLastPays) {
  struct Case {
    int32_t kind;
    int32_t hits;
    int32_t points;
  };
  for (const Case c : {Case{1, 2, 50}, Case{2, 3, 75}, Case{3, 4, 100}}) {
    SCOPED_TRACE(c.kind);
    SetUp();
    TEnemy& enemy = EnemyOf(c.kind, 2);
    enemy.Release(1, 2);
    EXPECT_EQ(enemy.HitPoints, c.hits);
    for (int hit = 1; hit < c.hits; ++hit) {
      enemy.Hit();
      EXPECT_TRUE(enemy.Active);
    }
    EXPECT_EQ(Game->GetScore(), 0);
    enemy.Hit();
    EXPECT_FALSE(enemy.Active);
    EXPECT_EQ(Game->GetScore(), c.points);
    const TEnemyBlast& blast = Game->EnemyBlasts[static_cast<size_t>(enemy.Index)];
    EXPECT_EQ(enemy.Index, 3 * (c.kind - 1) + 2);
    EXPECT_TRUE(blast.Active);
    EXPECT_EQ(blast.X, 1);
    EXPECT_EQ(blast.Y, 2);
  }
}

}  // namespace

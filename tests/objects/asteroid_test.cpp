// Background asteroids: drifting small ones, orbiting large ones, the animation.
#include "game/asteroid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "play_fixture.h"

namespace {

class AsteroidTest : public PlayTest {
 protected:
  TAsteroid& Asteroid() { return *Game->Asteroids[0]; }
};

TEST_F(AsteroidTest, SmallOneDriftsAlongItsHeadingAndIsDroppedPastTheArea) {
  Game->BackgroundType = 1;
  TAsteroid& a = Asteroid();
  a.Active = true;
  a.X = 0;
  a.Y = 16;
  a.Heading = 1.5L;  // below pi: upward
  a.Speed = 0.4L;
  int steps = 0;
  while (a.Active && steps < 100) {
    a.Update();
    ++steps;
  }
  EXPECT_FALSE(a.Active);
  // 16 + n * 0.4 * sin(1.5) passes 18 on the sixth step.
  EXPECT_EQ(steps, 6);
  EXPECT_GT(a.Y, 18);
}

TEST_F(AsteroidTest, LargeOneCirclesOnItsTiltedEllipse) {
  Game->BackgroundType = 3;
  TAsteroid& a = Asteroid();
  a.Active = true;
  a.Radius = 4;
  a.Tilt = 0;
  a.Phase = kPi / 2 - 0.01L;
  a.Update();
  // Untilted: half axes 4 across and 8 up, around (-2, -2).
  EXPECT_NEAR(static_cast<double>(a.X), -2, 1e-9);
  EXPECT_NEAR(static_cast<double>(a.Y), 6, 1e-9);

  a.Phase = 2 * kPi - 0.005L;
  a.Update();
  EXPECT_NEAR(static_cast<double>(a.Phase), 0.005, 1e-12);
  EXPECT_TRUE(a.Active);
}

TEST_F(AsteroidTest, BackgroundTypeTwoLeavesThemAlone) {
  Game->BackgroundType = 2;
  TAsteroid& a = Asteroid();
  a.Active = true;
  a.X = 1;
  a.Speed = 1;
  a.Update();
  EXPECT_EQ(a.X, 1);
}

TEST_F(AsteroidTest, PictureChangesAtMostOncePerStepAndOnlyAfter70Ms) {
  Game->BackgroundType = 3;
  TAsteroid& a = Asteroid();
  a.Active = true;
  a.Frame = 12;
  SetTicks(1000);
  a.Update();
  EXPECT_EQ(a.Frame, 1) << "after 12 comes 1";
  SetTicks(1060);
  a.Update();
  EXPECT_EQ(a.Frame, 1);
  SetTicks(1300);
  a.Update();
  EXPECT_EQ(a.Frame, 2) << "one picture, however long the step";
}

}  // namespace

// A missile's step: the block test, the enemy test, then the move.
#include <gtest/gtest.h>

#include "app/run_phase.h"
#include "objects/missile.h"
#include "play_fixture.h"

namespace {

class MissileTest : public PlayTest {
 protected:
  TBitaMissile& Launch(long double x, long double y) {
    TBitaMissile& missile = *Paddle().Missiles[0];
    missile.Active = true;
    missile.X = x;
    missile.Y = y;
    return missile;
  }
};

TEST_F(MissileTest, HitsABlockItAlreadyTouchesInItsFirstStep) {
  // Row 10, column 10: centre (-0.8, 0). The missile's top corners reach into the block.
  TBlock& block = AddBlock(1, 10, 10);
  TBitaMissile& missile = Launch(-0.8L - 0.5L, -1.5L);
  missile.Update();
  EXPECT_FALSE(block.Active);
  EXPECT_FALSE(missile.Active);
  EXPECT_EQ(Game->GetScore(), 20);
}

TEST_F(MissileTest, ACrossingLikeAPlusSignIsNoHit) {
  // Centred on the block: taller than it (0.96 vs 0.8 half height) and narrower (0.36 vs 0.6),
  // so no corner of either box lies inside the other.
  TBlock& block = AddBlock(1, 10, 10);
  TBitaMissile& missile = Launch(block.X, block.Y);
  missile.Update();
  EXPECT_TRUE(block.Active);
  EXPECT_TRUE(missile.Active);
  EXPECT_NEAR(static_cast<double>(missile.Y), 0.3, 1e-12);
}

TEST_F(MissileTest, OneMissileDamagesTheFirstBlockAndTheFirstEnemyItTouches) {
  TBlock& first = AddBlock(4, 10, 10);
  TBlock& second = AddBlock(4, 10, 10);
  TEnemy& enemy = EnemyOf(2, 0);
  enemy.Release(-0.8L, -1.5L);
  enemy.HitPoints = 3;
  TBitaMissile& missile = Launch(-0.8L, -1.0L);
  missile.Update();
  EXPECT_EQ(first.Kind, 1);
  EXPECT_EQ(second.Kind, 4);
  EXPECT_EQ(enemy.HitPoints, 2);
  EXPECT_FALSE(missile.Active);
}

TEST_F(MissileTest, FliesUpAndIsGoneAboveEleven) {
  TBitaMissile& missile = Launch(0, 10.6L);
  missile.Update();
  EXPECT_TRUE(missile.Active);
  FrameFactor = 2;
  missile.Update();
  EXPECT_NEAR(static_cast<double>(missile.Y), 11.5, 1e-12);
  EXPECT_FALSE(missile.Active);
}

}  // namespace

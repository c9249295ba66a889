// What a hit does to each kind of block: the step-down chains, a stack releasing its spares, the
// effects and their pools, the points and the drops.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/random.h"
#include "play_fixture.h"

namespace {

using BlockTest = PlayTest;

int ActiveDebris() {
  return static_cast<int>(std::count_if(Game->Debris.begin(), Game->Debris.end(),
                                        [](const TDebris& d) { return d.Active; }));
}

int ActiveBlasts() {
  return static_cast<int>(std::count_if(Game->Blasts.begin(), Game->Blasts.end(),
                                        [](const TBlast& b) { return b.Active; }));
}

TEST_F(BlockTest, KindsStepDownOneHitAtATimeWithTheirPoints) {
  struct Case {
    int32_t kind;
    std::vector<int32_t> kinds;  // after each hit
    int32_t points;              // in all
  };
  const Case cases[] = {
      {9, {6, 3, 3}, 120 + 60 + 60},
      {8, {5, 2, 2}, 100 + 40 + 40},
      {7, {4, 1, 1}, 80 + 20 + 20},
      {1, {1}, 20},
      {10, {10}, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    SetUp();
    TBlock& block = AddBlock(c.kind, 5, 5);
    for (size_t hit = 0; hit < c.kinds.size(); ++hit) {
      block.Hit();
      EXPECT_EQ(block.Kind, c.kinds[hit]);
      EXPECT_EQ(block.Active, hit + 1 < c.kinds.size());
    }
    EXPECT_EQ(Game->GetScore(), c.points);
    EXPECT_EQ(Game->LevelGrid[5][5], 0) << "a broken block frees its cell";
  }
}

TEST_F(BlockTest, KindsAboveTenNeverBreakNorScore) {
  TBlock& block = AddBlock(11, 5, 5);
  TBlock& tall = AddBlock(20, 6, 5);
  EXPECT_EQ(tall.HalfWidth, 0.8L);
  EXPECT_EQ(tall.HalfHeight, 1.6L);
  for (int i = 0; i < 3; ++i) {
    block.Hit();
    tall.Hit();
  }
  EXPECT_TRUE(block.Active);
  EXPECT_TRUE(tall.Active);
  EXPECT_EQ(block.Kind, 11);
  EXPECT_EQ(Game->GetScore(), 0);
  EXPECT_EQ(Game->LevelGrid[5][5], 11);
  EXPECT_GT(ActiveDebris(), 0) << "they still shed debris";
  EXPECT_EQ(ActiveBlasts(), 0) << "but set off no blast";
}

class StackTest : public PlayTest {
 protected:
  // A kind-9 stack in cell (row, column) with its eight hidden spares behind it in the list.
  TBlock& Stack(int32_t row, int32_t column) {
    TBlock& stack = AddBlock(9, row, column);
    for (int i = 0; i < 8; ++i)
      AddBlock(6, row, column, false);
    return stack;
  }
  TBlock& Spare(const TBlock& stack, int n) {
    return *Game->Blocks[static_cast<size_t>(stack.Index + n)];
  }
};

TEST_F(StackTest, SparesGoToTheFreeCellsInOrderOnce) {
  TBlock& stack = Stack(10, 10);
  // Occupied: below-left (first in the order) and right (fourth).
  AddBlock(1, 11, 9);
  AddBlock(1, 10, 11);
  stack.Hit();

  // Free cells in release order: below, below-right, above-right, above, above-left, left.
  struct Released {
    int32_t row, column;
    long double dx, dy;
  };
  const Released expected[] = {{11, 10, 0, -1.2L}, {11, 11, 1.6L, -1.2L}, {9, 11, 1.6L, 1.2L},
                               {9, 10, 0, 1.2L},   {9, 9, -1.6L, 1.2L},   {10, 9, -1.6L, 0}};
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    const TBlock& spare = Spare(stack, n);
    const Released& e = expected[n - 1];
    EXPECT_TRUE(spare.Active);
    EXPECT_EQ(spare.Row, e.row);
    EXPECT_EQ(spare.Column, e.column);
    EXPECT_NEAR(static_cast<double>(spare.X), static_cast<double>(stack.X + e.dx), 1e-12);
    EXPECT_NEAR(static_cast<double>(spare.Y), static_cast<double>(stack.Y + e.dy), 1e-12);
    EXPECT_EQ(Game->LevelGrid[static_cast<size_t>(e.row)][static_cast<size_t>(e.column)], 7);
  }
  EXPECT_FALSE(Spare(stack, 7).Active);
  EXPECT_FALSE(Spare(stack, 8).Active);
  EXPECT_EQ(Game->LevelGrid[11][9], 1);
  EXPECT_EQ(Game->LevelGrid[10][11], 1);

  // Hit again (now kind 6) it releases nothing more, although cells have been freed since.
  Game->LevelGrid[9][10] = 0;
  stack.Hit();
  EXPECT_EQ(stack.Kind, 3);
  EXPECT_FALSE(Spare(stack, 7).Active);
  EXPECT_EQ(Game->LevelGrid[9][10], 0);
}

TEST_F(StackTest, SurroundedOrAtTheEdgeKeepsItsSpares) {
  TBlock& surrounded = Stack(10, 10);
  for (int dr = -1; dr <= 1; ++dr)
    for (int dc = -1; dc <= 1; ++dc)
      if (dr != 0 || dc != 0)
        Game->LevelGrid[10 + dr][10 + dc] = 2;
  surrounded.Hit();
  for (int n = 1; n <= 8; ++n)
    EXPECT_FALSE(Spare(surrounded, n).Active);

  // In the top-left corner cell five of the eight cells lie outside the grid: they count as
  // occupied, so only below, below-right and right take spares.
  TBlock& corner = Stack(1, 1);
  corner.Hit();
  EXPECT_EQ(Spare(corner, 1).Row, 2);
  EXPECT_EQ(Spare(corner, 1).Column, 1);
  EXPECT_EQ(Spare(corner, 2).Row, 2);
  EXPECT_EQ(Spare(corner, 2).Column, 2);
  EXPECT_EQ(Spare(corner, 3).Row, 1);
  EXPECT_EQ(Spare(corner, 3).Column, 2);
  EXPECT_TRUE(Spare(corner, 3).Active);
  EXPECT_FALSE(Spare(corner, 4).Active);
}

TEST_F(StackTest, AStackAtTheEndOfTheListReleasesOnlyWhatExists) {
  // A stack without spares behind it (as a moving stack block would be).
  TBlock& lone = AddBlock(9, 10, 10);
  TBlock& next = AddBlock(1, 2, 2, false);
  lone.Hit();
  EXPECT_TRUE(next.Active);
  EXPECT_EQ(next.Row, 11);
  EXPECT_EQ(Game->Blocks.size(), 2u);
}

TEST_F(BlockTest, DebrisAndBlastsComeFromTheirPoolsWhileEntriesAreFree) {
  TBlock& block = AddBlock(2, 5, 5);
  block.Hit();
  const int pieces = ActiveDebris();
  EXPECT_GE(pieces, 3);
  EXPECT_LE(pieces, 5);
  EXPECT_EQ(ActiveBlasts(), 1);
  const TBlast& blast = Game->Blasts[0];
  EXPECT_EQ(blast.X, block.X);
  EXPECT_EQ(blast.Y, block.Y);
  // The outer bursts fan out 1.2 to 2.1 radians apart.
  for (const long double step : {blast.Angle2 - blast.Angle1, blast.Angle3 - blast.Angle2}) {
    EXPECT_GE(step, 1.2L - 1e-12L);
    EXPECT_LE(step, 2.1L + 1e-12L);
  }
  for (int i = 0; i < pieces; ++i) {
    EXPECT_EQ(Game->Debris[static_cast<size_t>(i)].X, block.X);
    EXPECT_EQ(Game->Debris[static_cast<size_t>(i)].Alpha, 1);
  }

  // Every entry in use: the hit shows no debris and no blast but still counts.
  for (auto& d : Game->Debris)
    d.Active = true;
  for (auto& b : Game->Blasts)
    b.Active = true;
  Game->Debris[199].Active = false;
  TBlock& other = AddBlock(4, 6, 6);
  other.Hit();
  EXPECT_EQ(other.Kind, 1);
  EXPECT_EQ(ActiveDebris(), 200) << "only the one free piece was taken";
  EXPECT_EQ(Game->Debris[199].X, other.X);
  EXPECT_EQ(ActiveBlasts(), 20);
}

// Drops are rolled for each broken kind 1..3 block: a bonus one time in six (kind 1 twice as
// likely as each other kind); only when that roll fails, an enemy one time in ten of the rest.
class DropTest : public PlayTest {
 protected:
  struct Tally {
    int breaks = 0;
    int bonuses = 0;
    int kindOne = 0;
    int enemies = 0;
    std::array<int, 4> enemyKinds{};
  };

  // Breaks `n` blocks one after the other, putting the pools back after each.
  Tally Break(int n, bool bonusesAllTaken) {
    Tally t;
    for (int i = 0; i < n; ++i) {
      for (auto& b : Game->Bonuses)
        b->Active = bonusesAllTaken;
      for (auto& e : Game->Enemies)
        e->Active = false;
      for (auto& d : Game->Debris)
        d.Active = false;
      for (auto& b : Game->Blasts)
        b.Active = false;
      Game->Blocks.clear();
      TBlock& block = AddBlock(1, 8, 8);
      block.Hit();
      ++t.breaks;
      for (auto& b : Game->Bonuses) {
        if (!bonusesAllTaken && b->Active) {
          ++t.bonuses;
          if (b->Kind == 1)
            ++t.kindOne;
          EXPECT_EQ(b->X, block.X);
          EXPECT_EQ(b->Y, block.Y);
        }
      }
      for (auto& e : Game->Enemies) {
        if (e->Active) {
          ++t.enemies;
          ++t.enemyKinds[static_cast<size_t>(e->Kind)];
          EXPECT_EQ(e->HitPoints, e->Kind + 1);
          EXPECT_EQ(e->X, block.X);
        }
      }
    }
    return t;
  }
};

TEST_F(DropTest, BonusRollFirstThenTheEnemyRoll) {
  const int n = 12000;
  const Tally t = Break(n, false);
  EXPECT_NEAR(t.bonuses / double(n), 1 / 6.0, 0.01);
  EXPECT_NEAR(t.kindOne / double(t.bonuses), 2 / 17.0, 0.025);
  EXPECT_NEAR(t.enemies / double(n), 5 / 6.0 / 10, 0.008);
  for (int kind = 1; kind <= 3; ++kind)
    EXPECT_NEAR(t.enemyKinds[static_cast<size_t>(kind)] / double(t.enemies), 1 / 3.0, 0.06);
}

TEST_F(DropTest, ASuccessfulBonusRollWithNoFreeEntryDropsNothingAndRollsNoEnemy) {
  const int n = 12000;
  const Tally t = Break(n, true);
  // Still 5/6 x 1/10, not 1/10: the bonus roll that found no entry did not go on to the enemy.
  EXPECT_NEAR(t.enemies / double(n), 5 / 6.0 / 10, 0.008);
}

TEST_F(DropTest, OnlyAFreeEntryOfTheDrawnKindIsTaken) {
  // Entry 0 of every kind in use: a drop takes entry 1 of its kind, never another kind's.
  for (int kind = 1; kind <= 16; ++kind)
    BonusOf(kind, 0).Active = true;
  for (int kind = 1; kind <= 3; ++kind)
    EnemyOf(kind, 0).Active = true;
  int dropped = 0;
  for (int i = 0; i < 400; ++i) {
    Game->Blocks.clear();
    for (auto& d : Game->Debris)
      d.Active = false;
    AddBlock(1, 8, 8).Hit();
    for (int kind = 1; kind <= 16; ++kind) {
      EXPECT_FALSE(BonusOf(kind, 2).Active);
      if (BonusOf(kind, 1).Active)
        ++dropped;
      BonusOf(kind, 1).Active = false;
    }
    for (int kind = 1; kind <= 3; ++kind) {
      EXPECT_FALSE(EnemyOf(kind, 2).Active);
      if (EnemyOf(kind, 1).Active)
        ++dropped;
      EnemyOf(kind, 1).Active = false;
    }
  }
  EXPECT_GT(dropped, 50);
}

}  // namespace

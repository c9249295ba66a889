// A game as play sees it, for the object tests: every object and pool made the way the game
// makes them (with the engine closed every engine call is a no-op returning an empty handle,
// which is all the rules need), the paddle standing at (0, -10) with ball slot 0 held on it,
// the step time fixed at one 13 ms step and the generator seeded.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <numbers>

#include "game/game.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/enemy.h"
#include "objects/paddle.h"

constexpr long double kPi = std::numbers::pi_v<long double>;

class PlayTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Set before SetUp to play with the engine open on a window, its program folder holding only
  // the quad model: every mesh is then drawn and its place can be read back (pictures and sounds
  // stay empty handles).
  bool WithEngine = false;

  TBita& Paddle() { return *Game->Paddle; }
  TBubble& Ball(int slot) { return *Game->Balls[static_cast<size_t>(slot)]; }

  // A flying ball in `slot`; every other slot is freed.
  TBubble& Fly(int slot, long double x, long double y, long double angle, long double speed);
  // A block appended to the block list at the centre of grid cell (row, column), marked in the
  // grid when active.
  TBlock& AddBlock(int32_t kind, int32_t row, int32_t column, bool active = true);
  // Pool entry `copy` (0..2) of a bonus or enemy kind.
  TBonus& BonusOf(int32_t kind, int copy);
  TEnemy& EnemyOf(int32_t kind, int copy);

  // Milliseconds on the tick clock behind GetTickCount.
  void SetTicks(uint32_t ms);

 private:
  void OpenEngine();
  std::filesystem::path folder_;
};

// The deflection the next bounce draws after RandSeed(seed): 0.02..0.2 radians either way.
long double DeflectionAfterSeed(uint32_t seed);

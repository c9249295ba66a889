// The sixteen bonuses: what catching each does (TBita::ApplyBonus), and the falling capsule.
#include <gtest/gtest.h>

#include "app/run_phase.h"
#include "play_fixture.h"

namespace {

using BonusTest = PlayTest;

TEST_F(BonusTest, PointsComeFirstAndTheHurtfulKindsCost150) {
  for (int32_t kind = 1; kind <= 16; ++kind) {
    SCOPED_TRACE(kind);
    SetUp();
    Game->SetLives(5);
    Game->SetScore(1000);
    Paddle().ApplyBonus(kind);
    const int32_t expected = kind == 3 || kind == 7 || kind == 12 ? 850
                             : kind == 13                         ? 1150
                             : kind == 14                         ? 1550
                                                                  : 1050;
    EXPECT_EQ(Game->GetScore(), expected);
  }
  // A cost larger than the score leaves 0.
  for (const int32_t score : {0, 100, 150, 151}) {
    Game->SetScore(score);
    Paddle().ApplyBonus(12);
    EXPECT_EQ(Game->GetScore(), score > 150 ? score - 150 : 0) << score;
  }
}

TEST_F(BonusTest, SizeChangesFollowTheOrderTwoOneThreeFour) {
  struct Case {
    int32_t kind;
    uint8_t from, to;
  };
  const Case cases[] = {{2, 2, 1}, {2, 1, 3}, {2, 3, 4}, {2, 4, 4},
                        {3, 4, 3}, {3, 3, 1}, {3, 1, 2}, {3, 2, 2}};
  const long double halfWidths[] = {0, 2.8L, 1.88L, 3.68L, 4.68L};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " from size " << int{c.from});
    Paddle().Size = c.from;
    Paddle().SetSize(c.from, Paddle().Mode);
    Game->SetScore(1000);
    Paddle().ApplyBonus(c.kind);
    EXPECT_EQ(Paddle().Size, c.to);
    EXPECT_EQ(Paddle().HalfWidth, halfWidths[c.to]);
    // At the limit the bonus still pays or costs its points.
    EXPECT_EQ(Game->GetScore(), c.kind == 2 ? 1050 : 850);
  }
}

TEST_F(BonusTest, SpeedLevelsStopAtFourEitherWay) {
  for (int i = 0; i < 6; ++i)
    Paddle().ApplyBonus(4);
  for (const auto& ball : Game->Balls) {
    EXPECT_EQ(ball->SpeedLevel, 4);
    EXPECT_EQ(ball->Speed, 0.2L + 0.025L * 4);
  }
  for (int i = 0; i < 10; ++i)
    Paddle().ApplyBonus(5);
  for (const auto& ball : Game->Balls) {
    EXPECT_EQ(ball->SpeedLevel, -4);
    EXPECT_EQ(ball->Speed, 0.2L - 0.025L * 4);
  }
}

TEST_F(BonusTest, LivesUpToNinetyNineAndTheLifeLosingKind) {
  Game->SetLives(98);
  Paddle().ApplyBonus(6);
  EXPECT_EQ(Game->GetLives(), 99);
  Paddle().ApplyBonus(6);
  EXPECT_EQ(Game->GetLives(), 99);

  Game->SetLives(2);
  Paddle().ApplyBonus(7);
  EXPECT_EQ(Game->GetLives(), 1);
  EXPECT_FALSE(Game->GameEnded);

  // With one life left it ends the game at once, although a ball is still flying.
  Fly(3, 0, 0, 0, 0.2L);
  Paddle().X = 5;
  Paddle().ApplyBonus(7);
  EXPECT_TRUE(Game->GameEnded);
  EXPECT_EQ(Game->GetLives(), 1);
  EXPECT_EQ(Paddle().X, 19) << "the serve was prepared";
}

TEST_F(BonusTest, ExtraBallsLeaveFromTheLowestBallInPlayIntoFreeSlots) {
  TBubble& source = Fly(4, 3, 2, 1, 0.3L);
  Ball(7).InPlay = true;
  Ball(7).X = -5;
  Paddle().ApplyBonus(1);
  for (const int slot : {0, 1}) {
    SCOPED_TRACE(slot);
    EXPECT_TRUE(Ball(slot).InPlay);
    EXPECT_TRUE(Ball(slot).Moving);
    EXPECT_EQ(Ball(slot).X, source.X);
    EXPECT_EQ(Ball(slot).Y, source.Y);
    EXPECT_GE(Ball(slot).Angle, 0);
    EXPECT_LE(Ball(slot).Angle, 2.9L);
  }
  EXPECT_FALSE(Ball(2).InPlay);

  // With one free slot only one ball is added.
  for (auto& ball : Game->Balls)
    ball->InPlay = true;
  Ball(19).InPlay = false;
  Paddle().ApplyBonus(1);
  EXPECT_TRUE(Ball(19).InPlay);
}

TEST_F(BonusTest, ModesOfThePaddle) {
  Game->SetShots(0);
  Paddle().ApplyBonus(8);
  EXPECT_EQ(Paddle().Mode, TBita::kGun);
  EXPECT_EQ(Game->GetShots(), 12);
  Paddle().ApplyBonus(8);
  EXPECT_EQ(Game->GetShots(), 24);

  Paddle().ApplyBonus(10);
  EXPECT_EQ(Paddle().Mode, TBita::kSticky);
  EXPECT_EQ(Game->GetShots(), 24) << "the shots stay for the next gun";
}

TEST_F(BonusTest, BallsTimeAndTheEscortAndBarrier) {
  Paddle().ApplyBonus(9);
  for (const auto& ball : Game->Balls)
    EXPECT_EQ(ball->Mode, TBubble::kArmoured);

  Game->TimeLeft = 100;
  Paddle().ApplyBonus(11);
  EXPECT_EQ(Game->TimeLeft, 115);
  Paddle().ApplyBonus(12);
  Paddle().ApplyBonus(12);
  EXPECT_EQ(Game->TimeLeft, 85);

  // The escort starts under the highest-numbered ball in play.
  Fly(2, -4, 0, 0, 0.2L);
  Ball(6).InPlay = true;
  Ball(6).X = 7;
  Paddle().ApplyBonus(15);
  EXPECT_TRUE(Game->EscortActive);
  EXPECT_EQ(Game->EscortTime, 30);
  EXPECT_EQ(Game->EscortX, 7);

  Paddle().ApplyBonus(16);
  EXPECT_TRUE(Game->BarrierActive);
}

TEST_F(BonusTest, CapsuleFallsAnimatesAndIsCaughtByThePaddle) {
  TBonus& bonus = BonusOf(13, 0);
  bonus.Release(0, -6);
  SetTicks(1000);
  bonus.Update();
  EXPECT_EQ(bonus.Frame, 2);
  EXPECT_NEAR(static_cast<double>(bonus.Y), -6.1, 1e-12);
  bonus.Update();
  EXPECT_EQ(bonus.Frame, 2) << "at most one picture per 30 ms";

  // Boxes touch once the capsule's bottom reaches the paddle's top: -10 + 0.64 + 0.92.
  int steps = 0;
  while (bonus.Active && steps < 100) {
    bonus.Update();
    ++steps;
  }
  EXPECT_FALSE(bonus.Active);
  EXPECT_EQ(Game->GetScore(), 150);
  EXPECT_LE(bonus.Y, -10 + 0.64L + 0.92L);
  EXPECT_GT(bonus.Y, -10 + 0.64L + 0.92L - 0.1L);
}

TEST_F(BonusTest, MissedCapsulesAreGoneBelowFourteen) {
  TBonus& bonus = BonusOf(13, 0);
  bonus.Release(10, -13.95L);
  bonus.Update();
  EXPECT_FALSE(bonus.Active);
  EXPECT_EQ(Game->GetScore(), 0);
}

TEST_F(BonusTest, CapsulesHangInTheAirWhileThePaddleIsDestroyed) {
  TBonus& bonus = BonusOf(14, 0);
  bonus.Release(0, -9.5L);  // already touching the paddle
  Paddle().Dead = true;
  for (int i = 0; i < 10; ++i)
    bonus.Update();
  EXPECT_TRUE(bonus.Active);
  EXPECT_EQ(bonus.Y, -9.5L);
  EXPECT_EQ(Game->GetScore(), 0);

  Paddle().Dead = false;
  bonus.Update();
  EXPECT_FALSE(bonus.Active);
  EXPECT_EQ(Game->GetScore(), 550);
}

}  // namespace

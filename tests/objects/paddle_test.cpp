// The paddle's step: steering by the mouse, the launch and the gun's volleys, and its destruction
// when no ball is left in play.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/input_mouse.h"
#include "headless/headless.h"
#include "play_fixture.h"

namespace {

class PaddleTest : public PlayTest {
 protected:
  // The desktop is 1024 x 768: the paddle re-centres the cursor on (512, 384).
  void NudgeMouse(int32_t x) { headless::SetCursorPosition(x, 384); }

  std::vector<const TBitaMissile*> ActiveMissiles() {
    std::vector<const TBitaMissile*> active;
    for (const auto& m : Paddle().Missiles)
      if (m->Active)
        active.push_back(m.get());
    return active;
  }

  void ArmGun(uint8_t size, int32_t shots) {
    Paddle().Size = size;
    Paddle().Mode = TBita::kGun;
    Paddle().SetSize(size, TBita::kGun);
    Game->SetShots(shots);
  }

  void PressFire() {
    MouseButtonClicked = 1;
    Paddle().Update();
    MouseButtonClicked = 0;
  }
};

TEST_F(PaddleTest, MouseChoosesADirectionThatHoldsUntilTheCursorRestsAtTheCentre) {
  NudgeMouse(600);
  Paddle().Update();
  EXPECT_NEAR(static_cast<double>(Paddle().X), 0.3, 1e-12);
  EXPECT_EQ(Paddle().MoveDir, TBita::kMovingRight);
  EXPECT_EQ(headless::CursorPosition().x, 512);

  // Moved the other way before a step found it at the centre: the paddle keeps going right.
  NudgeMouse(400);
  Paddle().Update();
  EXPECT_NEAR(static_cast<double>(Paddle().X), 0.6, 1e-12);

  // Re-centred by the paddle: one more step right, then it stops.
  Paddle().Update();
  EXPECT_NEAR(static_cast<double>(Paddle().X), 0.9, 1e-12);
  Paddle().Update();
  EXPECT_NEAR(static_cast<double>(Paddle().X), 0.9, 1e-12);
  EXPECT_EQ(Paddle().MoveDir, TBita::kStill);

  // Now the left nudge counts.
  NudgeMouse(400);
  Paddle().Update();
  EXPECT_NEAR(static_cast<double>(Paddle().X), 0.6, 1e-12);
  EXPECT_EQ(Paddle().MoveDir, TBita::kMovingLeft);
}

TEST_F(PaddleTest, StopsPastThirteenWhateverItsSizeAndCarriesHeldBalls) {
  ArmGun(4, 0);
  Paddle().X = 12.9L;
  Ball(0).X = 12.9L;
  for (int i = 0; i < 5; ++i) {
    NudgeMouse(1000);
    Paddle().Update();
  }
  EXPECT_NEAR(static_cast<double>(Paddle().X), 13.2, 1e-12);
  EXPECT_NEAR(static_cast<double>(Ball(0).X), 13.2, 1e-12);

  Paddle().X = -12.9L;
  Paddle().MouseDir = TBita::kStill;
  for (int i = 0; i < 5; ++i) {
    NudgeMouse(10);
    Paddle().Update();
  }
  EXPECT_NEAR(static_cast<double>(Paddle().X), -13.2, 1e-12);

  // A flying ball is not carried.
  Paddle().X = 0;
  Paddle().MouseDir = TBita::kStill;
  TBubble& flying = Fly(1, 0, 0, 0, 0);
  NudgeMouse(1000);
  Paddle().Update();
  EXPECT_NEAR(static_cast<double>(Paddle().X), 0.3, 1e-12);
  EXPECT_EQ(flying.X, 0);
}

TEST_F(PaddleTest, FireLaunchesHeldBallsStraightUp) {
  Ball(0).Angle = 2.0L;
  Ball(0).Speed = 0.3L;
  const long double y = Ball(0).Y;
  PressFire();
  EXPECT_TRUE(Ball(0).Moving);
  EXPECT_EQ(Ball(0).Angle, 0);
  EXPECT_EQ(Ball(0).Speed, 0.2L);
  EXPECT_NEAR(static_cast<double>(Ball(0).Y), static_cast<double>(y + 0.3L), 1e-12);
  // Not in gun mode: no shot.
  EXPECT_TRUE(ActiveMissiles().empty());
  EXPECT_FALSE(Paddle().Firing);
}

TEST_F(PaddleTest, ALargeGunFiresThreeMissilesPerPress) {
  ArmGun(4, 5);
  Paddle().X = 1;
  PressFire();
  const auto missiles = ActiveMissiles();
  ASSERT_EQ(missiles.size(), 3u);
  // Outer right, centre, inner left.
  EXPECT_NEAR(static_cast<double>(missiles[0]->X), 4.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(missiles[1]->X), 1.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(missiles[2]->X), -1.5, 1e-12);
  for (const TBitaMissile* m : missiles)
    EXPECT_NEAR(static_cast<double>(m->Y), -7.5, 1e-12);
  EXPECT_EQ(Game->GetShots(), 2);
  EXPECT_TRUE(Paddle().Firing);
  EXPECT_EQ(Paddle().Mode, TBita::kGun);
}

TEST_F(PaddleTest, SideShotsAlternateOnSmallerGuns) {
  struct Case {
    uint8_t size;
    long double offset;
  };
  for (const Case c : {Case{1, 1.5L}, Case{2, 1.0L}, Case{3, 2.0L}}) {
    SCOPED_TRACE(static_cast<int>(c.size));
    SetUp();
    ArmGun(c.size, 5);
    PressFire();
    PressFire();
    const auto missiles = ActiveMissiles();
    ASSERT_EQ(missiles.size(), 2u);
    EXPECT_NEAR(static_cast<double>(missiles[0]->X), static_cast<double>(c.offset), 1e-12);
    EXPECT_NEAR(static_cast<double>(missiles[1]->X), static_cast<double>(-c.offset), 1e-12);
    EXPECT_EQ(Game->GetShots(), 3);
  }
}

TEST_F(PaddleTest, TheShotThatEmptiesTheGunEndsTheVolleyAndMissilesFlyOn) {
  ArmGun(4, 2);
  PressFire();
  EXPECT_EQ(ActiveMissiles().size(), 2u);
  EXPECT_EQ(Game->GetShots(), 0);
  EXPECT_EQ(Paddle().Mode, TBita::kNormal);

  const long double y = ActiveMissiles()[0]->Y;
  Paddle().Update();
  ASSERT_EQ(ActiveMissiles().size(), 2u);
  EXPECT_NEAR(static_cast<double>(ActiveMissiles()[0]->Y), static_cast<double>(y + 0.3L), 1e-12);

  // Another press only launches.
  PressFire();
  EXPECT_EQ(ActiveMissiles().size(), 2u);
}

TEST_F(PaddleTest, WithAllTenMissilesInFlightTheGunRecoilsButSpendsNothing) {
  ArmGun(1, 4);
  for (auto& m : Paddle().Missiles) {
    m->Active = true;
    m->Y = 0;
  }
  const bool side = Paddle().GunSide;
  PressFire();
  EXPECT_EQ(Game->GetShots(), 4);
  EXPECT_TRUE(Paddle().Firing);
  EXPECT_NE(Paddle().GunSide, side);
}

TEST_F(PaddleTest, BumpDipsThePaddleForAbout30Milliseconds) {
  SetTicks(1000);
  Paddle().Bump();
  Paddle().Bump();
  EXPECT_TRUE(Paddle().Bumped);
  EXPECT_NEAR(static_cast<double>(Paddle().Y), -10.1, 1e-12);
  SetTicks(1025);
  Paddle().Update();
  EXPECT_TRUE(Paddle().Bumped);
  SetTicks(1035);
  Paddle().Update();
  EXPECT_FALSE(Paddle().Bumped);
  EXPECT_NEAR(static_cast<double>(Paddle().Y), -10, 1e-12);
}

class DestructionTest : public PaddleTest {
 protected:
  // Steps with no ball in play until the paddle is back (or `limit` steps); the step count.
  int RunDestruction(int limit = 200) {
    for (auto& ball : Game->Balls)
      ball->InPlay = ball->Moving = false;
    uint32_t ms = 1000;
    for (int step = 1; step <= limit; ++step) {
      SetTicks(ms += 20);
      Paddle().Update();
      if (!Paddle().Dead)
        return step;
    }
    return -1;
  }
};

TEST_F(DestructionTest, BreaksApartAndServesAgainWithOneLifeLess) {
  Game->SetLives(3);
  for (auto& ball : Game->Balls)
    ball->InPlay = ball->Moving = false;
  Paddle().Update();
  EXPECT_TRUE(Paddle().Dead);
  EXPECT_TRUE(std::all_of(Paddle().Pieces.begin(), Paddle().Pieces.end(),
                          [](const TBita::TPiece& p) { return p.Active; }));

  // The pieces fly 0.013 per step and the destruction ends once they pass 1: 77 steps in all.
  EXPECT_EQ(RunDestruction(), 76);
  EXPECT_EQ(Game->GetLives(), 2);
  EXPECT_FALSE(Game->GameEnded);
  EXPECT_EQ(Paddle().X, 19);
  EXPECT_TRUE(Ball(0).InPlay);
  EXPECT_FALSE(Ball(0).Moving);
  EXPECT_TRUE(std::none_of(Paddle().Pieces.begin(), Paddle().Pieces.end(),
                           [](const TBita::TPiece& p) { return p.Active; }));
}

TEST_F(DestructionTest, LosingTheLastBallWithOneLifeEndsTheGame) {
  Game->SetLives(1);
  EXPECT_GT(RunDestruction(), 0);
  EXPECT_TRUE(Game->GameEnded);
  EXPECT_EQ(Game->GetLives(), 1);
}

TEST_F(DestructionTest, MissilesStandStillThenGoAfterHalfASecond) {
  ArmGun(1, 3);
  PressFire();
  ASSERT_EQ(ActiveMissiles().size(), 1u);
  const TBitaMissile& missile = *ActiveMissiles()[0];
  const long double y = missile.Y;
  for (auto& ball : Game->Balls)
    ball->InPlay = ball->Moving = false;

  // A death tick every 100 ms: after the sixth the missiles are switched off.
  uint32_t ms = 1000;
  for (int tick = 1; tick <= 5; ++tick) {
    SetTicks(ms += 120);
    Paddle().Update();
    EXPECT_TRUE(missile.Active) << tick;
    EXPECT_EQ(missile.Y, y);
  }
  SetTicks(ms += 120);
  Paddle().Update();
  EXPECT_FALSE(missile.Active);
}

}  // namespace

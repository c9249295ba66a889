// The bot's decisions: which keys it holds or taps for a given game.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

#include "app/app_state.h"
#include "app/autoplayer.h"
#include "app/run_phase.h"
#include "persist/settings.h"
#include "play_fixture.h"

namespace {

TEST(PredictLandingTest, FoldsInTheWallAndCeilingBounces) {
  const struct {
    long double x, y, angle;
    double landingX, distance;
  } cases[] = {
      {0, 0, kPi, 0, 8.96},                  // straight down
      {8, 0, 3 * kPi / 4, 13.04, 12.671},    // down to the right, off the right wall
      {10, 0, kPi / 4, -8.16, 39.83},        // up, off the ceiling and the right wall
      {-14, -2, 5 * kPi / 4, -9.04, 9.843},  // down to the left, off the left wall
      {3, 9.6L, kPi / 2 + 0.001L, 3 + 18.56 / 0.05, 18.56 / 0.05},  // level: taken as steep
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.x));
    const TLanding landing = PredictLanding(c.x, c.y, c.angle, -8.96L);
    if (std::fabs(c.landingX) < 15)
      EXPECT_NEAR(static_cast<double>(landing.X), c.landingX, 0.01);
    else
      EXPECT_LE(std::fabs(landing.X), 15);
    EXPECT_NEAR(static_cast<double>(landing.Distance), c.distance, 0.05);
  }
}

class AutoplayerTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    AppState = StatePlaying;
    bot = std::make_unique<TAutoplayer>([this](int32_t key, bool down) {
      held[key] = down;
      if (down)
        ++presses[key];
    });
  }
  void TearDown() override {
    bot.reset();
    AppState = StateMainMenu;
    PlayTest::TearDown();
  }

  bool Holds(int32_t key) { return held[key]; }

  std::unique_ptr<TAutoplayer> bot;
  std::map<int32_t, bool> held;
  std::map<int32_t, int> presses;
};

TEST_F(AutoplayerTest, GoesWhereTheBallWillComeDown) {
  // Down to the right: lands on the right.
  Fly(0, 8, 0, 3 * kPi / 4, 0.2L);
  bot->Step();
  EXPECT_TRUE(Holds(Settings.KeyRight));
  EXPECT_FALSE(Holds(Settings.KeyLeft));

  // On the right but rising to the right: the ceiling and the right wall bring it down on the
  // left.
  Fly(0, 10, 0, kPi / 4, 0.2L);
  bot->Step();
  EXPECT_TRUE(Holds(Settings.KeyLeft));
  EXPECT_FALSE(Holds(Settings.KeyRight));

  // Already under it: stands still.
  Fly(0, 0.1L, 0, kPi, 0.2L);
  bot->Step();
  EXPECT_FALSE(Holds(Settings.KeyLeft));
  EXPECT_FALSE(Holds(Settings.KeyRight));
}

TEST_F(AutoplayerTest, FollowsTheBallThatLandsFirst) {
  Fly(0, -10, 5, kPi, 0.2L);  // high on the left
  TBubble& low = Ball(1);     // low on the right
  low.InPlay = low.Moving = true;
  low.X = 6;
  low.Y = -6;
  low.Angle = kPi;
  low.Speed = 0.2L;
  bot->Step();
  EXPECT_TRUE(Holds(Settings.KeyRight));
}

TEST_F(AutoplayerTest, SteersTheBounceTowardsABlock) {
  // The only block lies up to the right, on the path of a bounce bent by a move to the right.
  AddBlock(1, 10, 14);
  Fly(0, 0, -8.8L, kPi, 0.2L);
  bot->Step();
  EXPECT_TRUE(Holds(Settings.KeyRight));

  // Straight above: no bend.
  Game->Blocks.clear();
  AddBlock(1, 10, 10);
  Game->Blocks.back()->X = 0;
  Fly(0, 0, -8.8L, kPi, 0.2L);
  bot->Step();
  EXPECT_FALSE(Holds(Settings.KeyRight));
  EXPECT_FALSE(Holds(Settings.KeyLeft));
}

TEST_F(AutoplayerTest, FetchesAGoodCapsuleWhenTheBallIsFarAway) {
  Fly(0, 0, 5, 0, 0.2L);  // comes back down on the paddle after a long while
  bot->Step();
  EXPECT_FALSE(Holds(Settings.KeyRight));

  TBonus& larger = BonusOf(2, 0);
  larger.Release(6, -5);
  bot->Step();
  EXPECT_TRUE(Holds(Settings.KeyRight));
}

TEST_F(AutoplayerTest, LeavesTheColumnOfABadCapsule) {
  Fly(0, 0, 5, 0, 0.2L);
  for (const int32_t kind : {3, 4, 7, 12}) {
    SCOPED_TRACE(kind);
    for (auto& bonus : Game->Bonuses)
      bonus->Active = false;
    TBonus& bad = BonusOf(kind, 0);
    bad.Release(0.5L, -7);
    bot->Step();
    EXPECT_TRUE(Holds(Settings.KeyLeft));
  }
  // Unless that loses the ball: it comes down right now in the middle.
  Fly(0, 0.5L, -7, kPi, 0.2L);
  bot->Step();
  EXPECT_FALSE(Holds(Settings.KeyLeft));
}

TEST_F(AutoplayerTest, ServesUnderABlockAndFiresTheGunAtBlocks) {
  // Held on the paddle at 0, the only block at 5.6: go there first, then launch.
  AddBlock(1, 5, 14);
  bot->Step();
  EXPECT_TRUE(Holds(Settings.KeyRight));
  EXPECT_EQ(presses[Settings.KeyFire], 0);
  Paddle().X = Ball(0).X = 5.6L;
  bot->Step();
  EXPECT_EQ(presses[Settings.KeyFire], 1);

  // With the gun and a block overhead it fires; with no block overhead it saves its shots.
  Fly(0, 0, 5, 0, 0.2L);
  Paddle().Mode = TBita::kGun;
  Game->SetShots(5);
  Paddle().X = -8;
  for (int step = 0; step < 20; ++step)
    bot->Step();
  EXPECT_EQ(presses[Settings.KeyFire], 1);
  Paddle().X = 5;
  for (int step = 0; step < 20; ++step)
    bot->Step();
  EXPECT_GT(presses[Settings.KeyFire], 2);
}

TEST_F(AutoplayerTest, StandsStillWhileThePaddleIsNotInPlay) {
  Fly(0, 8, 0, 3 * kPi / 4, 0.2L);
  bot->Step();
  ASSERT_TRUE(Holds(Settings.KeyRight));
  Game->PaddleEntering = true;
  bot->Step();
  EXPECT_FALSE(Holds(Settings.KeyRight));
  Game->PaddleEntering = false;
  AppState = StatePaused;
  bot->Step();
  EXPECT_FALSE(Holds(Settings.KeyRight));
}

}  // namespace

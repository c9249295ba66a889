// The program playing by itself: the bot starts a game from the menu, serves, and after a lost
// game starts the next one.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/autoplayer.h"
#include "game/game.h"
#include "headless/headless.h"
#include "objects/ball.h"
#include "program_test.h"

namespace {

class AutoplayProgramTest : public ProgramTest {};

TEST_F(AutoplayProgramTest, PlaysGameAfterGame) {
  Autoplayer = std::make_unique<TAutoplayer>([](int32_t key, bool down) {
    if (down)
      headless::PressKey(key);
    else
      headless::ReleaseKey(key);
  });
  int games = 0;
  bool inFlight = false;
  Run(
      [&](uint64_t) {
        const bool flying = AppState == StatePlaying && Game->Balls[0]->InPlay &&
                            Game->Balls[0]->Moving && !Game->GameEnded;
        if (flying && !inFlight) {
          ++games;
          if (games == 2) {
            PostMessageToGame(WM_CLOSE);
            return;
          }
          // The bot served the first game's ball; the game is lost with it.
          Game->SetLives(1);
          Game->Balls[0]->InPlay = false;
        }
        inFlight = flying;
      },
      6000);
  EXPECT_EQ(games, 2) << "the bot did not serve in a second game";
  EXPECT_EQ(Game->GetLives(), 3);
  EXPECT_EQ(Game->GetLevel(), 1);
}

}  // namespace

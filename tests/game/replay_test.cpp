// The same scripted input on the same clock gives the same game: the run step, the physics and
// the random generator are deterministic, so a recorded game replays exactly.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "game/game.h"
#include "headless/headless.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/paddle.h"
#include "program_reset.h"
#include "program_test.h"

namespace {

constexpr uint64_t kPlayPasses = 3000;

// Everything that tells one game from another, as text so that a difference is readable.
std::string Snapshot() {
  std::ostringstream out;
  out.precision(17);
  out << "score " << Game->GetScore() << " lives " << Game->GetLives() << " level "
      << Game->GetLevel() << " time " << static_cast<double>(Game->TimeLeft) << "\n";
  out << "paddle " << static_cast<double>(Game->Paddle->X) << "\n";
  for (const auto& ball : Game->Balls)
    if (ball->InPlay)
      out << "ball " << static_cast<double>(ball->X) << " " << static_cast<double>(ball->Y) << " "
          << static_cast<double>(ball->Angle) << "\n";
  for (const auto& block : Game->Blocks)
    out << int(block->Kind) << (block->Active ? "+" : "-");
  return out.str();
}

// A player who launches the ball now and then and keeps the paddle under the first ball in play.
void Script(uint64_t step) {
  if (step % 150 == 0)
    headless::TapKey(kScanSpace);
  const TBubble* ball = nullptr;
  for (const auto& b : Game->Balls)
    if (!ball && b->InPlay && b->Moving)
      ball = b.get();
  const long double offset = ball ? ball->X - Game->Paddle->X : 0;
  headless::ReleaseKey(kScanLeft);
  headless::ReleaseKey(kScanRight);
  if (offset < -1)
    headless::PressKey(kScanLeft);
  if (offset > 1)
    headless::PressKey(kScanRight);
}

class ReplayTest : public ProgramTest {
 protected:
  std::string PlayScriptedGame() {
    uint64_t first = 0;
    std::string snapshot;
    PlayUntil(
        [&](uint64_t pass) {
          if (first == 0)
            first = pass;
          const uint64_t step = pass - first;
          if (step == kPlayPasses || AppState != StatePlaying) {
            snapshot = Snapshot();
            return true;
          }
          Script(step);
          return false;
        },
        kPlayPasses + 2000);
    return snapshot;
  }
};

TEST_F(ReplayTest, AScriptedGamePlaysTheSameTwice) {
  const std::string first = PlayScriptedGame();
  const int32_t score = Game->GetScore();

  ResetProgram();
  folder.Activate();
  const std::string second = PlayScriptedGame();

  EXPECT_GT(score, 0) << "the script should break some blocks\n" << first;
  EXPECT_EQ(first, second);
}

}  // namespace

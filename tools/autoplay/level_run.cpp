#include "level_run.h"

#include <cmath>
#include <deque>
#include <sstream>

#include "app/app_state.h"
#include "app/autoplayer.h"
#include "app/engine_loop.h"
#include "app/random.h"
#include "engine/platform.h"
#include "game/game.h"
#include "headless/headless.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/enemy.h"
#include "objects/missile.h"
#include "objects/paddle.h"
#include "program_reset.h"

namespace {

constexpr double kPassSeconds = 1.0 / 60;
constexpr double kPathSampleSeconds = 0.25;
constexpr size_t kPathPointsReported = 16;
constexpr size_t kFaultsKept = 5;

bool Finite(long double a, long double b) {
  return std::isfinite(a) && std::isfinite(b);
}

bool Within(long double v, long double lo, long double hi) {
  return v >= lo && v <= hi;
}

// What one ball slot looked like at the last pass.
struct BallTrack {
  bool InPlay = false;
  bool Moving = false;
  uint64_t Touches = 0;
  double LastTouch = 0;
  bool Reported = false;
  std::deque<TPathPoint> Path;
};

class LevelWatch {
 public:
  LevelWatch(int32_t level, uint32_t seed, const TRunLimits& limits)
      : limits_(limits), bonusWasActive_(Game->Bonuses.size(), false) {
    run_.Level = level;
    run_.Seed = seed;
  }

  // One pass of the level; true once it is over.
  bool Pass(double now) {
    const double t = now - start_;
    run_.GameSeconds = t;
    Check(t);
    Count(t);
    if (Game->LevelComplete) {
      run_.Outcome = TOutcome::Cleared;
      return true;
    }
    if (Game->GameEnded) {
      run_.Outcome = TOutcome::Lost;
      return true;
    }
    if (!run_.Faults.empty() || t > limits_.GameSecondsCap)
      return true;
    return false;
  }

  void Start(double now) { start_ = lastTouch_ = now; }
  TLevelRun Result() {
    for (const auto& block : Game->Blocks)
      if (block->Active && block->Kind <= 9)
        run_.BlocksLeft.emplace_back(block->Column, block->Row);
    return std::move(run_);
  }

 private:
  void Fault(double t, const std::string& what) {
    if (run_.Faults.size() >= kFaultsKept)
      return;
    std::ostringstream out;
    out.precision(4);
    out << "at " << t << " s: " << what;
    run_.Faults.push_back(out.str());
  }

  // Every object in play stands where play can put it: on the playfield, or falling off it.
  void Check(double t) {
    const TGame& game = *Game;
    if (game.GetScore() < 0)
      Fault(t, "negative score " + std::to_string(game.GetScore()));
    if (!Within(game.GetLives(), 0, 99))
      Fault(t, "lives " + std::to_string(game.GetLives()));
    int inPlay = 0;
    for (size_t slot = 0; slot < game.Balls.size(); ++slot) {
      const TBubble& ball = *game.Balls[slot];
      if (!ball.InPlay)
        continue;
      ++inPlay;
      // A ball held on the paddle comes in with it from the right.
      const long double right = ball.Moving ? 17.5L : 19.5L;
      if (!Finite(ball.X, ball.Y) || !std::isfinite(ball.Angle) || !Within(ball.X, -17.5L, right) ||
          !Within(ball.Y, -15.5L, 12.5L))
        Fault(t, "ball " + std::to_string(slot) + " at " + Where(ball.X, ball.Y));
    }
    if (inPlay > kBallCount)
      Fault(t, std::to_string(inPlay) + " balls in play");
    const TBita& paddle = *game.Paddle;
    if (!Finite(paddle.X, paddle.Y) || !Within(paddle.X, -13.5L, 19) ||
        !Within(paddle.Y, -10.5L, -9.5L))
      Fault(t, "paddle at " + Where(paddle.X, paddle.Y));
    int missiles = 0;
    for (const auto& missile : paddle.Missiles) {
      if (!missile->Active)
        continue;
      ++missiles;
      // The largest paddle's outer shots leave up to 3.5 beside it, so past the side walls.
      if (!Finite(missile->X, missile->Y) || !Within(missile->X, -16.5L, 16.5L) ||
          !Within(missile->Y, -11, 13.5L))
        Fault(t, "missile at " + Where(missile->X, missile->Y));
    }
    if (missiles > TBita::kMissileCount)
      Fault(t, std::to_string(missiles) + " missiles in flight");
    if (game.Bonuses.size() != static_cast<size_t>(kBonusCount))
      Fault(t, std::to_string(game.Bonuses.size()) + " capsules in the pool");
    for (const auto& bonus : game.Bonuses)
      if (bonus->Active && (!Finite(bonus->X, bonus->Y) || !Within(bonus->X, -16, 16) ||
                            !Within(bonus->Y, -14.5L, 12.5L) || !Within(bonus->Kind, 1, 16)))
        Fault(t, "capsule of kind " + std::to_string(bonus->Kind) + " at " +
                     Where(bonus->X, bonus->Y));
    if (game.Enemies.size() != static_cast<size_t>(kEnemyCount))
      Fault(t, std::to_string(game.Enemies.size()) + " enemies in the pool");
    for (const auto& enemy : game.Enemies)
      if (enemy->Active && (!Finite(enemy->X, enemy->Y) || !Within(enemy->X, -17, 17) ||
                            !Within(enemy->Y, -13, 12.5L)))
        Fault(t, "enemy at " + Where(enemy->X, enemy->Y));
    // Only the travelling blocks move; the others stay where the level put them.
    for (size_t i = 0; i < game.BlockPaths.size() && i < game.Blocks.size(); ++i) {
      const TBlock& block = *game.Blocks[i];
      if (!Finite(block.X, block.Y) || !Within(block.X, -16, 16) || !Within(block.Y, -12.5L, 12))
        Fault(t, "travelling block at " + Where(block.X, block.Y));
    }
  }

  static std::string Where(long double x, long double y) {
    std::ostringstream out;
    out.precision(6);
    out << "(" << static_cast<double>(x) << ", " << static_cast<double>(y) << ")";
    return out.str();
  }

  void Count(double t) {
    const TGame& game = *Game;
    for (size_t i = 0; i < game.Bonuses.size(); ++i) {
      const TBonus& bonus = *game.Bonuses[i];
      // A capsule that leaves play above the bottom was caught.
      if (bonusWasActive_[i] && !bonus.Active && bonus.Y >= -14)
        ++run_.Caught[static_cast<size_t>(bonus.Kind)];
      bonusWasActive_[i] = bonus.Active;
    }

    bool flying = false;
    bool touched = false;
    for (size_t slot = 0; slot < game.Balls.size(); ++slot) {
      const TBubble& ball = *game.Balls[slot];
      BallTrack& track = balls_[slot];
      if (track.InPlay && track.Moving && !ball.InPlay &&
          (ball.Y < -14.9L || std::fabs(ball.X) > 16.9L))
        ++run_.BallsLost;
      const bool newFlight = ball.InPlay && ball.Moving && !(track.InPlay && track.Moving);
      track.InPlay = ball.InPlay;
      track.Moving = ball.Moving;
      if (!ball.InPlay || !ball.Moving) {
        // Held on the paddle, or out of play: no flight to watch.
        touched = touched || ball.InPlay;
        track.Path.clear();
        track.Reported = false;
        track.Touches = ball.Touches;
        track.LastTouch = t;
        continue;
      }
      flying = true;
      if (newFlight || ball.Touches != track.Touches) {
        touched = true;
        track.Touches = ball.Touches;
        track.LastTouch = t;
        track.Path.clear();
        track.Reported = false;
      }
      if (track.Path.empty() || t - track.Path.back().Seconds >= kPathSampleSeconds)
        track.Path.push_back({t, static_cast<double>(ball.X), static_cast<double>(ball.Y)});
      while (!track.Path.empty() && t - track.Path.front().Seconds > limits_.StuckSeconds)
        track.Path.pop_front();
      if (!track.Reported && t - track.LastTouch >= limits_.StuckSeconds) {
        track.Reported = true;
        TStuckBall stuck{run_.Level, run_.Seed, static_cast<int32_t>(slot), track.LastTouch, {}};
        const size_t every = std::max<size_t>(1, track.Path.size() / kPathPointsReported);
        for (size_t p = 0; p < track.Path.size(); p += every)
          stuck.Path.push_back(track.Path[p]);
        run_.Stuck.push_back(std::move(stuck));
      }
    }
    const double now = start_ + t;
    if (touched || !flying)
      lastTouch_ = now;
    run_.LongestNoTouch = std::max(run_.LongestNoTouch, now - lastTouch_);
  }

  TRunLimits limits_;
  TLevelRun run_;
  double start_ = 0;
  double lastTouch_ = 0;
  std::array<BallTrack, kBallCount> balls_{};
  std::vector<bool> bonusWasActive_;
};

}  // namespace

const char* OutcomeName(TOutcome outcome) {
  switch (outcome) {
    case TOutcome::Cleared:
      return "cleared";
    case TOutcome::Lost:
      return "lost";
    case TOutcome::Unfinished:
      return "unfinished";
  }
  return "?";
}

TLevelRun PlayLevel(const TempProgramFolder& folder, int32_t level, uint32_t seed,
                    const TRunLimits& limits) {
  ResetProgram();
  folder.Activate();
  headless::SetAutoAdvance(kPassSeconds);
  Autoplayer = std::make_unique<TAutoplayer>([](int32_t scanCode, bool down) {
    if (down)
      headless::PressKey(scanCode);
    else
      headless::ReleaseKey(scanCode);
  });

  bool chosen = false;
  bool over = false;
  std::unique_ptr<LevelWatch> watch;
  headless::SetPassHook([&](uint64_t) {
    if (over)
      return;
    // The bot starts a game from the menu; the game then begins at the chosen level, with the
    // generator seeded for this run (the start-up scene seeded it from the clock).
    if (!chosen && AppState == StateStartGame) {
      chosen = true;
      Game->SetLevel(level - 1);
      RandSeed(seed);
      return;
    }
    if (!chosen || AppState != StatePlaying)
      return;
    if (!watch) {
      watch = std::make_unique<LevelWatch>(level, seed, limits);
      watch->Start(headless::Clock());
    }
    if (watch->Pass(headless::Clock())) {
      over = true;
      headless::PostMessage(FindWindowA("Game", nullptr), WM_CLOSE, 0, 0);
    }
  });
  RunProgram();
  headless::SetPassHook({});

  TLevelRun run = watch ? watch->Result() : TLevelRun{};
  run.Level = level;
  run.Seed = seed;
  if (!watch)
    run.Faults.push_back("the level never came into play");
  ResetProgram();
  return run;
}

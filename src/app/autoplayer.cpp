#include "app/autoplayer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/run_phase.h"
#include "game/game.h"
#include "menus/main_menu.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/paddle.h"
#include "persist/settings.h"

std::unique_ptr<TAutoplayer> Autoplayer;

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
// Where a ball's centre turns: the side walls' inner faces at +-15.4 and the ceiling's face at
// 10, less the ball's radius.
constexpr long double kWallX = 15.0L;
constexpr long double kCeilingY = 9.6L;
// A heading this close to level is taken as this steep, so that a landing is always ahead.
constexpr long double kFlattest = 0.05L;
constexpr long double kPaddleSpeed = 0.3L;  // units per 13 ms step, as the paddle moves
constexpr long double kPaddleReach = 13;
constexpr long double kBonusFall = 0.1L;  // units per 13 ms step
constexpr long double kBonusHalfWidth = 0.88L;
constexpr long double kBonusHalfHeight = 0.92L;
constexpr long double kSteer = kPi / 6;
constexpr uint32_t kMenuTapSteps = 10;
constexpr uint32_t kShotSteps = 6;
// How long a served ball may wait for the paddle to stand under a block.
constexpr uint32_t kServeAimSteps = 150;

// Folds an unbounded x back between the side walls, as the bounces would.
long double FoldBetweenWalls(long double x) {
  const long double period = 4 * kWallX;
  long double m = std::fmod(x + kWallX, period);
  if (m < 0)
    m += period;
  if (m > 2 * kWallX)
    m = period - m;
  return m - kWallX;
}

long double Normalised(long double angle) {
  angle = std::fmod(angle, 2 * kPi);
  return angle < 0 ? angle + 2 * kPi : angle;
}

// The heading a ball falling on `angle` leaves the paddle with when the paddle moves in `dir`
// (-1, 0, 1) at the moment of the bounce, without the bounce's small random bend.
long double PaddleExit(long double angle, int dir) {
  long double a = Normalised(kPi - angle) + dir * kSteer;
  a = Normalised(a);
  if (kPi / 3 < a && a < kPi)
    a = kPi / 4;
  if (kPi < a && a < 5 * kPi / 3)
    a = 7 * kPi / 4;
  return a;
}

bool Breakable(const TBlock& block) {
  return block.Active && block.Kind <= 9;
}

// Distance along a ray from (x, y) in direction (dx, dy) to the box, grown by `grow`; infinite
// when the ray misses it within `limit`.
long double RayToBox(long double x, long double y, long double dx, long double dy,
                     const TBlock& block, long double grow, long double limit) {
  long double near = 0, far = limit;
  const long double centre[2] = {block.X, block.Y};
  const long double half[2] = {block.HalfWidth + grow, block.HalfHeight + grow};
  const long double from[2] = {x, y};
  const long double dir[2] = {dx, dy};
  for (int axis = 0; axis < 2; ++axis) {
    const long double lo = centre[axis] - half[axis], hi = centre[axis] + half[axis];
    if (std::fabs(dir[axis]) < 1e-12L) {
      if (from[axis] < lo || from[axis] > hi)
        return kInfinity;
      continue;
    }
    long double t1 = (lo - from[axis]) / dir[axis], t2 = (hi - from[axis]) / dir[axis];
    if (t1 > t2)
      std::swap(t1, t2);
    near = std::max(near, t1);
    far = std::min(far, t2);
    if (near > far)
      return kInfinity;
  }
  return near;
}

// How good a rising flight from (x, y) on `angle` is: the distance to the first breakable block
// it meets, with the side walls folded in; a flight that meets an unbreakable block first, or
// only the ceiling, scores worse than any hit.
long double FlightScore(long double x, long double y, long double angle, long double radius) {
  long double dx = std::sin(angle);
  const long double dy = std::cos(angle);
  long double travelled = 0;
  for (int leg = 0; leg < 4 && y < kCeilingY; ++leg) {
    long double toWall = kInfinity;
    if (dx > 1e-9L)
      toWall = (kWallX - x) / dx;
    else if (dx < -1e-9L)
      toWall = (-kWallX - x) / dx;
    const long double toCeiling = dy > 1e-9L ? (kCeilingY - y) / dy : kInfinity;
    const long double limit = std::min(toWall, toCeiling);
    long double best = kInfinity;
    const TBlock* first = nullptr;
    for (const auto& block : Game->Blocks) {
      if (!block->Active)
        continue;
      const long double d = RayToBox(x, y, dx, dy, *block, radius, limit);
      if (d < best) {
        best = d;
        first = block.get();
      }
    }
    if (first)
      return Breakable(*first) ? travelled + best : 1000 + travelled + best;
    if (!std::isfinite(limit))
      break;
    travelled += limit;
    x += dx * limit;
    y += dy * limit;
    if (limit == toCeiling)
      break;
    dx = -dx;
  }
  return 500 + travelled;
}

struct Approach {
  const TBubble* Ball = nullptr;
  long double X = 0;              // where it comes down to the paddle
  long double Steps = kInfinity;  // 13 ms steps until then
};

// The ball that reaches the paddle's height first.
Approach FirstLanding(const TBita& paddle) {
  Approach first;
  for (const auto& ball : Game->Balls) {
    if (!ball->InPlay || !ball->Moving || ball->Y < paddle.Y || ball->Speed <= 0)
      continue;
    const long double contact = paddle.Y + paddle.HalfHeight + ball->Radius;
    const bool falling = std::cos(ball->Angle) < 0;
    Approach a;
    a.Ball = ball.get();
    if (falling && ball->Y <= contact) {
      a.X = ball->X;
      a.Steps = 0;
    } else {
      const TLanding landing = PredictLanding(ball->X, ball->Y, ball->Angle, contact);
      a.X = landing.X;
      a.Steps = landing.Distance / ball->Speed;
    }
    if (a.Steps < first.Steps)
      first = a;
  }
  return first;
}

// Steps until a capsule's box first meets and last leaves the paddle's height.
struct CapsuleWindow {
  long double In, Out;
};
CapsuleWindow WindowOf(const TBonus& bonus, const TBita& paddle) {
  const long double in = (bonus.Y - kBonusHalfHeight - (paddle.Y + paddle.HalfHeight)) / kBonusFall;
  const long double out =
      (bonus.Y + kBonusHalfHeight - (paddle.Y - paddle.HalfHeight)) / kBonusFall;
  return {std::max<long double>(0, in), out};
}

// Where a straight serve from near `x` should leave: under the nearest breakable block that
// nothing unbreakable covers from below, else under the nearest breakable block.
long double ServeColumn(long double x, long double y, long double radius) {
  long double best = x, distance = kInfinity;
  bool open = false;
  for (const auto& block : Game->Blocks) {
    if (!Breakable(*block))
      continue;
    const long double d = std::fabs(block->X - x);
    if (open && d >= distance)
      continue;
    const bool reached = FlightScore(block->X, y, 0, radius) < 500;
    if (reached ? !open || d < distance : !open && d < distance) {
      open = open || reached;
      distance = d;
      best = block->X;
    }
  }
  return std::clamp(best, -kPaddleReach, kPaddleReach);
}

}  // namespace

TLanding PredictLanding(long double x, long double y, long double angle, long double height) {
  const long double dx = std::sin(angle);
  long double dy = std::cos(angle);
  long double distance = 0;
  if (dy > 0) {
    distance += std::max<long double>(0, (kCeilingY - y) / std::max(dy, kFlattest));
    y = std::max(y, kCeilingY);
    dy = -dy;
  }
  dy = std::min(dy, -kFlattest);
  distance += std::max<long double>(0, (y - height) / -dy);
  return {FoldBetweenWalls(x + dx * distance), distance};
}

bool BonusHurts(int32_t kind) {
  return kind == 3 || kind == 4 || kind == 7 || kind == 12;
}

TAutoplayer::TAutoplayer(KeySink keys) : keys_(std::move(keys)) {}

void TAutoplayer::Hold(int32_t scanCode, bool down) {
  int32_t& held = scanCode == Settings.KeyLeft ? heldLeft_ : heldRight_;
  if (down && held != scanCode) {
    if (held != 0)
      keys_(held, false);
    keys_(scanCode, true);
    held = scanCode;
  } else if (!down && held != 0) {
    keys_(held, false);
    held = 0;
  }
}

void TAutoplayer::Tap(int32_t scanCode) {
  keys_(scanCode, true);
  keys_(scanCode, false);
}

void TAutoplayer::ReleaseAll() {
  if (heldLeft_ != 0)
    keys_(heldLeft_, false);
  if (heldRight_ != 0)
    keys_(heldRight_, false);
  heldLeft_ = heldRight_ = 0;
}

void TAutoplayer::Steer(long double target, long double tolerance) {
  const long double x = Game->Paddle->X;
  const bool left = target < x - tolerance && x > -kPaddleReach;
  const bool right = target > x + tolerance && x < kPaddleReach;
  Hold(Settings.KeyLeft, left);
  Hold(Settings.KeyRight, right);
}

void TAutoplayer::Step() {
  ++steps_;
  const uint8_t state = AppState;
  if (state == StatePlaying && Game) {
    Play();
    return;
  }
  ReleaseAll();
  servingSince_ = 0;
  if (steps_ - lastMenuTap_ < kMenuTapSteps)
    return;
  switch (state) {
    case StateMainMenu:
      // Once the menu has faded in, the first item starts a game.
      if (!MainMenu || LightLevel < 200)
        return;
      Tap(MainMenu->Current == 1 ? kScanEnter : MainMenu->Current > 6 ? kScanDown : kScanUp);
      break;
    case StateRecordEntry:
    case StateRecordName:
    case StateRecordCountry:
    case StateAskUpload:
    case StateUploadFailed:
      // The bot's results are not the player's: no record, no upload.
      Tap(kScanEscape);
      break;
    default:
      return;
  }
  lastMenuTap_ = steps_;
}

void TAutoplayer::Play() {
  const TBita& paddle = *Game->Paddle;
  if (Game->GameEnded || Game->IntroShowing || Game->LevelComplete || Game->PaddleEntering ||
      paddle.Dead) {
    ReleaseAll();
    servingSince_ = 0;
    return;
  }
  const long double stride = kPaddleSpeed * std::max<long double>(FrameFactor, 0.1L);
  const long double deadBand = stride * 0.6L;

  const TBubble* held = nullptr;
  for (const auto& ball : Game->Balls)
    if (ball->InPlay && !ball->Moving)
      held = ball.get();
  const Approach first = FirstLanding(paddle);

  if (paddle.Mode == TBita::kGun && Game->GetShots() > 0 && steps_ - lastShot_ >= kShotSteps) {
    for (const auto& block : Game->Blocks) {
      if (block->Active && block->Kind <= 10 &&
          std::fabs(block->X - paddle.X) < paddle.HalfWidth + block->HalfWidth) {
        Tap(Settings.KeyFire);
        lastShot_ = steps_;
        break;
      }
    }
  }

  if (held && !first.Ball) {
    // A straight serve from under a block; a caught ball keeps its heading and goes at once.
    if (servingSince_ == 0) {
      servingSince_ = steps_;
      serveColumn_ = ServeColumn(held->X, held->Y, held->Radius);
    }
    const long double column = serveColumn_;
    const long double offset = held->X - paddle.X;
    const bool ready = held->Caught || std::fabs(held->X - column) < deadBand ||
                       steps_ - servingSince_ > kServeAimSteps;
    if (ready) {
      Tap(Settings.KeyFire);
      servingSince_ = 0;
    }
    Steer(std::clamp(column - offset, -kPaddleReach, kPaddleReach), deadBand);
    return;
  }
  if (held)
    Tap(Settings.KeyFire);
  servingSince_ = 0;
  if (!first.Ball) {
    ReleaseAll();
    return;
  }

  const TBubble& ball = *first.Ball;
  const long double v = ball.Speed * std::max<long double>(FrameFactor, 0.1L);
  const long double contact = paddle.Y + paddle.HalfHeight + ball.Radius;
  const bool falling = std::cos(ball.Angle) < 0;
  const long double nextX = ball.X + std::sin(ball.Angle) * v;
  const long double nextY = ball.Y + std::cos(ball.Angle) * v;
  if (falling && nextY <= contact) {
    // The bounce is in this step: the paddle's motion bends it, so move the way that sends the
    // ball towards a block, as long as the paddle stays under it.
    int best = 0;
    long double bestScore = kInfinity;
    for (const int dir : {0, -1, 1}) {
      const long double moved = std::clamp(paddle.X + dir * stride, -kPaddleReach, kPaddleReach);
      if (std::fabs(nextX - moved) > paddle.HalfWidth)
        continue;
      const long double score =
          FlightScore(nextX, contact, PaddleExit(ball.Angle, dir), ball.Radius);
      if (score < bestScore - 1e-6L) {
        bestScore = score;
        best = dir;
      }
    }
    Hold(Settings.KeyLeft, best < 0);
    Hold(Settings.KeyRight, best > 0);
    return;
  }

  // Within this far of the paddle's centre a landing ball bounces off its top.
  const long double catchReach = paddle.HalfWidth * 0.75L;
  long double target = first.X;

  // A good capsule that the paddle can fetch and still be back under the ball.
  const long double reach = paddle.HalfWidth + kBonusHalfWidth - 0.2L;
  long double soonest = kInfinity;
  for (const auto& bonus : Game->Bonuses) {
    if (!bonus->Active || BonusHurts(bonus->Kind))
      continue;
    const CapsuleWindow w = WindowOf(*bonus, paddle);
    if (w.Out <= 0 || w.In >= soonest)
      continue;
    const long double there = std::max<long double>(0, std::fabs(bonus->X - paddle.X) - reach);
    const long double arrive = there / kPaddleSpeed;
    if (arrive > (w.In + w.Out) / 2)
      continue;
    const long double at = std::clamp(first.X, bonus->X - reach * 0.8L, bonus->X + reach * 0.8L);
    const long double back = std::max<long double>(0, std::fabs(first.X - at) - catchReach);
    if (back / kPaddleSpeed > first.Steps - std::max(w.In, arrive) - 4)
      continue;
    soonest = w.In;
    target = at;
  }

  // A bad capsule's column is closed to the paddle while the capsule passes its height, unless
  // that would lose the ball.
  for (const auto& bonus : Game->Bonuses) {
    if (!bonus->Active || !BonusHurts(bonus->Kind))
      continue;
    const CapsuleWindow w = WindowOf(*bonus, paddle);
    if (w.Out <= 0)
      continue;
    const long double half = paddle.HalfWidth + kBonusHalfWidth + 0.3L;
    const long double lo = bonus->X - half, hi = bonus->X + half;
    const long double x = paddle.X;
    long double safe = target;
    if (x > lo && x < hi) {
      // Inside: out by the side nearer the target, if there is time, else the nearer side.
      const long double towards = target < bonus->X ? lo : hi;
      const long double nearer = x - lo < hi - x ? lo : hi;
      safe = std::fabs(towards - x) / kPaddleSpeed < w.In ? towards : nearer;
    } else if ((x <= lo && target > lo) || (x >= hi && target < hi)) {
      // Outside, the way to the target across the column: only if it is crossed before the
      // capsule comes down.
      const long double across = x <= lo ? hi : lo;
      if (std::fabs(across - x) / kPaddleSpeed >= w.In)
        safe = x <= lo ? lo : hi;
    }
    if (safe == target)
      continue;
    if (safe < -kPaddleReach || safe > kPaddleReach)
      safe = x <= bonus->X ? lo : hi;
    const bool ballStillCaught = std::fabs(safe - first.X) < catchReach;
    const bool timeAfterwards =
        first.Steps > w.In && first.Steps - w.Out > std::fabs(first.X - safe) / kPaddleSpeed;
    if (ballStillCaught || timeAfterwards)
      target = safe;
  }

  Steer(std::clamp(target, -kPaddleReach, kPaddleReach), deadBand);
}

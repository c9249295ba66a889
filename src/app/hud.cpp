#include "app/hud.h"

#include <cmath>
#include <numbers>
#include <string>

#include "app/app_state.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "game/game.h"
#include "objects/ball.h"

namespace {

constexpr long double kTwoPi = 2 * std::numbers::pi_v<long double>;
// Each character of the game font at scale 0.5 is about 0.35 print units wide.
constexpr float kDigitWidth = 0.35f;

void Print(const std::string& text, float x, float y) {
  iPrint(text.c_str(), Vec2f{x, y}, Vec2f{0.5f, 0.5f}, 0.1f, GameFont);
}

float Width(const std::string& text) {
  return kDigitWidth * static_cast<float>(text.size());
}

}  // namespace

void PrintInGameNumbers() {
  const TGame& game = *Game;
  const float shade = AppState == StatePaused ? 0.5f : 1.0f;
  iPrintColorSet(shade, shade, shade, 1);

  const std::string score = std::to_string(game.GetScore());
  Print(score, 5 - Width(score), 11.35f);
  Print(std::to_string(game.GetLives()), -12.9f, 11.35f);
  if (game.EscortActive) {
    const std::string seconds = std::to_string(static_cast<int64_t>(game.EscortTime));
    iPrintColorSet(1, 0, 0, 1);
    Print(seconds, static_cast<float>(game.EscortX) - Width(seconds) + kDigitWidth,
          static_cast<float>(game.EscortY));
    iPrintColorSet(shade, shade, shade, 1);
  }
  Print(std::to_string(game.GetShots()), -12.9f, -11.45f);
  Print(std::to_string(game.Balls[0]->SpeedLevel * 50), -12.9f, -10.6f);
  Print(std::to_string(game.GetLevel()), 14.2f, 11.35f);

  const long double t = game.TimeLeft;
  if (t < 10) {
    TimeBlinkPhase += 0.1L * FrameFactor;
    if (TimeBlinkPhase > kTwoPi)
      TimeBlinkPhase = 0;
    const auto warm = static_cast<float>(1 - std::fabs(std::cos(TimeBlinkPhase)));
    iPrintColorSet(1, warm, warm, 1);
  }
  Print(FormatLevelTime(t, ShownSeconds), -9, 11.35f);
  iPrintColorSet(1, 1, 1, 1);
}

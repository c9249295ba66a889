// The two level messages: "LEVEL n" as a level begins and "LEVEL COMPLETE!" as it ends. Each
// grows in, pulses, then shrinks away; the hold value turns -1 once it has gone.
#include <cmath>
#include <numbers>
#include <string>

#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "game/game.h"

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kStep = 0.05L;

void Shrink(long double& scale, long double& alpha, long double& hold) {
  if (scale > 0) {
    scale -= kStep;
    alpha -= kStep;
  }
  if (scale <= 0)
    hold = -1;
}

void Draw(const std::string& text, long double left, long double scale, long double alpha) {
  iPrintColorSet(1, 1, 0, static_cast<float>(alpha));
  const Vec2f position{static_cast<float>(left), 0};
  const Vec2f size{static_cast<float>(scale), static_cast<float>(scale)};
  iPrint(text.c_str(), position, size, 0.2f, MenuFont);
  iPrintColorSet(1, 1, 1, 1);
}

}  // namespace

void TGame::AnimateIntroMessage() {
  if (IntroGrowing && IntroScale < 1) {
    IntroScale += FrameFactor * kStep;
    IntroAlpha += FrameFactor * kStep;
  } else if (IntroGrowing) {
    if (IntroPhase < 4 * kPi) {
      IntroAlpha = std::cos(IntroPhase) * 0.4L + 0.6L;
      IntroPhase += FrameFactor * 0.1L;
    } else {
      IntroGrowing = false;
    }
  } else {
    Shrink(IntroScale, IntroAlpha, IntroHold);
  }
  if (IntroHold > 0)
    Draw("LEVEL " + std::to_string(GetLevel()), (1 - IntroScale) * 3 - 3, IntroScale, IntroAlpha);
}

void TGame::AnimateCompleteMessage() {
  if (CompleteGrowing && CompleteScale < 1) {
    CompleteScale += kStep;
    CompleteAlpha += kStep;
  } else if (CompleteGrowing) {
    if (CompletePhase < 8 * kPi) {
      CompleteAlpha = std::cos(CompletePhase) * 0.4L + 0.6L;
      CompletePhase += 0.1L;
    } else if (TimeLeft < 1) {
      CompleteGrowing = false;
    }
  } else {
    Shrink(CompleteScale, CompleteAlpha, CompleteHold);
  }
  if (CompleteHold > 0)
    Draw("LEVEL COMPLETE!", (1 - CompleteScale) * 5 - 8, CompleteScale, CompleteAlpha);
}

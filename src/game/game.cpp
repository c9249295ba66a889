#include "game/game.h"

#include "game/asteroid.h"
#include "objects/ball.h"
#include "objects/block.h"
#include "objects/bonus.h"
#include "objects/enemy.h"
#include "objects/paddle.h"

std::unique_ptr<TGame> Game;
int32_t OvertimeMark = 0;

namespace {

// The counters are never held in the clear, so a memory editor cannot find the score by value.
constexpr int32_t kCounterMask = 0x3A5C9E17;

int32_t Masked(int32_t value) {
  return value ^ kCounterMask;
}

}  // namespace

TGame::TGame() : Score(Masked(0)), Level(Masked(0)), Lives(Masked(3)), Shots(Masked(0)) {}

// Out of line: the object classes are complete only here.
TGame::~TGame() = default;

int32_t TGame::GetScore() const {
  return Masked(Score);
}
int32_t TGame::GetLevel() const {
  return Masked(Level);
}
int32_t TGame::GetLives() const {
  return Masked(Lives);
}
int32_t TGame::GetShots() const {
  return Masked(Shots);
}

void TGame::SetScore(int32_t value) {
  if (value >= 0)
    Score = Masked(value);
}

void TGame::SetLevel(int32_t value) {
  Level = Masked(value);
}
void TGame::SetLives(int32_t value) {
  Lives = Masked(value);
}
void TGame::SetShots(int32_t value) {
  Shots = Masked(value);
}

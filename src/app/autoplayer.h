// A bot that plays the game through the player's own input: it looks at the game's objects and
// presses the bound keys (and the menu keys), and it never changes the game itself. It keeps the
// paddle under the ball that will land first, launches served balls under a block, steers its
// bounces towards the blocks that are left, catches the good capsules, dodges the bad ones and
// fires the gun when it has one. Between games it starts the next one from the main menu.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// Where a ball flying from (x, y) on `angle` (0 up, pi/2 right) first comes down to `height`,
// with the bounces off the side walls and the ceiling in between (blocks are not looked at), and
// how far it travels until then.
struct TLanding {
  long double X = 0;
  long double Distance = 0;
};
TLanding PredictLanding(long double x, long double y, long double angle, long double height);

// Capsules the bot keeps away from: smaller paddle, faster balls, lose a life, less time.
bool BonusHurts(int32_t kind);

class TAutoplayer {
 public:
  // Receives every key the bot presses (down = true) and releases, as DirectInput scan codes.
  using KeySink = std::function<void(int32_t scanCode, bool down)>;

  explicit TAutoplayer(KeySink keys);

  // Decides this step's input; called once at the start of every run phase.
  void Step();

 private:
  void Play();
  void Steer(long double target, long double tolerance);
  void Hold(int32_t scanCode, bool down);
  void Tap(int32_t scanCode);
  void ReleaseAll();

  KeySink keys_;
  int32_t heldLeft_ = 0;  // the scan code held for left or right, 0 for none
  int32_t heldRight_ = 0;
  uint32_t steps_ = 0;
  uint32_t lastMenuTap_ = 0;
  uint32_t lastShot_ = 0;
  uint32_t servingSince_ = 0;  // the step a held ball was first seen, 0 for none
  long double serveColumn_ = 0;
};

// The bot that plays, when the program was asked to play by itself; RunPhase steps it.
extern std::unique_ptr<TAutoplayer> Autoplayer;

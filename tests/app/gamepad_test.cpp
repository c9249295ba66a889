// A gamepad plays through the keys the game already reads: synthetic controller events, as SDL
// delivers them, steer the paddle, launch, pause and move through the menus.
#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "engine/engine.h"
#include "game/game.h"
#include "objects/ball.h"
#include "objects/paddle.h"
#include "persist/settings.h"
#include "program_test.h"
#include "sdl/gamepad.h"

namespace {

constexpr SDL_JoystickID kPad = 3;
constexpr SDL_JoystickID kOtherPad = 7;
constexpr int kScanQ = 16;

void Button(engine::sdl::Gamepads& pads, SDL_GameControllerButton button, bool down,
            SDL_JoystickID pad = kPad) {
  SDL_Event event{};
  event.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
  event.cbutton.which = pad;
  event.cbutton.button = static_cast<Uint8>(button);
  event.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
  EXPECT_TRUE(pads.OnEvent(event));
}

void Stick(engine::sdl::Gamepads& pads, Sint16 x,
           SDL_GameControllerAxis axis = SDL_CONTROLLER_AXIS_LEFTX) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERAXISMOTION;
  event.caxis.which = kPad;
  event.caxis.axis = static_cast<Uint8>(axis);
  event.caxis.value = x;
  EXPECT_TRUE(pads.OnEvent(event));
}

void Unplug(engine::sdl::Gamepads& pads, SDL_JoystickID pad) {
  SDL_Event event{};
  event.type = SDL_CONTROLLERDEVICEREMOVED;
  event.cdevice.which = pad;
  EXPECT_TRUE(pads.OnEvent(event));
}

class GamepadTest : public ProgramTest {
 protected:
  engine::sdl::Gamepads pads;
};

bool PaddleReady() {
  return !Game->PaddleEntering && AppState == StatePlaying;
}

// The d-pad, then the stick, steer; the stick's small lean does nothing; A launches the held
// ball; Start pauses and resumes.
TEST_F(GamepadTest, TheDpadAndTheStickSteerTheBallLaunchesAndStartPauses) {
  long double x = 0;
  int passes = 0;
  auto hold = [&](int count) { return ++passes % count == 0; };
  PlayUntil([&, phase = 0](uint64_t) mutable {
    switch (phase) {
      case 0:
        if (!PaddleReady())
          return false;
        x = Game->Paddle->X;
        Button(pads, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
        ++phase;
        return false;
      case 1:
        if (!hold(30))
          return false;
        EXPECT_LT(Game->Paddle->X, x - 1) << "the d-pad did not steer left";
        Button(pads, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
        x = Game->Paddle->X;
        Stick(pads, 20000);
        ++phase;
        return false;
      case 2:
        if (!hold(30))
          return false;
        EXPECT_GT(Game->Paddle->X, x + 1) << "the stick did not steer right";
        Stick(pads, 12000);  // between the two thresholds: still leaning
        ++phase;
        return false;
      case 3:
        if (!hold(10))
          return false;
        x = Game->Paddle->X;
        Stick(pads, 4000);  // back near the middle
        ++phase;
        return false;
      case 4:
        if (!hold(10))
          return false;
        EXPECT_NEAR(static_cast<double>(Game->Paddle->X), static_cast<double>(x), 0.5)
            << "the stick kept steering once back";
        Stick(pads, -3000);
        Stick(pads, 30000, SDL_CONTROLLER_AXIS_LEFTY);  // the stick's other axis steers nothing
        EXPECT_FALSE(Game->Balls[0]->Moving);
        Button(pads, SDL_CONTROLLER_BUTTON_A, true);
        ++phase;
        return false;
      case 5:
        Button(pads, SDL_CONTROLLER_BUTTON_A, false);
        EXPECT_TRUE(Game->Balls[0]->Moving) << "A did not launch the ball";
        EXPECT_NEAR(static_cast<double>(Game->Paddle->X), static_cast<double>(x), 0.5);
        Button(pads, SDL_CONTROLLER_BUTTON_START, true);
        Button(pads, SDL_CONTROLLER_BUTTON_START, false);
        ++phase;
        return false;
      case 6:
        EXPECT_EQ(AppState, StatePaused);
        Button(pads, SDL_CONTROLLER_BUTTON_START, true);
        Button(pads, SDL_CONTROLLER_BUTTON_START, false);
        ++phase;
        return false;
      default:
        EXPECT_EQ(AppState, StatePlaying);
        return true;
    }
  });
}

// Bound keys: left on Q, left and right swapped, fire on Enter. The d-pad presses the bound key,
// and never a cursor key or Enter that is bound to another of the game's keys.
TEST_F(GamepadTest, TheDpadAndAPressTheBoundKeysAndNoKeyOfAnotherControl) {
  struct Case {
    uint16_t left, right, fire;
    std::vector<int> leftDown, leftUp;  // keys down and up while the d-pad's left is held
    bool enterWithA;
  };
  const std::vector<Case> cases = {
      {kScanLeft, kScanRight, kScanSpace, {kScanLeft}, {kScanRight, kScanSpace, kScanEnter}, true},
      {kScanQ, kScanRight, kScanSpace, {kScanQ, kScanLeft}, {kScanRight}, true},
      {kScanRight, kScanLeft, kScanSpace, {kScanRight}, {kScanLeft}, true},
      {kScanLeft, kScanRight, kScanEnter, {kScanLeft}, {kScanRight, kScanEnter}, true},
      {kScanEnter, kScanRight, kScanSpace, {kScanEnter, kScanLeft}, {kScanRight}, false},
  };
  RunSteps({[&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.left);
      Settings.KeyLeft = c.left;
      Settings.KeyRight = c.right;
      Settings.KeyFire = c.fire;
      SaveSettings();
      Button(pads, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
      for (const int key : c.leftDown)
        EXPECT_NE(iKeyDown(key), 0) << key;
      for (const int key : c.leftUp)
        EXPECT_EQ(iKeyDown(key), 0) << key;
      Button(pads, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
      for (const int key : c.leftDown)
        EXPECT_EQ(iKeyDown(key), 0) << key;

      Button(pads, SDL_CONTROLLER_BUTTON_A, true);
      EXPECT_NE(iKeyDown(c.fire), 0);
      EXPECT_EQ(iKeyDown(kScanEnter) != 0, c.enterWithA);
      Button(pads, SDL_CONTROLLER_BUTTON_A, false);
      EXPECT_EQ(iKeyDown(c.fire), 0);
      EXPECT_EQ(iKeyDown(kScanEnter), 0);
    }
    Settings = TSettings{};
    SaveSettings();
    return true;
  }});
}

// A key stays down while any pad holds it; a pad unplugged lets go of what it held.
TEST_F(GamepadTest, UnpluggingAPadReleasesItsKeys) {
  RunSteps({[&] {
    Button(pads, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    Button(pads, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true, kOtherPad);
    Button(pads, SDL_CONTROLLER_BUTTON_X, true, kOtherPad);  // not mapped
    Button(pads, SDL_CONTROLLER_BUTTON_B, true, kOtherPad);
    EXPECT_NE(iKeyDown(kScanEscape), 0);
    Button(pads, SDL_CONTROLLER_BUTTON_DPAD_LEFT, false, kOtherPad);
    EXPECT_NE(iKeyDown(kScanLeft), 0) << "the first pad still holds left";
    Unplug(pads, kOtherPad);
    EXPECT_EQ(iKeyDown(kScanEscape), 0);
    EXPECT_NE(iKeyDown(kScanLeft), 0);
    Unplug(pads, kPad);
    EXPECT_EQ(iKeyDown(kScanLeft), 0);

    SDL_Event keyboard{};
    keyboard.type = SDL_KEYDOWN;
    EXPECT_FALSE(pads.OnEvent(keyboard));
    return true;
  }});
}

// In the menus: down and A open the options as the cursor keys and Enter would, B closes them.
TEST_F(GamepadTest, TheDpadAAndBWorkTheMenus) {
  RunSteps({[&] {
              Button(pads, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
              Button(pads, SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
              return true;
            },
            [&] {
              Button(pads, SDL_CONTROLLER_BUTTON_A, true);
              Button(pads, SDL_CONTROLLER_BUTTON_A, false);
              return true;
            },
            [&] {
              EXPECT_EQ(AppState, StateOptions);
              Button(pads, SDL_CONTROLLER_BUTTON_B, true);
              Button(pads, SDL_CONTROLLER_BUTTON_B, false);
              return true;
            },
            [&] { return AppState == StateMainMenu; }});
}

}  // namespace

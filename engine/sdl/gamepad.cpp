#include "sdl/gamepad.h"

#include <algorithm>
#include <vector>

#include "core/input_feed.h"
#include "engine/engine.h"

namespace engine::sdl {
namespace {

constexpr int kScanEscape = 1;
constexpr int kScanP = 25;
constexpr int kScanEnter = 28;
constexpr int kScanUp = 200;
constexpr int kScanLeft = 203;
constexpr int kScanRight = 205;
constexpr int kScanDown = 208;

// The stick leans once past half way and comes back once within a quarter, so that a thumb
// resting near the threshold does not flicker the key.
constexpr Sint16 kStickLean = 16384;
constexpr Sint16 kStickBack = 8192;

struct GameKeys {
  int left = kScanLeft;
  int right = kScanRight;
  int fire = 57;
};

GameKeys& BoundKeys() {
  static GameKeys keys;
  return keys;
}

}  // namespace

bool Gamepads::OnEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(event.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      pads_.erase(event.cdevice.which);
      Sync();
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      OnButton(event.cbutton);
      return true;
    case SDL_CONTROLLERAXISMOTION:
      OnAxis(event.caxis);
      return true;
    default:
      return false;
  }
}

void Gamepads::Open(int deviceIndex) {
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (!controller) {
    return;
  }
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  pads_[id].controller.reset(controller);
}

void Gamepads::OnButton(const SDL_ControllerButtonEvent& event) {
  Control control;
  switch (event.button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      control = kLeft;
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      control = kRight;
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      control = kUp;
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      control = kDown;
      break;
    case SDL_CONTROLLER_BUTTON_A:
      control = kFire;
      break;
    case SDL_CONTROLLER_BUTTON_B:
      control = kBack;
      break;
    case SDL_CONTROLLER_BUTTON_START:
      control = kPause;
      break;
    default:
      return;
  }
  pads_[event.which].buttons[control] = event.state == SDL_PRESSED;
  Sync();
}

void Gamepads::OnAxis(const SDL_ControllerAxisEvent& event) {
  if (event.axis != SDL_CONTROLLER_AXIS_LEFTX) {
    return;
  }
  auto& stick = pads_[event.which].stick;
  if (event.value <= -kStickLean) {
    stick[kLeft] = true;
  } else if (event.value > -kStickBack) {
    stick[kLeft] = false;
  }
  if (event.value >= kStickLean) {
    stick[kRight] = true;
  } else if (event.value < kStickBack) {
    stick[kRight] = false;
  }
  Sync();
}

void Gamepads::Sync() {
  std::bitset<kControls> held;
  for (const auto& [id, pad] : pads_) {
    held |= pad.buttons | pad.stick;
  }
  const GameKeys& keys = BoundKeys();
  const std::vector<int> gameKeys = {keys.left, keys.right, keys.fire};
  std::set<int> wanted;
  // A menu key goes with its control unless the game binds it to another of its keys.
  auto add = [&](Control control, int gameKey, int menuKey) {
    if (!held[control]) {
      return;
    }
    if (gameKey != 0) {
      wanted.insert(gameKey);
    }
    if (menuKey == gameKey ||
        std::find(gameKeys.begin(), gameKeys.end(), menuKey) == gameKeys.end()) {
      wanted.insert(menuKey);
    }
  };
  add(kLeft, keys.left, kScanLeft);
  add(kRight, keys.right, kScanRight);
  add(kFire, keys.fire, kScanEnter);
  add(kUp, 0, kScanUp);
  add(kDown, 0, kScanDown);
  add(kBack, 0, kScanEscape);
  add(kPause, 0, kScanP);

  for (auto it = pressed_.begin(); it != pressed_.end();) {
    if (wanted.count(*it) == 0) {
      FeedKeyUp(*it);
      it = pressed_.erase(it);
    } else {
      ++it;
    }
  }
  for (const int key : wanted) {
    if (pressed_.insert(key).second) {
      FeedKeyDown(key);
    }
  }
}

Gamepads& TheGamepads() {
  struct Running {
    Running() : ready(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {}
    ~Running() {
      // The pads close before their subsystem.
      pads.reset();
      if (ready) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
      }
    }
    bool ready;
    std::unique_ptr<Gamepads> pads = std::make_unique<Gamepads>();
  };
  static Running running;
  return *running.pads;
}

}  // namespace engine::sdl

void iGamepadKeys(int32_t left, int32_t right, int32_t fire) {
  engine::sdl::BoundKeys() = {left, right, fire};
}

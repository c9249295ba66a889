#include "program_test.h"

#include "app/app_state.h"
#include "app/engine_loop.h"
#include "app/input_keys.h"
#include "app/run_phase.h"
#include "headless/headless.h"
#include "persist/settings.h"
#include "program_reset.h"

void ProgramTest::SetUp() {
  ResetProgram();
  folder.Activate();
}

void ProgramTest::TearDown() {
  ResetProgram();
}

void ProgramTest::Run(std::function<void(uint64_t)> hook, uint64_t limit) {
  headless::SetPassHook([hook, limit](uint64_t pass) {
    if (pass >= limit) {
      ADD_FAILURE() << "the program was still running after " << limit << " passes";
      PostMessageToGame(WM_CLOSE);
      return;
    }
    hook(pass);
  });
  RunProgram();
}

HWND ProgramTest::GameWindow() {
  return FindWindowA("Game", nullptr);
}

void ProgramTest::PostMessageToGame(UINT message, WPARAM wParam) {
  headless::PostMessage(GameWindow(), message, wParam, 0);
}

bool ProgramTest::MenuReady() {
  return AppState == StateMainMenu && LightLevel >= 200;
}

void ProgramTest::SaveWindowed(uint8_t windowed) {
  Settings.Windowed = windowed;
  SaveSettings();
}

void ProgramTest::RunSteps(std::vector<std::function<bool()>> steps, uint64_t limit) {
  size_t next = 0;
  Run(
      [&](uint64_t) {
        if (next == 0 && !MenuReady())
          return;
        if (next == steps.size()) {
          PostMessageToGame(WM_CLOSE);
          ++next;
        } else if (next < steps.size() && steps[next]()) {
          ++next;
        }
      },
      limit);
  EXPECT_GT(next, steps.size()) << "the steps did not all run";
}

void ProgramTest::PlayUntil(std::function<bool(uint64_t)> inGame, uint64_t limit) {
  bool started = false;
  bool done = false;
  Run(
      [&](uint64_t pass) {
        if (done)
          return;
        if (!started && MenuReady()) {
          started = true;
          headless::TapKey(kScanEnter);
          return;
        }
        if (started && AppState != StateMenuFade && AppState != StateStartGame && inGame(pass)) {
          done = true;
          PostMessageToGame(WM_CLOSE);
        }
      },
      limit);
  EXPECT_TRUE(done) << "the game did not reach its end condition";
}

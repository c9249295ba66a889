// What the program shows and which input it accepts: one byte, changed by direct assignment by
// whoever changes the screen. The upload thread writes it too, hence atomic.
#pragma once

#include <atomic>
#include <cstdint>

enum AppStateValue : uint8_t {
  StatePlaying = 3,
  StateMainMenu = 4,
  StateOptions = 5,
  StateHelp = 7,
  StateBindBossKey = 9,
  StateConfirmExit = 10,
  StateRecords = 11,
  StateConfirmClearRecords = 12,
  StatePaused = 13,
  StateConfirmQuitGame = 15,
  StateStartGame = 16,
  StateRecordEntry = 18,
  StateRecordName = 19,
  StateRecordCountry = 20,
  StateAskUpload = 23,
  StateUploading = 25,
  StateUploadFailed = 26,
  StateBindLeft = 27,
  StateBindRight = 28,
  StateBindFire = 29,
  StateMenuFade = 30,
};

extern std::atomic<uint8_t> AppState;

// The main menu and its animated background are on screen.
extern bool MenuBackgroundOn;

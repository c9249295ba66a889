#include "app/input_keys.h"

#include "app/app_state.h"
#include "app/engine_loop.h"
#include "app/music.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "game/game.h"
#include "menus/exit_menu.h"
#include "menus/help_menu.h"
#include "menus/main_menu.h"
#include "menus/opt_menu.h"
#include "menus/record_input_menu.h"
#include "menus/records_menu.h"
#include "persist/settings.h"

namespace {

// Either key pauses; both are queried so neither press lingers into the next step.
bool PauseKeyClicked() {
  const bool pause = iKeyClick(kScanPause) != 0;
  const bool p = iKeyClick(kScanP) != 0;
  return pause || p;
}

void Pause() {
  AppState = StatePaused;
  iSoundVolumeSet(GameMusic, 0);
  Game->PauseSprite->Show();
}

void Resume() {
  AppState = StatePlaying;
  iSoundVolumeSet(GameMusic, EngineVolume(Settings.MusicVolume));
  Game->PauseSprite->Hide();
}

void AskQuitGame() {
  AppState = StateConfirmQuitGame;
  iSpriteShow(CursorSprite);
  ExitMenu->ShowDialog();
}

// The boss key hides the game: paused first when in play, then minimised (and, in full screen,
// the engine closed until the player comes back). True when it acted.
bool HandleBossKey() {
  const uint8_t expected = static_cast<uint8_t>(
      (Settings.BossShift ? 1 : 0) | (Settings.BossAlt ? 2 : 0) | (Settings.BossCtrl ? 4 : 0));
  const bool clicked = iKeyClick(Settings.BossKey) != 0;
  if (!clicked || ModifierState() != expected)
    return false;
  if (AppState == StateBindBossKey) {
    AppState = StateOptions;
    return false;
  }
  if (AppState == StatePlaying)
    Pause();
  if (Settings.Windowed == 0)
    SuspendToTaskbar = true;
  SendMessageA(FindWindowA(nullptr, "Quasarball"), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  if (Settings.Windowed == 0)
    SetReopenRequest(-1);
  return true;
}

}  // namespace

uint8_t ModifierState() {
  uint8_t state = 0;
  if (iKeyDown(kScanLeftShift) || iKeyDown(kScanRightShift))
    state |= 1;
  if (iKeyDown(kScanLeftAlt) || iKeyDown(kScanRightAlt))
    state |= 2;
  if (iKeyDown(kScanLeftCtrl) || iKeyDown(kScanRightCtrl))
    state |= 4;
  return state;
}

int32_t PressedKey() {
  for (int32_t code = 1; code <= 255; ++code)
    if (iKeyClick(code))
      return code;
  return 0;
}

void HandleKeys() {
  if (HandleBossKey())
    return;

  switch (AppState) {
    case StatePlaying:
      // Both rows are tested: Escape and P in one step end paused with the quit dialog open.
      if (iKeyClick(kScanEscape)) {
        AskQuitGame();
        iSoundVolumeSet(GameMusic, 0);
      }
      if (PauseKeyClicked())
        Pause();
      break;
    case StateMainMenu:
      MainMenu->HandleKeys();
      break;
    case StatePaused:
      if (PauseKeyClicked())
        Resume();
      if (iKeyClick(kScanEscape)) {
        AskQuitGame();
        Game->PauseSprite->Hide();
      }
      break;
    case StateOptions:
      OptMenu->HandleKeys();
      break;
    case StateHelp:
      HelpMenu->HandleKeys();
      break;
    case StateRecords:
      RecordsMenu->HandleKeys();
      break;
    case StateBindLeft:
    case StateBindRight:
    case StateBindFire:
      OptMenu->HandleKeyBinding();
      break;
    case StateBindBossKey:
      OptMenu->HandleBossKeyBinding();
      break;
    case StateConfirmExit:
    case StateConfirmClearRecords:
    case StateConfirmQuitGame:
    case StateAskUpload:
    case StateUploadFailed:
      ExitMenu->HandleKeys();
      break;
    case StateRecordEntry:
    case StateRecordName:
    case StateRecordCountry:
      RecordInputMenu->HandleKeys();
      break;
    default:
      break;
  }
}

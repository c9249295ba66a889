#include "program_reset.h"

#include "app/app_state.h"
#include "app/autoplayer.h"
#include "app/engine_loop.h"
#include "app/input_mouse.h"
#include "app/music.h"
#include "app/random.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "game/game.h"
#include "headless/headless.h"
#include "menus/exit_menu.h"
#include "menus/help_menu.h"
#include "menus/main_menu.h"
#include "menus/opt_menu.h"
#include "menus/records_menu.h"
#include "persist/records.h"
#include "persist/settings.h"

void ResetProgram() {
  headless::Reset();

  Autoplayer.reset();
  Game.reset();
  MainMenu.reset();
  ExitMenu.reset();
  HelpMenu.reset();
  RecordsMenu.reset();
  OptMenu.reset();
  LoadingSprite.reset();
  for (auto& picture : MenuPictures)
    picture.reset();
  GameOverSprite.reset();
  CongratsSprite.reset();
  Initialised = false;

  AppState = StateMainMenu;
  MenuBackgroundOn = false;
  SetReopenRequest(0);
  SuspendToTaskbar = false;
  EngineLive = true;
  ExitAfterWait = false;
  LightLevel = 0;
  FrameFactor = 0;
  MouseButtonClicked = 0;
  OvertimeMark = 0;

  Settings = TSettings{};
  SettingsEdit = Settings;
  Records = DefaultRecords();
  RandSeed(1);
}

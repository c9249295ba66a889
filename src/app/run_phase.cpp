#include "app/run_phase.h"

#include <cmath>
#include <numbers>

#include "app/app_state.h"
#include "app/autoplayer.h"
#include "app/hud.h"
#include "app/input_keys.h"
#include "app/input_mouse.h"
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

long double FrameFactor = 0;
int64_t PreviousCounter = 0;
long double SecondsPerTick = 0;
int32_t LightLevel = 0;
std::array<long double, 8> ButtonFade{};
bool FadeIn = false;
bool ExitAfterFade = false;
long double BackgroundAngle = 0;
long double TimeBlinkPhase = 0;
int32_t ShownSeconds = 0;
int32_t CursorFrame = 1;
uint32_t CursorFrameTick = 0;

namespace {

constexpr long double kStepSeconds = 0.013L;
constexpr long double kFadeFull = 20;
constexpr long double kTwoPi = 2 * std::numbers::pi_v<long double>;
constexpr uint32_t kCursorFrameMs = 50;
constexpr int32_t kCursorFrames = 11;

// The main-menu items whose buttons the fade values belong to, in fade order.
constexpr std::array<int, 8> kFadeItems = {7, 8, 1, 2, 3, 4, 5, 6};

void ApplyButtonAlphas() {
  for (size_t i = 0; i < kFadeItems.size(); ++i) {
    TMeshButton& button = MainMenu->Button(kFadeItems[i]);
    button.Face->SetAlpha(static_cast<float>(ButtonFade[i] / kFadeFull));
    button.Glow->SetAlpha(0);
  }
}

// The menu has faded out and a game begins: the next step builds its first level.
void EnterGameAfterFade() {
  ButtonFade.fill(kFadeFull);
  for (int item = 1; item <= TMainMenu::kItems; ++item) {
    MainMenu->Button(item).Face->SetAlpha(1);
    MainMenu->Button(item).Glow->SetAlpha(0);
  }
  iSpriteHide(CursorSprite);
  MainMenu->HideButtons();
  iPrintsHide();
  AppState = StateStartGame;
  MenuPictures[0]->Hide();
  StopMusic();
  LoadingSprite->Show();
  iRender();
  if (!Game->ResourcesCreated)
    Game->CreateResources();
  ClosePanelsBesideMenu();
  MenuBackgroundOn = false;
}

void RunMenuFade() {
  OptMenu->Frame();
  HelpMenu->Frame();
  RecordsMenu->Frame();
  switch (StepMenuFade(FrameFactor)) {
    case MenuFadeResult::FadeInDone:
      AppState = StateMainMenu;
      break;
    case MenuFadeResult::Running:
      ApplyButtonAlphas();
      break;
    case MenuFadeResult::FadeOutDone:
      if (ExitAfterFade)
        iExit();
      else
        EnterGameAfterFade();
      break;
  }
}

void AnimateCursor() {
  const uint32_t now = GetTickCount();
  if (now - CursorFrameTick <= kCursorFrameMs)
    return;
  CursorFrameTick = now;
  iSpriteTextureReset(CursorSprite);
  CursorFrame = CursorFrame % kCursorFrames + 1;
  iSpriteTextureSet(CursorSprite, CursorTextures[CursorFrame - 1]);
}

void AnimateMenuBackground() {
  BackgroundAngle += 0.02L * FrameFactor;
  if (BackgroundAngle > kTwoPi)
    BackgroundAngle = 0;
  const long double a = BackgroundAngle;
  MenuPictures[1]->SetAlpha(static_cast<float>(std::sin(a)));
  MenuPictures[2]->SetAlpha(
      static_cast<float>(std::sin(a + 4 * std::numbers::pi_v<long double> / 3)));
  MenuPictures[3]->SetAlpha(
      static_cast<float>(std::sin(a + 2 * std::numbers::pi_v<long double> / 3)));
}

bool InGameState(uint8_t state) {
  return state == StatePlaying || state == StatePaused || state == StateConfirmQuitGame;
}

void RunStep() {
  FinishUpload();
  HandleKeys();
  HandleMouseHover();
  HandleMouseClick();
  AnimateCursor();
  if (IsDialogState(AppState) || AppState == StateUploading)
    PrintDialogText();
  if (IsRecordEntryState(AppState))
    RecordInputMenu->Frame();
  if (AppState == StatePlaying)
    Game->Update();
  if (AppState == StateStartGame) {
    Game->StartNextLevel();
    AppState = StatePlaying;
  }
  if (MenuBackgroundOn)
    AnimateMenuBackground();
  OptMenu->Frame();
  HelpMenu->Frame();
  MainMenu->Frame();
  RecordsMenu->Frame();
  if (IsDialogState(AppState))
    ExitMenu->Frame();
  if (InGameState(AppState) && !Game->GameEnded)
    PrintInGameNumbers();
}

}  // namespace

long double MeasureFrameFactor(int64_t counter) {
  long double seconds = static_cast<long double>(counter - PreviousCounter) * SecondsPerTick;
  PreviousCounter = counter;
  if (std::fabs(seconds) > 1 || std::fabs(seconds) < 0.000001L)
    seconds = 0;
  return seconds / kStepSeconds;
}

bool StepLightFade() {
  if (LightLevel <= 0 || LightLevel >= 200)
    return false;
  LightLevel += 1;
  if (LightLevel > 100)
    LightLevel += 1;
  const float level = static_cast<float>(LightLevel) / 100;
  LightColour = {level, level, level, 0.3f};
  iLightDirectionalSet(LightDirection, LightColour);
  return true;
}

MenuFadeResult StepMenuFade(long double frameFactor) {
  if (FadeIn) {
    if (ButtonFade.back() >= kFadeFull)
      return MenuFadeResult::FadeInDone;
    for (auto& value : ButtonFade) {
      if (value < kFadeFull) {
        value += frameFactor;
        break;
      }
    }
    ButtonFade[1] = ButtonFade[0];
    return MenuFadeResult::Running;
  }
  if (ButtonFade.front() <= 0)
    return MenuFadeResult::FadeOutDone;
  for (auto it = ButtonFade.rbegin(); it != ButtonFade.rend(); ++it) {
    if (*it > 0) {
      *it -= 2 * frameFactor;
      break;
    }
  }
  ButtonFade[0] = ButtonFade[1];
  return MenuFadeResult::Running;
}

std::string FormatLevelTime(long double timeLeft, int32_t& seconds) {
  const auto whole = static_cast<int64_t>(std::trunc(std::fabs(timeLeft)));
  const int64_t minutes = whole / 60;
  seconds = static_cast<int32_t>(whole % 60);
  std::string text = timeLeft < 0 ? "-" : "";
  if (minutes < 10)
    text += '0';
  text += std::to_string(minutes);
  text += ':';
  if (seconds < 10)
    text += '0';
  text += std::to_string(seconds);
  return text;
}

void RunPhase() {
  int64_t counter = 0;
  QueryPerformanceCounter(&counter);
  FrameFactor = MeasureFrameFactor(counter);
  if (Autoplayer)
    Autoplayer->Step();

  if (!StepLightFade()) {
    if (AppState == StateMenuFade)
      RunMenuFade();
    else
      RunStep();
  }
  iRender();
}

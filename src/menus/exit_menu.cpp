#include "menus/exit_menu.h"

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/music.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "game/game.h"
#include "menus/main_menu.h"
#include "menus/menu_sound.h"
#include "menus/record_input_menu.h"
#include "menus/records_menu.h"
#include "online/conn_thread.h"
#include "online/scores_service.h"
#include "persist/records.h"
#include "persist/settings.h"

std::unique_ptr<TExitMenu> ExitMenu;

namespace {

constexpr const char* kPack = "data\\Forms.dat";

struct Line {
  const char* text;
  float x, y;
};

void PrintLines(std::initializer_list<Line> lines) {
  for (const Line& line : lines)
    iPrint(line.text, Vec2f{line.x, line.y}, Vec2f{0.7f, 0.7f}, 0.15f, MenuFont);
}

}  // namespace

bool IsDialogState(uint8_t state) {
  return state == StateConfirmExit || state == StateConfirmClearRecords ||
         state == StateConfirmQuitGame || state == StateAskUpload || state == StateUploadFailed;
}

void TExitMenu::CreatePictures() {
  DialogFrame = TMeshSprite::CreateFromPack(kPack, 3, 1001408, 512, 256, 400, 300, 20, true);
  YesButton =
      std::make_unique<TMeshButton>(kPack, 5, 4, 1001404, 1001405, 200, 100, 200, 300, 21, false);
  NoButton =
      std::make_unique<TMeshButton>(kPack, 7, 6, 1001406, 1001407, 200, 100, 400, 300, 21, false);
  YesButton->SetHitMargins(30, 20);
  NoButton->SetHitMargins(30, 20);
}

void TExitMenu::Build() {
  CreatePictures();
  Focus = 1;
}

void TExitMenu::Rebuild() {
  CreatePictures();
}

void TExitMenu::ShowDialog() {
  DialogFrame->Show();
  YesButton->Show();
  NoButton->Show();
}

void TExitMenu::HideDialog() {
  DialogFrame->Hide();
  YesButton->Hide();
  NoButton->Hide();
  if (AppState == StateAskUpload || AppState == StateUploadFailed) {
    HideGameScene();
    for (auto& picture : MenuPictures)
      picture->Show();
  }
}

void TExitMenu::ToggleFocus() {
  Focus = Focus == 1 ? 2 : 1;
  PlayMenuSound(MenuMoveSound);
}

void TExitMenu::Frame() {
  YesButton->Animate();
  NoButton->Animate();
  if (Focus == 1) {
    YesButton->HoverOn();
    NoButton->HoverOff();
  } else {
    NoButton->HoverOn();
    YesButton->HoverOff();
  }
}

void TExitMenu::HandleKeys() {
  for (int32_t arrow : {kScanUp, kScanDown, kScanLeft, kScanRight}) {
    if (iKeyClick(arrow)) {
      ToggleFocus();
      break;
    }
  }
  if (iKeyClick(kScanEnter)) {
    if (Focus == 1)
      Yes();
    else
      No();
  }
  if (iKeyClick(kScanEscape))
    No();
}

void TExitMenu::Hover(int32_t px, int32_t py) {
  const uint8_t before = Focus;
  if (YesButton->HitTest(px, py))
    Focus = 1;
  if (NoButton->HitTest(px, py))
    Focus = 2;
  if (Focus != before)
    PlayMenuSound(MenuMoveSound);
}

void TExitMenu::Click(int32_t px, int32_t py) {
  if (YesButton->HitTest(px, py))
    Yes();
  if (NoButton->HitTest(px, py))
    No();
}

void TExitMenu::Yes() {
  switch (AppState) {
    case StateConfirmExit:
      HideDialog();
      AppState = StateMenuFade;
      ExitAfterFade = true;
      FadeIn = false;
      break;
    case StateConfirmClearRecords:
      ClearRecords();
      break;
    case StateConfirmQuitGame:
      EndGame();
      break;
    case StateAskUpload:
    case StateUploadFailed:
      StartUpload();
      break;
    default:
      break;
  }
}

void TExitMenu::No() {
  switch (AppState) {
    case StateConfirmExit:
      ReturnToMenu();
      break;
    case StateConfirmClearRecords:
      KeepRecords();
      break;
    case StateConfirmQuitGame:
      ResumeGame();
      break;
    case StateAskUpload:
    case StateUploadFailed:
      DeclineUpload();
      break;
    default:
      break;
  }
}

void TExitMenu::ReturnToMenu() {
  iPrintsHide();
  HideDialog();
  MainMenu->ShowButtons();
  AppState = StateMainMenu;
  ClosePanelsBesideMenu();
  PlayMenuSound(MenuSelectSound);
}

void TExitMenu::ResumeGame() {
  iPrintsHide();
  HideDialog();
  AppState = StatePlaying;
  iSpriteHide(CursorSprite);
  iSoundVolumeSet(GameMusic, EngineVolume(Settings.MusicVolume));
  Game->PauseSprite->Hide();
}

void TExitMenu::EndGame() {
  Game->PauseSprite->Hide();
  GameOverSprite->Hide();
  CongratsSprite->Hide();
  if (const int place = PlaceOfNewResult(Game->GetScore()); place > 0) {
    OpenRecordEntry(place);
  } else {
    HideGameScene();
    for (auto& picture : MenuPictures)
      picture->Show();
    Game->ResetGame();
    AppState = StateMainMenu;
    MainMenu->ShowButtons();
    MenuBackgroundOn = true;
    PlayMusic("1");
  }
  HideDialog();
}

void TExitMenu::StartUpload() {
  Connection.reset();
  Connection = std::make_unique<ConnThrd>(
      ScoresServiceUrl(),
      ConnThrd::Result{RecordInputMenu->Name, Game->GetScore(), Settings.Country});
  AppState = StateUploading;
  Connection->Start();
}

void TExitMenu::DeclineUpload() {
  iPrintsHide();
  HideDialog();
  MainMenu->ShowButtons();
  HideGameScene();
  Game->ResetGame();
  MenuBackgroundOn = true;
  PlayMusic("1");
  AppState = StateRecords;
  RecordsMenu->OpenPanel();
}

// The upload's outcome is applied here, between two run steps, never by its thread. After a
// sent result the menu comes back whole, with its music, as after a declined one.
void FinishUpload() {
  if (AppState != StateUploading || !Connection)
    return;
  switch (Connection->Poll()) {
    case ConnThrd::Outcome::Pending:
      return;
    case ConnThrd::Outcome::Failed:
      AppState = StateUploadFailed;
      return;
    case ConnThrd::Outcome::Sent:
      break;
  }
  iPrintsHide();
  ExitMenu->HideDialog();
  MainMenu->ShowButtons();
  HideGameScene();
  Game->ResetGame();
  AppState = StateRecords;
  MainMenu->ShowButtons();
  RecordsMenu->OpenPanel();
  MenuBackgroundOn = true;
  for (auto& picture : MenuPictures)
    picture->Show();
  PlayMusic("1");
}

void TExitMenu::ClearRecords() {
  ResetRecords();
  iPrintsHide();
  HideDialog();
  AppState = StateRecords;
  RecordsMenu->OpenPanel();
  PlayMenuSound(MenuSelectSound);
}

void TExitMenu::KeepRecords() {
  iPrintsHide();
  AppState = StateRecords;
  HideDialog();
  RecordsMenu->OpenPanel();
  PlayMenuSound(MenuSelectSound);
}

void PrintDialogText() {
  iPrintsHide();
  iPrintColorSet(0, 0.5f, 1, 1);
  switch (AppState) {
    case StateConfirmExit:
      PrintLines({{"Exit The Game?", -5.2f, 2.0f}});
      break;
    case StateConfirmQuitGame:
      PrintLines({{"Exit To Menu?", -5.2f, 2.0f}});
      break;
    case StateAskUpload:
      PrintLines({{"Send The result", -5.6f, 3.5f},
                  {"To World's", -3.7f, 2.0f},
                  {"Highscores page?", -5.5f, 0.5f}});
      break;
    case StateConfirmClearRecords:
      PrintLines({{"Do You Want To", -5.2f, 3.5f},
                  {"Clear The High", -5.2f, 2.0f},
                  {"Score Table?", -4.6f, 0.5f}});
      break;
    case StateUploading:
      iPrintColorSet(1, 0, 0, 1);
      PrintLines({{"Please wait...", -5.2f, 2.0f}});
      iPrintColorSet(1, 1, 1, 1);
      break;
    case StateUploadFailed:
      iPrintColorSet(1, 0, 0, 1);
      PrintLines({{"Can't connect", -4.7f, 2.0f}, {"to server! Repeat?", -6.8f, 0.5f}});
      iPrintColorSet(1, 1, 1, 1);
      break;
    default:
      break;
  }
}

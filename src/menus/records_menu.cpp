#include "menus/records_menu.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "menus/exit_menu.h"
#include "menus/main_menu.h"
#include "menus/menu_sound.h"
#include "online/scores_service.h"
#include "persist/settings.h"

std::unique_ptr<TRecordsMenu> RecordsMenu;

namespace {

constexpr const char* kPack = "data\\Forms.dat";

}  // namespace

std::string FormatRecordLine(const TRecord& record) {
  // The name never holds more than its 10-byte field, whatever bytes the file held.
  const std::string name = record.Name.substr(0, 10);
  char line[64];
  std::snprintf(line, sizeof line, "%10s  %6d", name.c_str(), static_cast<int>(record.Score));
  return line;
}

void TRecordsMenu::CreatePictures() {
  FrameSprite = TMeshSprite::CreateFromPack(kPack, 2, 1000002, 500, 400, 320, 120, 2, false);
  Title = TMeshSprite::CreateFromPack(kPack, 40, 1001423, 400, 100, 375, 75, 2, false);
  ClearButton =
      std::make_unique<TMeshButton>(kPack, 21, 20, 1001436, 1001437, 250, 150, 340, 425, 2, false);
  WorldButton =
      std::make_unique<TMeshButton>(kPack, 23, 22, 1001438, 1001439, 250, 150, 565, 425, 2, false);
  ClearButton->SetHitMargins(40, 30);
  WorldButton->SetHitMargins(40, 30);
  FrameSprite->Show();
  Title->Show();
  ClearButton->Show();
  WorldButton->Show();

  Pictures.clear();
  Pictures.push_back(AtHome(*FrameSprite));
  Pictures.push_back(AtHome(*Title));
  AddAtHome(Pictures, *ClearButton);
  AddAtHome(Pictures, *WorldButton);
  PlaceSlid(Pictures, SlideOffset(Slide));
}

void TRecordsMenu::Build() {
  Open = false;
  Slide = 0;
  CreatePictures();
  Focus = 1;
}

void TRecordsMenu::Rebuild() {
  CreatePictures();
}

void TRecordsMenu::OpenPanel() {
  Open = true;
  Slide = 1;
}

void TRecordsMenu::ClosePanel() {
  Open = false;
  if (Slide == 100)
    Slide = 99;
}

void TRecordsMenu::MoveFocus(bool right) {
  if (right && Focus == 1)
    Focus = 2;
  else if (!right && Focus == 2)
    Focus = 1;
  iSoundVolumeSet(MenuMoveSound, EngineVolume(Settings.SoundVolume));
  iSoundPlay(MenuMoveSound, 0);
}

void TRecordsMenu::AskClear() {
  iPrintsHide();
  ClosePanel();
  AppState = StateConfirmClearRecords;
  ExitMenu->Focus = 2;
  ExitMenu->ShowDialog();
  PlayMenuSound(MenuSelectSound);
}

void TRecordsMenu::OpenWorldScores() {
  const std::string page = WorldScoresPage();
  LeaveWindowForShell(page.c_str());
  AppState = StateMainMenu;
}

void TRecordsMenu::Leave() {
  ClosePanel();
  MainMenu->ShowButtons();
  AppState = StateMainMenu;
}

void TRecordsMenu::Frame() {
  if (StepSlide(Open, Slide))
    PlaceSlid(Pictures, SlideOffset(Slide));
  if (AppState != StateRecords)
    return;
  ClearButton->Animate();
  WorldButton->Animate();
  if (Focus == 1) {
    ClearButton->HoverOn();
    WorldButton->HoverOff();
  } else {
    WorldButton->HoverOn();
    ClearButton->HoverOff();
  }
  iPrintsHide();
  iPrintColorSet(0, 0, 1, 1);
  const float x = 3.5f + static_cast<float>(100 - Slide) / 5;
  for (int i = 1; i <= kRecordCount; ++i)
    iPrint(FormatRecordLine(Records[i - 1]).c_str(),
           Vec2f{x, 4.5f - 1.048f * static_cast<float>(i)}, Vec2f{0.4f, 0.4f}, 0.2f, MenuFont);
}

void TRecordsMenu::HandleKeys() {
  if (iKeyClick(kScanRight))
    MoveFocus(true);
  if (iKeyClick(kScanLeft))
    MoveFocus(false);
  if (iKeyClick(kScanEnter)) {
    if (Focus == 1)
      AskClear();
    else
      OpenWorldScores();
  }
  if (iKeyClick(kScanEscape))
    Leave();
}

void TRecordsMenu::Hover(int32_t px, int32_t py) {
  const uint8_t before = Focus;
  if (ClearButton->HitTest(px, py)) {
    Focus = 1;
    ClearButton->HoverOn();
  } else {
    ClearButton->HoverOff();
  }
  if (WorldButton->HitTest(px, py)) {
    Focus = 2;
    WorldButton->HoverOn();
  } else {
    WorldButton->HoverOff();
  }
  if (Focus != before)
    PlayMenuSound(MenuMoveSound);
}

void TRecordsMenu::Click(int32_t px, int32_t py) {
  if (ClearButton->HitTest(px, py))
    AskClear();
  else if (WorldButton->HitTest(px, py))
    OpenWorldScores();
}

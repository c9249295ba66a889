#include "menus/record_input_menu.h"

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/music.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "game/game.h"
#include "menus/exit_menu.h"
#include "menus/main_menu.h"
#include "menus/menu_sound.h"
#include "menus/opt_menu.h"
#include "persist/records.h"
#include "persist/settings.h"

std::unique_ptr<TRecordInputMenu> RecordInputMenu;
int RecordPosition = 0;

namespace {

constexpr const char* kPack = "data\\Forms.dat";
constexpr Vec2f kScale{0.6f, 0.6f};
constexpr float kSpacing = 0.1f;

bool IsLetterKey(int32_t code) {
  return (code >= 16 && code <= 25) || (code >= 30 && code <= 38) || (code >= 44 && code <= 50);
}

void Plain() {
  iPrintColorSet(0, 0.5f, 1, 1);
}

void Highlight() {
  iPrintColorSet(1, 1, 1, 1);
}

void Print(const std::string& text, float x, float y) {
  iPrint(text.c_str(), Vec2f{x, y}, kScale, kSpacing, MenuFont);
}

bool InNameField(long double mx, long double my, long double left) {
  return mx > left && mx < 2.5L && my > -0.3L && my < 0.3L;
}

bool InCountryField(long double mx, long double my, long double left) {
  return mx > left && mx < 2.5L && my > -3.9L && my < -2.3L;
}

}  // namespace

bool IsRecordEntryState(uint8_t state) {
  return state == StateRecordEntry || state == StateRecordName || state == StateRecordCountry;
}

void OpenRecordEntry(int position) {
  RecordPosition = position;
  AppState = StateRecordEntry;
  RecordInputMenu->Country = Settings.Country.substr(0, TRecordInputMenu::kMaxLetters);
  RecordInputMenu->Show();
}

void TRecordInputMenu::CreatePictures() {
  Form = TMeshSprite::CreateFromPack(kPack, 54, 1001911, 500, 400, 150, 120, 19, false);
  OkButton =
      std::make_unique<TMeshButton>(kPack, 49, 48, 1001912, 1001913, 200, 100, 200, 400, 20, false);
  CancelButton =
      std::make_unique<TMeshButton>(kPack, 51, 50, 1001914, 1001915, 200, 100, 400, 400, 20, false);
  CountryLight = TMeshSprite::CreateFromPack(kPack, 46, 1001907, 450, 80, 166, 351, 20, false);
  NameLight = TMeshSprite::CreateFromPack(kPack, 46, 1001907, 450, 80, 165, 264, 20, false);
  OkButton->SetHitMargins(30, 20);
  CancelButton->SetHitMargins(30, 20);
}

void TRecordInputMenu::Build() {
  CreatePictures();
  Focus = 1;
  LastBlink = 0;
  BlinkPeriod = 0.5L;
  CaretOn = true;
}

// A form that was open when the engine reopened comes back as it was.
void TRecordInputMenu::Rebuild() {
  CreatePictures();
  if (IsRecordEntryState(AppState)) {
    Form->Show();
    OkButton->Show();
    CancelButton->Show();
  }
}

void TRecordInputMenu::Show() {
  Form->Show();
  OkButton->Show();
  CancelButton->Show();
  AppState = StateRecordName;
  CaretOn = false;
}

void TRecordInputMenu::Hide() {
  Form->Hide();
  OkButton->Hide();
  CancelButton->Hide();
  NameLight->Hide();
  CountryLight->Hide();
  CongratsSprite->Hide();
}

void TRecordInputMenu::MoveFocus(bool up) {
  if (up && Focus > 1)
    --Focus;
  if (!up && Focus < 4)
    ++Focus;
  AppState = Focus == 1 ? StateRecordName : Focus == 2 ? StateRecordCountry : StateRecordEntry;
}

void TRecordInputMenu::Accept() {
  InsertRecord(RecordPosition, Name, Game->GetScore());
  Settings.Country = Country;
  AppState = StateAskUpload;
  Hide();
  ExitMenu->ShowDialog();
}

void TRecordInputMenu::Cancel() {
  HideGameScene();
  Hide();
  Game->ResetGame();
  AppState = StateMainMenu;
  MainMenu->ShowButtons();
  for (auto& picture : MenuPictures)
    picture->Show();
  MenuBackgroundOn = true;
  PlayMusic("1");
}

// Keys take effect in the order Up, Down, Escape, then the lowest other key pressed.
void TRecordInputMenu::Type(std::string& field) {
  if (iKeyClick(kScanUp)) {
    MoveFocus(true);
    PlayMenuSound(MenuMoveSound);
  }
  if (iKeyClick(kScanDown)) {
    MoveFocus(false);
    PlayMenuSound(MenuMoveSound);
  }
  if (iKeyClick(kScanEscape)) {
    Cancel();
    return;
  }
  const int32_t pressed = PressedKey();
  if (IsLetterKey(pressed) && field.size() < kMaxLetters) {
    const std::string capital = KeyName(static_cast<uint32_t>(pressed));
    const bool shift = (ModifierState() & 1) != 0;
    field += shift ? capital[0] : static_cast<char>(capital[0] + 32);
  }
  if (pressed == kScanBackspace && !field.empty())
    field.pop_back();
  if (pressed == kScanEnter) {
    Focus = AppState == StateRecordName ? 2 : 3;
    AppState = Focus == 2 ? StateRecordCountry : StateRecordEntry;
    CaretOn = false;
  }
}

void TRecordInputMenu::HandleKeys() {
  if (AppState == StateRecordName) {
    Type(Name);
    return;
  }
  if (AppState == StateRecordCountry) {
    Type(Country);
    return;
  }
  if (iKeyClick(kScanEscape)) {
    Cancel();
    return;
  }
  for (const bool up : {true, false}) {
    if (iKeyClick(up ? kScanUp : kScanDown)) {
      MoveFocus(up);
      PlayMenuSound(MenuMoveSound);
    }
  }
  if ((Focus == 4 && iKeyClick(kScanLeft)) || (Focus == 3 && iKeyClick(kScanRight))) {
    MoveFocus(Focus == 4);
    PlayMenuSound(MenuMoveSound);
  }
  if (!iKeyClick(kScanEnter))
    return;
  switch (Focus) {
    case 1:
      AppState = StateRecordName;
      break;
    case 2:
      AppState = StateRecordCountry;
      break;
    case 3:
      Accept();
      break;
    default:
      Cancel();
      break;
  }
}

void TRecordInputMenu::Hover(long double mx, long double my, int32_t px, int32_t py) {
  const uint8_t before = Focus;
  if (InNameField(mx, my, -4)) {
    Focus = 1;
    AppState = StateRecordName;
  }
  if (InCountryField(mx, my, -4)) {
    Focus = 2;
    AppState = StateRecordCountry;
  }
  if (OkButton->HitTest(px, py))
    Focus = 3;
  if (CancelButton->HitTest(px, py))
    Focus = 4;
  if (Focus != before)
    PlayMenuSound(MenuMoveSound);
}

void TRecordInputMenu::Click(long double mx, long double my, int32_t px, int32_t py) {
  if (InNameField(mx, my, -2))
    AppState = StateRecordName;
  if (InCountryField(mx, my, -3.5L))
    AppState = StateRecordCountry;
  if (OkButton->HitTest(px, py)) {
    Accept();
    return;
  }
  if (CancelButton->HitTest(px, py))
    Cancel();
}

void TRecordInputMenu::PrintField(const std::string& field, float y, uint8_t focus,
                                  uint8_t typingState) {
  const float x = -0.3f * static_cast<float>(field.size());
  if (AppState == typingState) {
    Highlight();
    Print(CaretOn ? field + "I" : field, x, y);
  } else {
    if (Focus == focus)
      Highlight();
    else
      Plain();
    Print(field, x, y);
  }
}

void TRecordInputMenu::Frame() {
  if (Focus == 1)
    NameLight->Show();
  else
    NameLight->Hide();
  if (Focus == 2)
    CountryLight->Show();
  else
    CountryLight->Hide();
  if (Focus == 3)
    OkButton->HoverOn();
  else
    OkButton->HoverOff();
  if (Focus == 4)
    CancelButton->HoverOn();
  else
    CancelButton->HoverOff();
  OkButton->Animate();
  CancelButton->Animate();

  if (AppState == StateRecordName || AppState == StateRecordCountry) {
    const long double now = iSystemTimer();
    if (now - LastBlink > BlinkPeriod) {
      LastBlink = now;
      CaretOn = !CaretOn;
    }
  }

  iPrintsHide();
  Plain();
  const int32_t score = Game->GetScore();
  const auto thousands = static_cast<float>(std::to_string(score / 1000).size());
  Print("Your score is " + std::to_string(score), -5.2f - 0.3f * thousands, 4.0f);
  Print("Please enter your name:", -7.5f, 1.5f);
  PrintField(Name, -0.15f, 1, StateRecordName);
  Plain();
  Print("Your country:", -4.0f, -2.0f);
  PrintField(Country, -3.65f, 2, StateRecordCountry);
}

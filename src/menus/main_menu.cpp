#include "menus/main_menu.h"

#include "app/app_state.h"
#include "app/engine_loop.h"
#include "app/music.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "app/web_links.h"
#include "engine/engine.h"
#include "menus/exit_menu.h"
#include "menus/help_menu.h"
#include "menus/menu_sound.h"
#include "menus/opt_menu.h"
#include "menus/records_menu.h"
#include "persist/settings.h"

std::unique_ptr<TMainMenu> MainMenu;

namespace {

constexpr const char* kPack = "data\\MainMenu.dat";

struct ButtonLayout {
  float left, top, width, height;
  uint16_t faceEntry;
  int32_t faceTag;
  uint16_t glowEntry;
  int32_t glowTag;
  float marginX, marginY;
};

// The column of items 1-6 is 40 pixels apart; their clickable bands overlap by 13 pixels, where
// the lower item wins. Items 7 and 8 sit side by side above the column.
constexpr std::array<ButtonLayout, TMainMenu::kItems> kLayout = {{
    {-20, 220, 366, 133, 0, 1000010, 1, 1000016, -20, 40},
    {-20, 260, 366, 133, 2, 1000013, 3, 1000019, -20, 40},
    {-20, 300, 366, 133, 4, 1000012, 5, 1000018, -20, 40},
    {-20, 340, 366, 133, 6, 1000011, 7, 1000017, -20, 40},
    {-20, 380, 366, 133, 8, 1000014, 9, 1000020, -20, 40},
    {-20, 420, 366, 133, 10, 1000015, 11, 1000021, -20, 40},
    {-38, 160, 256, 128, 12, 1001400, 13, 1001402, 70, 30},
    {88, 160, 256, 128, 14, 1001401, 15, 1001403, 70, 30},
}};

constexpr int kScanEscape = 1;
constexpr int kScanEnter = 28;
constexpr int kScanUp = 200;
constexpr int kScanDown = 208;
constexpr int kScanLeft = 203;
constexpr int kScanRight = 205;

}  // namespace

void TMainMenu::CreateButtons() {
  for (size_t i = 0; i < kLayout.size(); ++i) {
    const ButtonLayout& b = kLayout[i];
    Buttons[i] =
        std::make_unique<TMeshButton>(kPack, b.glowEntry, b.faceEntry, b.glowTag, b.faceTag,
                                      b.width, b.height, b.left, b.top, 1, false);
    Buttons[i]->SetHitMargins(b.marginX, b.marginY);
  }
}

void TMainMenu::Build() {
  Current = 1;
  CreateButtons();
}

void TMainMenu::Rebuild() {
  CreateButtons();
}

void TMainMenu::HideButtons() {
  for (auto& button : Buttons)
    button->Hide();
}

void TMainMenu::ShowButtons() {
  for (auto& button : Buttons)
    button->Show();
  if (!iSoundPlaying(MenuMusic))
    PlayMusic("1");
}

void TMainMenu::Redisplay() {
  HideButtons();
  ShowButtons();
}

void TMainMenu::Navigate(bool upOrRight) {
  if (Current == 7) {
    if (upOrRight)
      Current = 8;
  } else if (Current == 8) {
    if (!upOrRight)
      Current = 7;
  } else if (upOrRight) {
    Current = Current > 1 ? Current - 1 : 7;
  } else if (Current <= 5) {
    Current += 1;
  }
  PlayMenuSound(MenuMoveSound);
}

void TMainMenu::Frame() {
  for (auto& button : Buttons)
    button->Animate();
  for (int item = 1; item <= kItems; ++item) {
    if (item == Current)
      Button(item).HoverOn();
    else
      Button(item).HoverOff();
  }
}

void TMainMenu::HandleKeys() {
  if (iKeyClick(kScanUp) && Current <= 6) {
    Navigate(true);
    Redisplay();
  }
  if (iKeyClick(kScanDown)) {
    if (Current > 6) {
      Current = 1;
    } else {
      Navigate(false);
      Redisplay();
    }
  }
  if (iKeyClick(kScanRight) && Current > 6) {
    Navigate(true);
    Redisplay();
  }
  if (iKeyClick(kScanLeft) && Current > 6) {
    Navigate(false);
    Redisplay();
  }
  if (iKeyClick(kScanEnter))
    RunItem(Current);
  if (iKeyClick(kScanEscape))
    AskExit();
}

void TMainMenu::Hover(int32_t px, int32_t py) {
  const uint8_t before = Current;
  for (int item = 1; item <= kItems; ++item)
    if (Button(item).HitTest(px, py))
      Current = static_cast<uint8_t>(item);
  if (Current != before)
    PlayMenuSound(MenuMoveSound);
  Redisplay();
}

bool TMainMenu::Click(int32_t px, int32_t py) {
  for (int item = 1; item <= kItems; ++item) {
    if (Button(item).HitTest(px, py) && item == Current) {
      RunItem(item);
      return true;
    }
  }
  return false;
}

void TMainMenu::RunItem(int item) {
  switch (item) {
    case 1:
      StartGame();
      break;
    case 2:
      ToggleOptions();
      break;
    case 3:
      ToggleRecords();
      break;
    case 4:
      ToggleHelp();
      break;
    case 5:
      OpenWebPage();
      break;
    case 6:
      AskExit();
      break;
    case 7:
      MailFriend();
      break;
    case 8:
      OpenSubscribe();
      break;
    default:
      break;
  }
}

void TMainMenu::StartGame() {
  AppState = StateMenuFade;
  FadeIn = false;
  ExitAfterFade = false;
  PlayMenuSound(MenuSelectSound);
  ClosePanelsBesideMenu();
}

void TMainMenu::ToggleOptions() {
  Redisplay();
  if (OptMenu->Open) {
    OptMenu->ClosePanel();
    AppState = StateMainMenu;
  } else {
    OptMenu->OpenPanel();
    AppState = StateOptions;
    SettingsEdit = Settings;
  }
  if (HelpMenu->Open)
    HelpMenu->ClosePanel();
  if (RecordsMenu->Open)
    RecordsMenu->ClosePanel();
  PlayMenuSound(MenuSelectSound);
}

void TMainMenu::ToggleRecords() {
  Redisplay();
  if (RecordsMenu->Open) {
    RecordsMenu->ClosePanel();
    AppState = StateMainMenu;
  } else {
    RecordsMenu->OpenPanel();
    AppState = StateRecords;
  }
  if (OptMenu->Open)
    OptMenu->ClosePanel();
  if (HelpMenu->Open)
    HelpMenu->ClosePanel();
  PlayMenuSound(MenuSelectSound);
}

void TMainMenu::ToggleHelp() {
  Redisplay();
  if (HelpMenu->Open) {
    HelpMenu->ClosePanel();
    AppState = StateMainMenu;
  } else {
    HelpMenu->OpenPanel();
    AppState = StateHelp;
  }
  if (OptMenu->Open)
    OptMenu->ClosePanel();
  if (RecordsMenu->Open)
    RecordsMenu->ClosePanel();
  PlayMenuSound(MenuSelectSound);
}

void LeaveWindowForShell(const char* target) {
  if (Settings.Windowed == 1) {
    SendMessageA(FindWindowA(nullptr, "Quasarball"), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else {
    SuspendToTaskbar = true;
    SendMessageA(FindWindowA(nullptr, "Quasarball"), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SetReopenRequest(-1);
  }
  ShellExecuteA(nullptr, nullptr, target, nullptr, nullptr, SW_HIDE);
  ClosePanelsBesideMenu();
  // With its panel gone, a panel state would steer the keys at nothing on screen.
  switch (AppState) {
    case StateOptions:
    case StateHelp:
    case StateRecords:
    case StateBindBossKey:
    case StateBindLeft:
    case StateBindRight:
    case StateBindFire:
      AppState = StateMainMenu;
      break;
    default:
      break;
  }
}

void ClosePanelsBesideMenu() {
  if (OptMenu->Open)
    OptMenu->ClosePanel();
  if (HelpMenu->Open)
    HelpMenu->ClosePanel();
  if (RecordsMenu->Open)
    RecordsMenu->ClosePanel();
}

void TMainMenu::OpenWebPage() {
  LeaveWindowForShell(kHomePage);
}
void TMainMenu::MailFriend() {
  LeaveWindowForShell(kRecommendMail);
}
void TMainMenu::OpenSubscribe() {
  LeaveWindowForShell(kSubscribePage);
}

void TMainMenu::AskExit() {
  Redisplay();
  ExitMenu->ShowDialog();
  AppState = StateConfirmExit;
  PlayMenuSound(MenuSelectSound);
}

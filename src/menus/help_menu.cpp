#include "menus/help_menu.h"

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "menus/main_menu.h"
#include "menus/menu_sound.h"
#include "sprites/screen_placement.h"

std::unique_ptr<THelpMenu> HelpMenu;

namespace {

constexpr const char* kPack = "data\\Forms.dat";

struct PageLayout {
  const char* file;
  float width;
  float shiftX;  // the wider pages sit a little left of page 1, page 6 a little right
};

constexpr std::array<PageLayout, THelpMenu::kPages> kPageLayout = {{
    {"data\\Over1.png", 323, 0},
    {"data\\Over2.png", 323, 0},
    {"data\\Over3.png", 323, 0},
    {"data\\Over4.png", 343, -10},
    {"data\\Over5.png", 343, -10},
    {"data\\Over6.png", 333, 5},
}};

}  // namespace

void THelpMenu::CreatePictures() {
  FrameSprite = TMeshSprite::CreateFromPack(kPack, 1, 1000003, 500, 400, 325, 170, 1, false);
  iMeshTextureModeSet(FrameSprite->Mesh, 4);
  Title = TMeshSprite::CreateFromPack(kPack, 41, 1001418, 400, 100, 380, 75, 2, false);
  for (int i = 0; i < kPages; ++i)
    Pages[i] =
        TMeshSprite::Create(kPageLayout[i].file, kPageLayout[i].width, 241, 405, 210, 2, false);
  iMeshTextureModeSet(Pages[0]->Mesh, 4);
  BackButton =
      std::make_unique<TMeshButton>(kPack, 17, 16, 1001419, 1001420, 300, 200, 315, 400, 2, false);
  NextButton =
      std::make_unique<TMeshButton>(kPack, 19, 18, 1001421, 1001422, 300, 200, 540, 400, 2, false);
  BackButton->SetHitMargins(30, 20);
  NextButton->SetHitMargins(30, 20);

  Fixed.clear();
  Fixed.push_back(AtHome(*FrameSprite));
  Fixed.push_back(AtHome(*Title));
  AddAtHome(Fixed, *BackButton);
  AddAtHome(Fixed, *NextButton);
  PageHomeX = Pages[0]->ScreenX();
  PageHomeY = Pages[0]->ScreenY();

  FrameSprite->Show();
  Title->Show();
  BackButton->Show();
  NextButton->Show();
  for (auto& page : Pages)
    page->Hide();
}

void THelpMenu::Place() {
  const float d = SlideOffset(Slide);
  PlaceSlid(Fixed, d);
  for (int i = 0; i < kPages; ++i)
    SetMeshScreenPos(Pages[i]->Mesh, PageHomeX + d + kPageLayout[i].shiftX, PageHomeY);
}

void THelpMenu::Build() {
  Focus = 1;
  PageNo = 1;
  Open = false;
  Slide = 0;
  CreatePictures();
  Place();
}

void THelpMenu::Rebuild() {
  CreatePictures();
  Place();
  if (Open)
    ShowOnlyPage(PageNo);
}

void THelpMenu::ShowOnlyPage(int page) {
  for (auto& picture : Pages)
    picture->Hide();
  Pages[page - 1]->Show();
}

void THelpMenu::OpenPanel() {
  Open = true;
  Slide = 1;
  PageNo = 1;
  ShowOnlyPage(1);
}

void THelpMenu::ClosePanel() {
  Open = false;
  if (Slide == 100)
    Slide = 99;
  for (auto& page : Pages)
    page->Hide();
}

void THelpMenu::TurnPage(bool back) {
  if (back)
    PageNo = PageNo == 1 ? kPages : PageNo - 1;
  else
    PageNo = PageNo == kPages ? 1 : PageNo + 1;
  ShowOnlyPage(PageNo);
  PlayMenuSound(MenuSelectSound);
}

void THelpMenu::Navigate(bool left) {
  if (left) {
    if (Focus == 2)
      Focus = 1;
    else
      TurnPage(true);
  } else {
    if (Focus == 1)
      Focus = 2;
    else
      TurnPage(false);
  }
}

void THelpMenu::Leave() {
  ClosePanel();
  MainMenu->ShowButtons();
  AppState = StateMainMenu;
}

void THelpMenu::Frame() {
  if (StepSlide(Open, Slide))
    Place();
  if (AppState != StateHelp)
    return;
  if (Focus == 1) {
    BackButton->HoverOn();
    NextButton->HoverOff();
  } else {
    NextButton->HoverOn();
    BackButton->HoverOff();
  }
  BackButton->Animate();
  NextButton->Animate();
}

void THelpMenu::HandleKeys() {
  if (iKeyClick(kScanRight))
    Navigate(false);
  if (iKeyClick(kScanLeft))
    Navigate(true);
  if (iKeyClick(kScanEnter))
    TurnPage(Focus == 1);
  if (iKeyClick(kScanEscape))
    Leave();
}

void THelpMenu::Hover(int32_t px, int32_t py) {
  const uint8_t before = Focus;
  if (BackButton->HitTest(px, py)) {
    Focus = 1;
    BackButton->HoverOn();
  } else {
    BackButton->HoverOff();
  }
  if (NextButton->HitTest(px, py)) {
    Focus = 2;
    NextButton->HoverOn();
  } else {
    NextButton->HoverOff();
  }
  if (Focus != before)
    PlayMenuSound(MenuMoveSound);
}

void THelpMenu::Click(int32_t px, int32_t py) {
  if (NextButton->HitTest(px, py))
    TurnPage(false);
  if (BackButton->HitTest(px, py))
    TurnPage(true);
}

#include "menus/opt_menu.h"

#include <algorithm>
#include <cmath>

#include "app/app_state.h"
#include "app/engine_loop.h"
#include "app/input_keys.h"
#include "app/music.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "engine/platform.h"
#include "menus/main_menu.h"
#include "menus/menu_sound.h"
#include "persist/settings.h"
#include "sprites/screen_placement.h"

std::unique_ptr<TOptMenu> OptMenu;

namespace {

constexpr const char* kPack = "data\\OptMenu.dat";

constexpr int32_t kVolumeKeyStep = 4;
constexpr uint32_t kVolumeRepeatMs = 100;
constexpr float kKnobPixelsPerLevel = 2.8f;

bool Held(int32_t a, int32_t b) {
  return iKeyDown(a) != 0 || iKeyDown(b) != 0;
}

// The volume a pointer at screen x stands for on a slider, before clamping.
int32_t SliderLevel(int32_t px) {
  return static_cast<int32_t>(std::trunc((px - 480) / 280.0 * 100));
}

void ApplyMusicVolume() {
  iSoundVolumeSet(MenuMusic, EngineVolume(Settings.MusicVolume));
}

std::unique_ptr<TMeshSprite> Picture(uint16_t entry, int32_t tag, float left, float top,
                                     float width, float height, int32_t priority) {
  return TMeshSprite::CreateFromPack(kPack, entry, tag, width, height, left, top, priority, false);
}

std::unique_ptr<TMeshButton> Button(uint16_t face, int32_t faceTag, uint16_t glow, int32_t glowTag,
                                    float left, float top, float width, float height, float marginX,
                                    float marginY) {
  auto button = std::make_unique<TMeshButton>(kPack, glow, face, glowTag, faceTag, width, height,
                                              left, top, 2, false);
  button->SetHitMargins(marginX, marginY);
  return button;
}

void PrintKeyLine(const std::string& text, float y, float slideShift, bool current) {
  if (current)
    iPrintColorSet(1, 1, 1, 1);
  else
    iPrintColorSet(0, 0.5f, 1, 1);
  const float x = 10.7f - 0.25f * static_cast<float>(text.size()) + slideShift;
  iPrint(text.c_str(), Vec2f{x, y}, Vec2f{0.5f, 0.5f}, 0.1f, MenuFont);
}

std::string ModifierPrefix(bool ctrl, bool alt, bool shift) {
  std::string prefix;
  if (ctrl)
    prefix += "CTRL+";
  if (alt)
    prefix += "ALT+";
  if (shift)
    prefix += "SHIFT+";
  return prefix;
}

}  // namespace

bool IsOptionsState(uint8_t state) {
  return state == StateOptions || state == StateBindLeft || state == StateBindRight ||
         state == StateBindFire || state == StateBindBossKey;
}

std::string KeyName(uint32_t code) {
  static constexpr const char* kTopRow = "QWERTYUIOP";
  static constexpr const char* kHomeRow = "ASDFGHJKL";
  static constexpr const char* kBottomRow = "ZXCVBNM";
  if (code == 1)
    return "ESCAPE";
  if (code >= 2 && code <= 11)
    return std::string(1, static_cast<char>(code == 11 ? '0' : '0' + (code - 1)));
  if (code == 12)
    return "-";
  if (code == 13)
    return "=";
  if (code == 14)
    return "BACKSPACE";
  if (code == 15)
    return "TAB";
  if (code >= 16 && code <= 25)
    return std::string(1, kTopRow[code - 16]);
  if (code == 26)
    return "[";
  if (code == 27)
    return "]";
  if (code >= 30 && code <= 38)
    return std::string(1, kHomeRow[code - 30]);
  if (code >= 44 && code <= 50)
    return std::string(1, kBottomRow[code - 44]);
  if (code == 57)
    return "SPACE";
  if (code >= 59 && code <= 68)
    return "F" + std::to_string(code - 58);
  if (code == 87)
    return "F11";
  if (code == 88)
    return "F12";
  if (code == 203)
    return "<-";
  if (code == 205)
    return "->";
  return "";
}

bool BindableGameKey(int32_t code) {
  return (code >= 16 && code <= 25) || (code >= 30 && code <= 38) || (code >= 44 && code <= 50) ||
         code == 57 || code == 203 || code == 205;
}

bool BindableBossKey(int32_t code) {
  return (code >= 2 && code <= 27) || (code >= 30 && code <= 38) || (code >= 44 && code <= 50) ||
         (code >= 59 && code <= 69) || code == 87 || code == 88;
}

void TOptMenu::CreatePictures() {
  FrameSprite = Picture(0, 1000001, 325, 170, 500, 400, 1);
  Page1Face = Picture(1, 1004070, 330, 170, 500, 400, 1);
  Page2Face = Picture(2, 1004077, 327, 160, 500, 400, 1);
  Title = Picture(9, 1001417, 380, 75, 400, 100, 2);
  Tab1 = Button(10, 1004073, 11, 1004074, 318, 131, 300, 200, 60, 60);
  Tab2 = Button(12, 1004075, 13, 1004076, 528, 131, 300, 200, 60, 60);
  Tab1Marker = Picture(6, 1004084, 318, 131, 300, 200, 2);
  Tab2Marker = Picture(7, 1004085, 528, 131, 300, 200, 2);
  WindowButton = Button(20, 1001410, 21, 1001409, 579, 273, 200, 50, 25, 15);
  FullScreenButton = Button(22, 1001412, 23, 1001411, 514, 273, 200, 50, 30, 20);
  RowLights[0] = Picture(26, 1001904, 351, 260, 450, 80, 2);
  RowLights[1] = Picture(27, 1001905, 292, 346, 450, 80, 2);
  RowLights[2] = Picture(28, 1001906, 302, 392, 450, 80, 2);
  MusicKnob = Picture(24, 1004072, 430, 333, 100, 100, 2);
  MusicKnobLight = Picture(25, 1004071, 430, 333, 100, 100, 2);
  SoundKnob = Picture(24, 1004072, 430, 382, 100, 100, 2);
  SoundKnobLight = Picture(25, 1004071, 430, 382, 100, 100, 2);
  constexpr std::array<std::array<float, 2>, 4> kKeyRowCorners = {
      {{379, 288}, {385, 324}, {367, 355}, {385, 392}}};
  for (int i = 0; i < 4; ++i)
    KeyRowLights[i] = Picture(static_cast<uint16_t>(29 + i), 1004078 + i, kKeyRowCorners[i][0],
                              kKeyRowCorners[i][1], 500, 100, 1);
  DefaultsButton = Button(14, 1004083, 15, 1004082, 417, 391, 300, 200, 60, 60);

  Pictures.clear();
  for (const TMeshSprite* sprite : {FrameSprite.get(), Page1Face.get(), Page2Face.get(),
                                    Title.get(), Tab1Marker.get(), Tab2Marker.get()})
    Pictures.push_back(AtHome(*sprite));
  for (const TMeshButton* button :
       {Tab1.get(), Tab2.get(), WindowButton.get(), FullScreenButton.get(), DefaultsButton.get()})
    AddAtHome(Pictures, *button);
  for (const auto& light : RowLights)
    Pictures.push_back(AtHome(*light));
  for (const auto& light : KeyRowLights)
    Pictures.push_back(AtHome(*light));
  Knobs = {AtHome(*MusicKnob), AtHome(*MusicKnobLight), AtHome(*SoundKnob),
           AtHome(*SoundKnobLight)};

  FrameSprite->Show();
  Title->Show();
  Tab1->Show();
  Tab2->Show();
  for (const auto& light : KeyRowLights)
    light->Hide();
  ShowPage();
  // New pictures come lit; only the cursor's row may be.
  LightRows();
  Place();
}

void TOptMenu::LightRows() {
  for (int i = 0; i < 3; ++i)
    RowLights[i]->SetAlpha(Row == i + 1 ? 1.0f : 0.0f);
  MusicKnobLight->SetAlpha(Row == 2 ? 1.0f : 0.0f);
  SoundKnobLight->SetAlpha(Row == 3 ? 1.0f : 0.0f);
}

void TOptMenu::Place() {
  PlaceSlid(Pictures, SlideOffset(Slide));
  PlaceKnobs();
}

void TOptMenu::PlaceKnobs() {
  const float d = SlideOffset(Slide);
  const float music = d + static_cast<float>(Settings.MusicVolume) * kKnobPixelsPerLevel;
  const float sound = d + static_cast<float>(Settings.SoundVolume) * kKnobPixelsPerLevel;
  PlaceSlid(Knobs[0], music);
  PlaceSlid(Knobs[1], music);
  PlaceSlid(Knobs[2], sound);
  PlaceSlid(Knobs[3], sound);
}

void TOptMenu::Build() {
  Slide = 0;
  Open = false;
  DragMusic = false;
  DragSound = false;
  Page = 1;
  TabFocus = 1;
  CreatePictures();
  Row = 1;
  DisplayChanged = false;
}

void TOptMenu::Rebuild() {
  CreatePictures();
}

void TOptMenu::OpenPanel() {
  Open = true;
  Slide = 1;
}

void TOptMenu::ClosePanel() {
  CommitSettings();
  Open = false;
  if (Slide == 100)
    Slide = 99;
}

void TOptMenu::ShowPage() {
  const bool first = Page == 1;
  for (const TMeshSprite* sprite :
       {Page1Face.get(), RowLights[0].get(), RowLights[1].get(), RowLights[2].get(),
        MusicKnob.get(), MusicKnobLight.get(), SoundKnob.get(), SoundKnobLight.get()}) {
    if (first)
      sprite->Show();
    else
      sprite->Hide();
  }
  if (first) {
    WindowButton->Show();
    FullScreenButton->Show();
    Page2Face->Hide();
    DefaultsButton->Hide();
    for (const auto& light : KeyRowLights)
      light->Hide();
  } else {
    WindowButton->Hide();
    FullScreenButton->Hide();
    Page2Face->Show();
    DefaultsButton->Show();
  }
}

void TOptMenu::MoveRow(bool up) {
  if (Row == kTabRow) {
    if (!up)
      Row = 1;
  } else if (up || Row < (Page == 1 ? 3 : 5)) {
    if (!up)
      Row += 1;
    else
      Row = Row == 1 ? kTabRow : Row - 1;
  }
  iSoundVolumeSet(MenuMoveSound, EngineVolume(Settings.SoundVolume));
  iSoundPlay(MenuMoveSound, 0);
}

void TOptMenu::Frame() {
  if (StepSlide(Open, Slide))
    PlaceSlid(Pictures, SlideOffset(Slide));
  PlaceKnobs();

  if (Row == kTabRow && TabFocus == 1)
    Tab1->HoverOn();
  else
    Tab1->HoverOff();
  if (Row == kTabRow && TabFocus == 2)
    Tab2->HoverOn();
  else
    Tab2->HoverOff();
  if (Page == 1) {
    Tab1Marker->Show();
    Tab2Marker->Hide();
  } else {
    Tab2Marker->Show();
    Tab1Marker->Hide();
  }
  Tab1->Animate();
  Tab2->Animate();

  if (!IsOptionsState(AppState))
    return;
  if (Page == 1) {
    if (SettingsEdit.Windowed == 1)
      WindowButton->HoverOn();
    else
      FullScreenButton->HoverOn();
    WindowButton->Animate();
    FullScreenButton->Animate();
    LightRows();
    return;
  }
  for (int i = 0; i < 4; ++i) {
    if (Row == i + 1)
      KeyRowLights[i]->Show();
    else
      KeyRowLights[i]->Hide();
  }
  if (Row == 5)
    DefaultsButton->HoverOn();
  else
    DefaultsButton->HoverOff();
  DefaultsButton->Animate();
  iPrintsHide();
  PrintKeyLines();
}

void TOptMenu::PrintKeyLines() {
  const float shift = static_cast<float>(100 - Slide) / 5;
  const uint8_t state = AppState;
  std::string boss;
  if (state == StateBindBossKey)
    boss = ModifierPrefix(Held(kScanLeftCtrl, kScanRightCtrl), Held(kScanLeftAlt, kScanRightAlt),
                          Held(kScanLeftShift, kScanRightShift)) +
           "?";
  else
    boss = ModifierPrefix(Settings.BossCtrl != 0, Settings.BossAlt != 0, Settings.BossShift != 0) +
           KeyName(Settings.BossKey);
  PrintKeyLine(boss, -5.55f, shift, Row == 4);
  PrintKeyLine(state == StateBindFire ? "?" : KeyName(Settings.KeyFire), -4.15f, shift, Row == 3);
  PrintKeyLine(state == StateBindRight ? "?" : KeyName(Settings.KeyRight), -2.75f, shift, Row == 2);
  PrintKeyLine(state == StateBindLeft ? "?" : KeyName(Settings.KeyLeft), -1.35f, shift, Row == 1);
}

void TOptMenu::CommitSettings() {
  ::CommitSettings();
  if (AppState != StateStartGame && !iSoundPlaying(MenuMusic))
    PlayMusic("1");
  if (DisplayChanged) {
    AppState = StateMainMenu;
    SendMessageA(FindWindowA(nullptr, "Quasarball"), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SetReopenRequest(-1);
  }
}

void TOptMenu::SaveSettings() {
  ::SaveSettings();
}

void TOptMenu::ToggleWindowed() {
  SettingsEdit.Windowed = SettingsEdit.Windowed == 1 ? 0 : 1;
  DisplayChanged = !DisplayChanged;
  CommitSettings();
}

void TOptMenu::ResetKeys() {
  Settings.BossKey = 88;
  Settings.BossShift = 0;
  Settings.BossAlt = 0;
  Settings.BossCtrl = 0;
  Settings.KeyLeft = 203;
  Settings.KeyRight = 205;
  Settings.KeyFire = 57;
  SaveSettings();
}

void TOptMenu::StepVolume(int32_t& volume, uint32_t& stepTime, int32_t direction, bool music) {
  const uint32_t now = GetTickCount();
  if (now - stepTime <= kVolumeRepeatMs)
    return;
  stepTime = now;
  volume = std::clamp(volume + direction * kVolumeKeyStep, 0, 100);
  SaveSettings();
  if (music)
    ApplyMusicVolume();
}

void TOptMenu::HandleKeys() {
  if (iKeyClick(kScanEscape)) {
    iPrintsHide();
    ClosePanel();
    AppState = StateMainMenu;
    MainMenu->ShowButtons();
  }
  if (iKeyClick(kScanUp))
    MoveRow(true);
  if (iKeyClick(kScanDown))
    MoveRow(false);

  if (Page == 1 && (Row == 2 || Row == 3)) {
    int32_t& volume = Row == 2 ? Settings.MusicVolume : Settings.SoundVolume;
    uint32_t& stepTime = Row == 2 ? MusicStepTime : SoundStepTime;
    if (iKeyDown(kScanLeft))
      StepVolume(volume, stepTime, -1, Row == 2);
    if (iKeyDown(kScanRight))
      StepVolume(volume, stepTime, +1, Row == 2);
  }

  for (const int32_t key : {kScanLeft, kScanRight}) {
    if (!iKeyClick(key))
      continue;
    if (Row == kTabRow) {
      const uint8_t target = key == kScanLeft ? 1 : 2;
      if (Page != target) {
        Page = target;
        TabFocus = Page;
        ShowPage();
        PlayMenuSound(MenuSelectSound);
      }
    } else if (Page == 1 && Row == 1) {
      ToggleWindowed();
      PlayMenuSound(MenuSelectSound);
    }
  }

  if (iKeyClick(kScanEnter)) {
    PlayMenuSound(MenuSelectSound);
    if (Row == kTabRow) {
      Page = TabFocus;
      ShowPage();
    } else if (Page == 1) {
      if (Row == 1)
        ToggleWindowed();
    } else if (Row >= 1 && Row <= 4) {
      constexpr uint8_t kBindStates[] = {StateBindLeft, StateBindRight, StateBindFire,
                                         StateBindBossKey};
      AppState = kBindStates[Row - 1];
    } else if (Row == 5) {
      ResetKeys();
    }
  }
}

void TOptMenu::HandleKeyBinding() {
  if (iKeyClick(kScanEscape)) {
    AppState = StateOptions;
    PlayMenuSound(MenuSelectSound);
    return;
  }
  const int32_t code = PressedKey();
  if (code == 0)
    return;
  PlayMenuSound(MenuSelectSound);
  if (BindableGameKey(code)) {
    const auto key = static_cast<uint16_t>(code);
    if (AppState == StateBindLeft)
      Settings.KeyLeft = key;
    else if (AppState == StateBindRight)
      Settings.KeyRight = key;
    else
      Settings.KeyFire = key;
    AppState = StateOptions;
    SaveSettings();
  } else if (code == kScanEnter) {
    AppState = StateOptions;
  }
}

void TOptMenu::HandleBossKeyBinding() {
  const bool up = iKeyClick(kScanUp) != 0;
  const bool enter = iKeyClick(kScanEnter) != 0;
  const bool escape = iKeyClick(kScanEscape) != 0;
  if (up) {
    AppState = StateOptions;
    if (Row != kTabRow)
      Row = Row == 1 ? kTabRow : Row - 1;
  }
  if (enter || escape)
    AppState = StateOptions;
  if (up || enter || escape)
    return;
  const int32_t code = PressedKey();
  if (!BindableBossKey(code))
    return;
  SettingsEdit.BossKey = static_cast<uint8_t>(code);
  SettingsEdit.BossAlt = Held(kScanLeftAlt, kScanRightAlt) ? 1 : 0;
  SettingsEdit.BossShift = Held(kScanLeftShift, kScanRightShift) ? 1 : 0;
  SettingsEdit.BossCtrl = Held(kScanLeftCtrl, kScanRightCtrl) ? 1 : 0;
  AppState = StateOptions;
  CommitSettings();
  PlayMenuSound(MenuSelectSound);
}

void TOptMenu::SetVolumeFromPointer(int32_t& volume, int32_t px, bool music) {
  volume = std::clamp(SliderLevel(px), 0, 100);
  if (music)
    ApplyMusicVolume();
}

void TOptMenu::Hover(int32_t px, int32_t py) {
  if (iMouseButtonDown(0) == 0) {
    if (DragMusic) {
      SaveSettings();
      DragMusic = false;
    }
    if (DragSound) {
      SaveSettings();
      DragSound = false;
    }
  }
  const uint8_t before = Row;
  if (Tab1->HitTest(px, py) || Tab2->HitTest(px, py)) {
    Row = kTabRow;
    TabFocus = Tab1->HitTest(px, py) ? 1 : 2;
    ShowPage();
    AppState = StateOptions;
  }
  if (Page == 1) {
    for (TMeshButton* button : {WindowButton.get(), FullScreenButton.get()}) {
      if (button->HitTest(px, py)) {
        Row = 1;
        button->HoverOn();
      } else {
        button->HoverOff();
      }
    }
    if (px > 400 && px <= 759) {
      if (py > 260 && py < 315)
        Row = 1;
      else if (py > 360 && py < 390)
        Row = 2;
      else if (py > 395 && py < 435)
        Row = 3;
    }
    // A dragged knob follows the pointer all the way to the ends of its track.
    const int32_t level = px <= 480 ? 0 : px > 759 ? 100 : SliderLevel(px);
    if (DragMusic) {
      Settings.MusicVolume = level;
      ApplyMusicVolume();
    }
    if (DragSound)
      Settings.SoundVolume = level;
  } else {
    if (px >= 391 && px <= 789) {
      if (py > 290 && py < 335)
        Row = 1;
      if (py > 336 && py < 374)
        Row = 2;
      if (py > 375 && py < 415)
        Row = 3;
      if (py > 414 && py < 450)
        Row = 4;
    }
    if (DefaultsButton->HitTest(px, py))
      Row = 5;
  }
  if (Row != before)
    PlayMenuSound(MenuMoveSound);
}

void TOptMenu::Click(int32_t px, int32_t py) {
  for (const uint8_t tab : {1, 2}) {
    if ((tab == 1 ? Tab1 : Tab2)->HitTest(px, py)) {
      Page = tab;
      Row = kTabRow;
      TabFocus = Page;
      ShowPage();
      PlayMenuSound(MenuSelectSound);
    }
  }
  if (Page == 1) {
    if (px > 400 && px < 760 && py > 290 && py < 345) {
      ToggleWindowed();
      PlayMenuSound(MenuSelectSound);
      return;
    }
    if (px > 475 && px < 770 && py > 360 && py < 390) {
      SetVolumeFromPointer(Settings.MusicVolume, px, true);
      SaveSettings();
      DragMusic = true;
    }
    if (px >= 476 && px <= 769 && py >= 396 && py <= 434) {
      SetVolumeFromPointer(Settings.SoundVolume, px, false);
      SaveSettings();
      DragSound = true;
    }
    return;
  }
  if (px >= 391 && px <= 789) {
    // The fire and boss-key bands share y 414; the later one wins.
    if (py > 290 && py < 335)
      AppState = StateBindLeft;
    if (py > 336 && py < 374)
      AppState = StateBindRight;
    if (py > 375 && py < 415)
      AppState = StateBindFire;
    if (py > 414 && py < 450)
      AppState = StateBindBossKey;
  }
  if (DefaultsButton->HitTest(px, py))
    ResetKeys();
}

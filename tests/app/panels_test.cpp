// The options, help and records panels beside the main menu, driven as a player would in the
// running program: their keys and pointer, what they print, and what reaches the settings file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/music.h"
#include "app/startup_scene.h"
#include "headless/headless.h"
#include "menus/exit_menu.h"
#include "menus/help_menu.h"
#include "menus/main_menu.h"
#include "menus/opt_menu.h"
#include "menus/records_menu.h"
#include "online/scores_service.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "program_test.h"

namespace {

using Step = std::function<bool()>;

constexpr int kScanQ = 16;
constexpr int kScanF1 = 59;
constexpr int kScanF5 = 63;

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  for (const auto& view : headless::PrintedTexts())
    texts.push_back(view.text);
  return texts;
}

bool Visible(int32_t mesh) {
  for (const auto& view : headless::VisibleMeshes())
    if (view.handle == mesh)
      return true;
  return false;
}

bool Playing(int32_t sound) {
  for (const auto& view : headless::Sounds())
    if (view.handle == sound)
      return view.playing;
  return false;
}

float Volume(int32_t sound) {
  for (const auto& view : headless::Sounds())
    if (view.handle == sound)
      return view.volume;
  return -1;
}

// Page 2 prints its key lines top to bottom: boss key, fire, right, left.

// Main-menu item `item` chosen with Enter, then the steps wait until its panel is in place.
std::vector<Step> OpenWithKeys(int item) {
  return {[item] {
            MainMenu->Current = static_cast<uint8_t>(item);
            headless::TapKey(kScanEnter);
            return true;
          },
          [item] {
            const int32_t slide = item == 2   ? OptMenu->Slide
                                  : item == 3 ? RecordsMenu->Slide
                                              : HelpMenu->Slide;
            return slide == 100;
          }};
}

std::vector<Step> Then(std::vector<Step> first, const std::vector<Step>& next) {
  first.insert(first.end(), next.begin(), next.end());
  return first;
}

Step Tap(int key) {
  return [key] {
    headless::TapKey(key);
    return true;
  };
}

class PanelsTest : public ProgramTest {
 protected:
  std::vector<uint8_t> SettingsBytes() const { return ReadAll(folder.Data("settings.dat")); }
  std::vector<uint8_t> DefaultSettingsBytes() const {
    const auto bytes = TSettings{}.Serialize();
    return {bytes.begin(), bytes.end()};
  }
};

// Each row: the page, the row before, the key, the row after. The move sound plays every time.
TEST_F(PanelsTest, TheOptionsCursorMovesBetweenTheTabRowAndThePageRows) {
  struct Case {
    uint8_t page, before;
    int key;
    uint8_t after;
  };
  const std::vector<Case> cases = {
      {1, 1, kScanUp, 50},  {1, 50, kScanDown, 1}, {1, 50, kScanUp, 50},
      {1, 2, kScanUp, 1},   {1, 2, kScanDown, 3},  {1, 3, kScanDown, 3},
      {2, 4, kScanDown, 5}, {2, 5, kScanDown, 5},  {2, 5, kScanUp, 4},
  };
  std::vector<Step> steps = OpenWithKeys(2);
  for (const Case& c : cases) {
    steps.push_back([c] {
      headless::AdvanceClock(5);  // the previous move sound has ended
      OptMenu->Page = c.page;
      OptMenu->Row = c.before;
      headless::TapKey(c.key);
      return true;
    });
    steps.push_back([c] {
      EXPECT_EQ(OptMenu->Row, c.after) << "page " << int(c.page) << " row " << int(c.before);
      EXPECT_TRUE(Playing(MenuMoveSound)) << "page " << int(c.page) << " row " << int(c.before);
      return true;
    });
  }
  RunSteps(steps);
}

// Holding an arrow on a volume row steps by 4 at most once per 100 ms; the music follows at once
// and every step is written.
TEST_F(PanelsTest, AHeldArrowStepsTheVolumeAtMostTenTimesASecond) {
  int held = 0;
  int32_t before = 0;
  RunSteps(Then(OpenWithKeys(2), {[&] {
                                    OptMenu->Row = 2;
                                    Settings.MusicVolume = 40;
                                    before = Settings.MusicVolume;
                                    headless::PressKey(kScanRight);
                                    return true;
                                  },
                                  [&] { return ++held == 60; },  // one second at 60 passes a second
                                  [&] {
                                    headless::ReleaseKey(kScanRight);
                                    const int32_t raised = Settings.MusicVolume - before;
                                    EXPECT_LE(raised, 40);
                                    EXPECT_GE(raised, 32);
                                    EXPECT_EQ(raised % 4, 0);
                                    EXPECT_FLOAT_EQ(Volume(MenuMusic),
                                                    EngineVolume(Settings.MusicVolume));
                                    EXPECT_EQ(SettingsBytes()[8], Settings.MusicVolume);
                                    EXPECT_EQ(SettingsEdit.MusicVolume, Settings.MusicVolume);
                                    Settings.MusicVolume = 90;
                                    held = 0;
                                    headless::PressKey(kScanRight);
                                    return true;
                                  },
                                  [&] { return ++held == 60; },
                                  [&] {
                                    headless::ReleaseKey(kScanRight);
                                    EXPECT_EQ(Settings.MusicVolume, 100);
                                    OptMenu->Row = 3;
                                    held = 0;
                                    headless::PressKey(kScanLeft);
                                    return true;
                                  },
                                  [&] { return ++held == 10; },
                                  [&] {
                                    headless::ReleaseKey(kScanLeft);
                                    EXPECT_EQ(Settings.SoundVolume, 92);  // two steps in 10 passes
                                    EXPECT_EQ(SettingsBytes()[4], 92);
                                    return true;
                                  }}));
}

// Each row: the slider's y, the pointer's x, the volume stored.
TEST_F(PanelsTest, AClickOnASliderSetsTheVolumeWhereThePointerIs) {
  struct Case {
    int y, x;
    int32_t volume;
    bool music;
  };
  const std::vector<Case> cases = {
      {415, 476, 0, false}, {415, 620, 50, false}, {415, 769, 100, false},
      {375, 476, 0, true},  {375, 620, 50, true},  {375, 769, 100, true},
  };
  std::vector<Step> steps = OpenWithKeys(2);
  for (const Case& c : cases) {
    steps.push_back([c] {
      headless::MoveMouse(static_cast<float>(c.x), static_cast<float>(c.y));
      headless::ClickMouse(0);
      return true;
    });
    steps.push_back([this, c] {
      const int32_t stored = c.music ? Settings.MusicVolume : Settings.SoundVolume;
      EXPECT_EQ(stored, c.volume) << c.x << "," << c.y;
      EXPECT_EQ(SettingsBytes()[c.music ? 8 : 4], c.volume) << c.x << "," << c.y;
      EXPECT_EQ(OptMenu->Row, c.music ? 2 : 3);
      if (c.music) {
        EXPECT_FLOAT_EQ(Volume(MenuMusic), EngineVolume(c.volume));
      }
      return true;
    });
  }
  RunSteps(steps);
}

// Dragging a knob past the end of its track keeps it at the end; releasing the button saves.
TEST_F(PanelsTest, ADraggedKnobFollowsThePointerAndIsSavedOnRelease) {
  RunSteps(Then(OpenWithKeys(2), {[] {
                                    headless::MoveMouse(620, 375);
                                    headless::PressMouseButton(0);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_TRUE(OptMenu->DragMusic);
                                    headless::MoveMouse(790, 380);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(Settings.MusicVolume, 100);
                                    headless::MoveMouse(300, 380);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(Settings.MusicVolume, 0);
                                    headless::ReleaseMouseButton(0);
                                    headless::MoveMouse(301, 380);
                                    return true;
                                  },
                                  [this] {
                                    EXPECT_FALSE(OptMenu->DragMusic);
                                    EXPECT_EQ(SettingsBytes()[8], 0);
                                    return true;
                                  }}));
}

Step OnPage2Row(uint8_t row) {
  return [row] {
    OptMenu->Page = 2;
    OptMenu->ShowPage();
    OptMenu->Row = row;
    headless::TapKey(kScanEnter);
    return true;
  };
}

TEST_F(PanelsTest, BindingTheLeftKeyIgnoresKeysThatCannotSteerAndStoresALetter) {
  RunSteps(Then(OpenWithKeys(2),
                {OnPage2Row(1),
                 [] {
                   EXPECT_EQ(AppState, StateBindLeft);
                   EXPECT_EQ(Texts(), (std::vector<std::string>{"F12", "SPACE", "->", "?"}));
                   headless::TapKey(kScanF1);
                   return true;
                 },
                 [] {
                   EXPECT_EQ(AppState, StateBindLeft);  // still waiting
                   EXPECT_EQ(Settings.KeyLeft, 203);
                   headless::TapKey(kScanQ);
                   return true;
                 },
                 [this] {
                   EXPECT_EQ(AppState, StateOptions);
                   EXPECT_EQ(Settings.KeyLeft, 16);
                   EXPECT_EQ(Texts(), (std::vector<std::string>{"F12", "SPACE", "->", "Q"}));
                   auto expected = DefaultSettingsBytes();
                   expected[28] = 16;
                   expected[29] = 0;
                   EXPECT_EQ(SettingsBytes(), expected);
                   return true;
                 },
                 OnPage2Row(3),
                 Tap(kScanEnter),  // Enter leaves the binding unchanged
                 [] {
                   EXPECT_EQ(AppState, StateOptions);
                   EXPECT_EQ(Settings.KeyFire, 57);
                   return true;
                 }}));
}

TEST_F(PanelsTest, TheBossKeyIsBoundWithItsModifiersAndPrintedAsOneLine) {
  RunSteps(Then(OpenWithKeys(2), {OnPage2Row(4),
                                  [] {
                                    EXPECT_EQ(AppState, StateBindBossKey);
                                    headless::PressKey(kScanLeftCtrl);
                                    headless::PressKey(kScanLeftAlt);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(AppState, StateBindBossKey);
                                    EXPECT_EQ(Texts()[0], "CTRL+ALT+?");
                                    headless::TapKey(kScanF5);
                                    return true;
                                  },
                                  [this] {
                                    headless::ReleaseKey(kScanLeftAlt);
                                    headless::ReleaseKey(kScanLeftCtrl);
                                    EXPECT_EQ(AppState, StateOptions);
                                    EXPECT_EQ(Texts()[0], "CTRL+ALT+F5");
                                    auto expected = DefaultSettingsBytes();
                                    expected[23] = 63;  // key
                                    expected[24] = 0;   // Shift
                                    expected[25] = 1;   // Alt
                                    expected[26] = 1;   // Ctrl
                                    EXPECT_EQ(SettingsBytes(), expected);
                                    EXPECT_EQ(Settings.BossKey, 63);
                                    return true;
                                  },
                                  OnPage2Row(4),
                                  Tap(kScanUp),  // Up leaves the binding for the row above
                                  [] {
                                    EXPECT_EQ(AppState, StateOptions);
                                    EXPECT_EQ(OptMenu->Row, 3);
                                    EXPECT_EQ(Settings.BossKey, 63);
                                    return true;
                                  }}));
}

TEST_F(PanelsTest, TheDefaultKeysComeBackFromTheDefaultsRow) {
  RunSteps(Then(OpenWithKeys(2),
                {[] {
                   Settings.KeyLeft = 16;
                   Settings.KeyRight = 17;
                   Settings.KeyFire = 18;
                   Settings.BossKey = 2;
                   Settings.BossShift = 1;
                   SaveSettings();
                   return true;
                 },
                 OnPage2Row(5),
                 [this] {
                   EXPECT_EQ(Texts(), (std::vector<std::string>{"F12", "SPACE", "->", "<-"}));
                   EXPECT_EQ(SettingsBytes(), DefaultSettingsBytes());
                   return true;
                 }}));
}

// A code outside the bindable ones, as a damaged or edited file may hold, prints nothing and can
// be rebound.
TEST_F(PanelsTest, AnUnnamedKeyCodeFromTheFilePrintsNothingAndCanBeRebound) {
  RunSteps(Then(OpenWithKeys(2),
                {[] {
                   Settings.KeyLeft = 0x1234;
                   Settings.BossKey = 250;
                   SettingsEdit = Settings;
                   OptMenu->Page = 2;
                   OptMenu->ShowPage();
                   return true;
                 },
                 [] {
                   EXPECT_EQ(Texts(), (std::vector<std::string>{"", "SPACE", "->", ""}));
                   return true;
                 },
                 OnPage2Row(1), Tap(kScanQ),
                 [] {
                   EXPECT_EQ(Settings.KeyLeft, 16);
                   EXPECT_EQ(Texts()[3], "Q");
                   return true;
                 }}));
}

TEST_F(PanelsTest, KeyNamesCoverTheTableAndNothingElse) {
  const std::vector<std::pair<uint32_t, std::string>> cases = {
      {1, "ESCAPE"},     {2, "1"},    {10, "9"},   {11, "0"},   {12, "-"}, {13, "="},
      {14, "BACKSPACE"}, {15, "TAB"}, {16, "Q"},   {25, "P"},   {26, "["}, {27, "]"},
      {28, ""},          {30, "A"},   {38, "L"},   {39, ""},    {44, "Z"}, {50, "M"},
      {57, "SPACE"},     {58, ""},    {59, "F1"},  {68, "F10"}, {69, ""},  {87, "F11"},
      {88, "F12"},       {203, "<-"}, {205, "->"}, {204, ""},   {0, ""},   {65535, ""},
  };
  for (const auto& [code, name] : cases)
    EXPECT_EQ(KeyName(code), name) << code;
}

// Switching the display commits at once, goes back to the main menu state and reopens the
// engine in the other mode; switching back reopens it in a window.
TEST_F(PanelsTest, TheDisplayButtonReopensInTheOtherMode) {
  RunSteps(
      Then(OpenWithKeys(2), {[] {
                               OptMenu->Row = 1;
                               headless::TapKey(kScanEnter);
                               return true;
                             },
                             [this] { return headless::FullScreen() && SettingsBytes()[0] == 0; },
                             [] {
                               EXPECT_EQ(Settings.Windowed, 0);
                               EXPECT_EQ(AppState, StateMainMenu);
                               EXPECT_FALSE(OptMenu->DisplayChanged);
                               EXPECT_TRUE(OptMenu->Open);
                               // The panel stays on screen after the reopen.
                               EXPECT_TRUE(Visible(OptMenu->FrameSprite->Mesh));
                               // Only the cursor's row is lit on the new pictures.
                               for (const auto& mesh : headless::VisibleMeshes()) {
                                 if (mesh.handle == OptMenu->RowLights[0]->Mesh) {
                                   EXPECT_EQ(mesh.alpha, 1.0f);
                                 }
                                 if (mesh.handle == OptMenu->RowLights[1]->Mesh ||
                                     mesh.handle == OptMenu->RowLights[2]->Mesh ||
                                     mesh.handle == OptMenu->MusicKnobLight->Mesh) {
                                   EXPECT_EQ(mesh.alpha, 0.0f);
                                 }
                               }
                               MainMenu->Current = 2;
                               headless::TapKey(kScanEnter);  // closes the panel
                               return true;
                             },
                             [] {
                               EXPECT_FALSE(OptMenu->Open);
                               MainMenu->Current = 2;
                               headless::TapKey(kScanEnter);
                               return true;
                             },
                             [] { return OptMenu->Slide == 100; },
                             [] {
                               OptMenu->Row = 1;
                               headless::TapKey(kScanRight);
                               return true;
                             },
                             [this] { return !headless::FullScreen() && SettingsBytes()[0] == 1; },
                             [this] {
                               EXPECT_EQ(SettingsBytes(), DefaultSettingsBytes());
                               return true;
                             }}));
}

// The settings write fails (the file's place is taken by a folder): the game goes on with the
// values in memory.
TEST_F(PanelsTest, AFailedSettingsWriteKeepsTheGameRunningWithWhatItHas) {
  RunSteps(Then(OpenWithKeys(2), {[this] {
                                    std::filesystem::remove(folder.Data("settings.dat"));
                                    std::filesystem::create_directory(folder.Data("settings.dat"));
                                    headless::MoveMouse(620, 415);
                                    headless::ClickMouse(0);
                                    return true;
                                  },
                                  [this] {
                                    EXPECT_EQ(Settings.SoundVolume, 50);
                                    EXPECT_EQ(AppState, StateOptions);
                                    EXPECT_TRUE(
                                        std::filesystem::is_directory(folder.Data("settings.dat")));
                                    headless::TapKey(kScanEscape);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(AppState, StateMainMenu);
                                    EXPECT_EQ(Settings.SoundVolume, 50);
                                    return true;
                                  }}));
}

// Each panel: the main-menu item that opens it, the state it takes input in, whether it is open.
struct PanelCase {
  int item;
  uint8_t state;
  std::function<bool()> open;
  std::function<int32_t()> slide;
};

std::vector<PanelCase> AllPanels() {
  return {
      {2, StateOptions, [] { return OptMenu->Open; }, [] { return OptMenu->Slide; }},
      {3, StateRecords, [] { return RecordsMenu->Open; }, [] { return RecordsMenu->Slide; }},
      {4, StateHelp, [] { return HelpMenu->Open; }, [] { return HelpMenu->Slide; }},
  };
}

// Every panel slides in over 33 frames, and Escape sends it out again and gives the keys back
// to the main menu.
TEST_F(PanelsTest, EachPanelSlidesInAndEscapeLeavesIt) {
  std::vector<Step> steps;
  for (const PanelCase& panel : AllPanels()) {
    auto frames = std::make_shared<int>(0);
    steps.push_back([panel] {
      MainMenu->Current = static_cast<uint8_t>(panel.item);
      headless::TapKey(kScanEnter);
      return true;
    });
    steps.push_back([panel, frames] {
      EXPECT_EQ(AppState, panel.state) << panel.item;
      EXPECT_TRUE(panel.open()) << panel.item;
      ++*frames;
      return panel.slide() == 100;
    });
    steps.push_back([panel, frames] {
      EXPECT_EQ(*frames, 33) << panel.item;
      headless::TapKey(kScanEscape);
      return true;
    });
    steps.push_back([panel] {
      EXPECT_EQ(AppState, StateMainMenu) << panel.item;
      EXPECT_FALSE(panel.open()) << panel.item;
      return panel.slide() == 0;
    });
    steps.push_back([panel] {
      // The keys reach the main menu again.
      MainMenu->Current = 3;
      headless::TapKey(kScanDown);
      return true;
    });
    steps.push_back([panel] {
      EXPECT_EQ(MainMenu->Current, 4) << panel.item;
      return true;
    });
  }
  RunSteps(steps);
}

// Choosing another main-menu item with the mouse closes the open panel; the options panel is
// committed as it closes.
TEST_F(PanelsTest, AnotherMenuItemClosesTheOpenPanel) {
  RunSteps(Then(OpenWithKeys(2), {[] {
                                    SettingsEdit.SoundVolume = 12;
                                    headless::MoveMouse(100, 370);  // item 3 alone
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(MainMenu->Current, 3);
                                    headless::ClickMouse(0);
                                    return true;
                                  },
                                  [this] {
                                    EXPECT_EQ(AppState, StateRecords);
                                    EXPECT_TRUE(RecordsMenu->Open);
                                    EXPECT_FALSE(OptMenu->Open);
                                    EXPECT_EQ(Settings.SoundVolume, 12);
                                    EXPECT_EQ(SettingsBytes()[4], 12);
                                    headless::MoveMouse(100, 410);  // item 4
                                    return true;
                                  },
                                  [] {
                                    headless::ClickMouse(0);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(AppState, StateHelp);
                                    EXPECT_TRUE(HelpMenu->Open);
                                    EXPECT_FALSE(RecordsMenu->Open);
                                    return true;
                                  }}));
}

int ShownPage() {
  int shown = 0;
  for (int i = 0; i < THelpMenu::kPages; ++i) {
    if (Visible(HelpMenu->Pages[i]->Mesh)) {
      EXPECT_EQ(shown, 0) << "two pages at once";
      shown = i + 1;
    }
  }
  return shown;
}

// Back from page 1 wraps to 6, forward from 6 to 1; the first Right only moves the focus.
TEST_F(PanelsTest, HelpPagesWrapAroundAndEveryOpeningStartsOnPageOne) {
  RunSteps(Then(OpenWithKeys(4), {[] {
                                    EXPECT_EQ(ShownPage(), 1);
                                    HelpMenu->Focus = 1;
                                    headless::TapKey(kScanEnter);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(ShownPage(), 6);
                                    EXPECT_TRUE(Playing(MenuSelectSound));
                                    headless::TapKey(kScanRight);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(HelpMenu->Focus, 2);
                                    EXPECT_EQ(ShownPage(), 6);
                                    headless::TapKey(kScanRight);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(ShownPage(), 1);
                                    headless::TapKey(kScanLeft);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(HelpMenu->Focus, 1);
                                    EXPECT_EQ(ShownPage(), 1);
                                    headless::MoveMouse(690, 500);  // the next-page button
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(HelpMenu->Focus, 2);
                                    headless::ClickMouse(0);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(ShownPage(), 2);
                                    headless::TapKey(kScanEscape);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(ShownPage(), 0);  // the pages go at once
                                    MainMenu->Current = 4;
                                    headless::TapKey(kScanEnter);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(ShownPage(), 1);
                                    return true;
                                  }}));
}

TEST_F(PanelsTest, TheRecordsTablePrintsTenAlignedLines) {
  RunSteps(Then(
      OpenWithKeys(3),
      {[] {
         const auto texts = headless::PrintedTexts();
         EXPECT_EQ(texts.size(), 10u);
         if (texts.size() != 10u)
           return true;
         EXPECT_EQ(texts.front().text, " Anonymous   10000");
         EXPECT_EQ(texts.back().text, " Anonymous    1000");
         for (size_t i = 0; i < texts.size(); ++i) {
           const std::string score = std::to_string(10000 - 1000 * i);
           EXPECT_EQ(texts[i].text, " Anonymous  " + std::string(6 - score.size(), ' ') + score);
           EXPECT_FLOAT_EQ(texts[i].position.x, 3.5f);
           EXPECT_FLOAT_EQ(texts[i].position.y, 4.5f - 1.048f * static_cast<float>(i + 1));
           EXPECT_EQ(texts[i].font, MenuFont);
         }
         Records[0] = {"ABCDEFGHIJ", 1234567};
         Records[1] = {"", 9000};
         Records[2] = {std::string("\x01\xff#", 3), 8000};
         return true;
       },
       [] {
         const auto texts = Texts();
         EXPECT_EQ(texts.size(), 10u);
         if (texts.size() != 10u)
           return true;
         EXPECT_EQ(texts[0], "ABCDEFGHIJ  1234567");
         EXPECT_EQ(texts[1], std::string(10, ' ') + "    9000");
         EXPECT_EQ(texts[2], "       \x01\xff#    8000");
         return true;
       }}));
}

// A damaged records file: a name length past its field and bytes that are not letters. The line
// shows the field's 10 bytes and nothing of the byte after them.
TEST_F(PanelsTest, ARecordNameFromADamagedFileStaysWithinItsField) {
  auto bytes = SerializeRecords(DefaultRecords());
  bytes[0] = 0xFF;
  for (int i = 1; i <= 10; ++i)
    bytes[i] = static_cast<uint8_t>(i == 5 ? 0xE9 : '0' + i % 10);
  bytes[11] = 'Z';
  {
    std::ofstream out(folder.Data("records.dat"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  RunSteps(Then(OpenWithKeys(3), {[] {
                  const auto texts = Texts();
                  EXPECT_FALSE(texts.empty());
                  if (!texts.empty()) {
                    EXPECT_EQ(texts[0],
                              "1234\xe9"
                              "67890   10000");
                  }
                  return true;
                }}));
}

TEST_F(PanelsTest, TheRecordsButtonsTakeTheFocusAndAskBeforeClearing) {
  RunSteps(Then(OpenWithKeys(3), {[] {
                                    RecordsMenu->Focus = 2;
                                    headless::TapKey(kScanRight);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(RecordsMenu->Focus, 2);
                                    EXPECT_TRUE(Playing(MenuMoveSound));
                                    headless::TapKey(kScanLeft);
                                    return true;
                                  },
                                  [this] {
                                    EXPECT_EQ(RecordsMenu->Focus, 1);
                                    Records[0].Score = 99999;
                                    SaveRecords();
                                    headless::TapKey(kScanEnter);
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(AppState, StateConfirmClearRecords);
                                    EXPECT_EQ(ExitMenu->Focus, 2);  // No glows first
                                    EXPECT_FALSE(RecordsMenu->Open);
                                    headless::TapKey(kScanEscape);
                                    return true;
                                  },
                                  [this] {
                                    EXPECT_EQ(AppState, StateRecords);
                                    EXPECT_TRUE(RecordsMenu->Open);
                                    EXPECT_EQ(Records[0].Score, 99999);
                                    EXPECT_EQ(ReadAll(folder.Data("records.dat"))[12],
                                              99999 & 0xFF);
                                    headless::TapKey(kScanEnter);
                                    return true;
                                  },
                                  [] {
                                    ExitMenu->Focus = 1;
                                    headless::TapKey(kScanEnter);  // Yes
                                    return true;
                                  },
                                  [] {
                                    EXPECT_EQ(AppState, StateRecords);
                                    EXPECT_EQ(Records[0].Score, 10000);
                                    return true;
                                  }}));
}

// The browser gets the window: it is minimised until the player brings it back.
TEST_F(PanelsTest, TheWorldTableOpensInTheBrowserFromTheService) {
  bool minimised = false;
  headless::SetIdleHook([&] {
    minimised = true;
    PostMessageToGame(WM_SYSCOMMAND, SC_RESTORE);
  });
  RunSteps(Then(OpenWithKeys(3), {[] {
                                    RecordsMenu->Focus = 2;
                                    headless::TapKey(kScanEnter);
                                    return true;
                                  },
                                  [&] {
                                    EXPECT_TRUE(minimised);
                                    const auto opened = headless::ShellOpened();
                                    EXPECT_EQ(opened.size(), 1u);
                                    if (!opened.empty()) {
                                      EXPECT_EQ(opened.back().file,
                                                "https://quasarball.example.org/cgi/version.pl"
                                                "?prg=Quasarball&show&type=0");
                                      EXPECT_EQ(opened.back().showCommand, 0);
                                    }
                                    EXPECT_EQ(AppState, StateMainMenu);
                                    EXPECT_FALSE(RecordsMenu->Open);
                                    return true;
                                  }}));
}

TEST(ScoresService, TheEnvironmentNamesAServiceOfOnesOwn) {
  struct Case {
    const char* variable;  // nullptr: unset
    std::string url;
  };
  const std::vector<Case> cases = {
      {nullptr, "https://quasarball.example.org"},
      {"", "https://quasarball.example.org"},
      {"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
      {"http://127.0.0.1:8080//", "http://127.0.0.1:8080"},
  };
  for (const Case& c : cases) {
    if (c.variable)
      setenv("QUASARBALL_SCORES_URL", c.variable, 1);
    else
      unsetenv("QUASARBALL_SCORES_URL");
    EXPECT_EQ(ScoresServiceUrl(), c.url);
  }
  setenv("QUASARBALL_SCORES_URL", "http://127.0.0.1:8080/", 1);
  EXPECT_EQ(WorldScoresPage(), "http://127.0.0.1:8080/cgi/version.pl?prg=Quasarball&show&type=0");
  unsetenv("QUASARBALL_SCORES_URL");
}

}  // namespace

// The record-entry form in the running program: how a game's end opens it, typing a name and a
// country, storing the result, and the way back when the player cancels.
#include "menus/record_input_menu.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/app_state.h"
#include "app/input_keys.h"
#include "app/startup_scene.h"
#include "game/game.h"
#include "headless/headless.h"
#include "menus/exit_menu.h"
#include "menus/records_menu.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "program_test.h"
#include "scores_process.h"

namespace {

using Step = std::function<bool()>;

constexpr int kScanA = 30, kScanB = 48, kScanC = 46, kScanU = 22, kScanK = 37, kScanOne = 2;

Step Tap(int key) {
  return [key] {
    headless::TapKey(key);
    return true;
  };
}

// Shift pressed a step before the key (its own press is the lowest key of its step), released
// a step after.
std::vector<Step> ShiftTap(int key) {
  return {[] {
            headless::PressKey(kScanLeftShift);
            return true;
          },
          [key] {
            headless::TapKey(key);
            return true;
          },
          [] {
            headless::ReleaseKey(kScanLeftShift);
            return true;
          }};
}

bool Printed(const std::string& text, float* x = nullptr) {
  for (const auto& view : headless::PrintedTexts()) {
    if (view.text == text) {
      if (x)
        *x = view.position.x;
      return true;
    }
  }
  return false;
}

bool FormShown() {
  for (const auto& view : headless::VisibleMeshes())
    if (view.handle == RecordInputMenu->Form->Mesh)
      return true;
  return false;
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RecordEntryTest : public ProgramTest {
 protected:
  // Plays until the first level runs, gives the game `score` and leaves it through "Exit To
  // Menu?" -> Yes; then runs `steps`, one per pass.
  void EndGameWith(int32_t score, std::vector<Step> steps) {
    std::vector<Step> all = {[score] {
                               Game->SetScore(score);
                               headless::TapKey(kScanEscape);
                               return true;
                             },
                             [] {
                               EXPECT_EQ(AppState, StateConfirmQuitGame);
                               ExitMenu->Focus = 1;
                               headless::TapKey(kScanEnter);
                               return true;
                             }};
    all.insert(all.end(), steps.begin(), steps.end());
    size_t next = 0;
    PlayUntil([&](uint64_t) {
      if (next < all.size() && all[next]())
        ++next;
      return next == all.size();
    });
  }

  // From the end of a game with `score` to the question whether to send it: an empty name, the
  // country as the settings have it, OK.
  void AskUploadThen(int32_t score, const std::vector<Step>& steps) {
    std::vector<Step> all = {Tap(kScanEnter), Tap(kScanEnter), Tap(kScanEnter), [] {
                               EXPECT_EQ(AppState, StateAskUpload);
                               ExitMenu->Focus = 1;
                               return true;
                             }};
    all.insert(all.end(), steps.begin(), steps.end());
    EndGameWith(score, all);
  }

  std::filesystem::path RecordsFile() const { return folder.Path() / "data" / "records.dat"; }
};

TEST_F(RecordEntryTest, ANameAndACountryAreTypedAndTheResultGoesIntoTheTable) {
  std::vector<Step> steps = {[] {
                               EXPECT_EQ(AppState, StateRecordName);
                               EXPECT_TRUE(FormShown());
                               float x = 0;
                               EXPECT_TRUE(Printed("Your score is 12345", &x));
                               EXPECT_FLOAT_EQ(x, -5.8f);  // two digits in 12
                               EXPECT_TRUE(Printed("Please enter your name:"));
                               return true;
                             },
                             Tap(kScanA)};
  for (const Step& step : ShiftTap(kScanB))
    steps.push_back(step);
  steps.push_back(Tap(kScanC));
  steps.push_back(Tap(kScanOne));
  steps.push_back(Tap(kScanSpace));
  steps.push_back([] {
    EXPECT_EQ(RecordInputMenu->Name, "aBc");
    headless::TapKey(kScanEnter);
    return true;
  });
  for (const Step& step : ShiftTap(kScanU))
    steps.push_back(step);
  for (const Step& step : ShiftTap(kScanK))
    steps.push_back(step);
  steps.push_back([] {
    EXPECT_EQ(AppState, StateRecordCountry);
    EXPECT_EQ(RecordInputMenu->Country, "UK");
    headless::TapKey(kScanEnter);
    return true;
  });
  steps.push_back([] {
    EXPECT_EQ(AppState, StateRecordEntry);
    EXPECT_EQ(RecordInputMenu->Focus, 3);
    headless::TapKey(kScanEnter);  // OK
    return true;
  });
  steps.push_back([this] {
    EXPECT_EQ(AppState, StateAskUpload);
    EXPECT_FALSE(FormShown());
    EXPECT_TRUE(Printed("Send The result"));
    EXPECT_EQ(Records[0].Name, "aBc");
    EXPECT_EQ(Records[0].Score, 12345);
    for (int place = 1; place < kRecordCount; ++place)
      EXPECT_EQ(Records[place].Score, 10000 - 1000 * (place - 1)) << place;
    EXPECT_EQ(Settings.Country, "UK");
    const auto saved = SerializeRecords(Records);
    EXPECT_EQ(ReadAll(RecordsFile()), std::vector<uint8_t>(saved.begin(), saved.end()));
    return true;
  });
  EndGameWith(12345, steps);
}

// Ten letters at most, Backspace on an empty field does nothing, and a result at place 10
// replaces the last entry alone.
TEST_F(RecordEntryTest, TheFieldsHoldTenLettersAndTheTenthPlaceReplacesOnlyTheLast) {
  std::vector<Step> steps = {Tap(kScanBackspace)};
  for (int i = 0; i < 11; ++i)
    steps.push_back(Tap(kScanA));
  steps.push_back([] {
    EXPECT_EQ(RecordInputMenu->Name, std::string(10, 'a'));
    headless::TapKey(kScanBackspace);
    return true;
  });
  steps.push_back([] {
    EXPECT_EQ(RecordInputMenu->Name, std::string(9, 'a'));
    headless::TapKey(kScanDown);  // to the country
    return true;
  });
  steps.push_back(Tap(kScanDown));  // to OK
  steps.push_back([] {
    EXPECT_EQ(RecordInputMenu->Focus, 3);
    EXPECT_EQ(AppState, StateRecordEntry);
    headless::TapKey(kScanEnter);
    return true;
  });
  steps.push_back([] {
    EXPECT_EQ(AppState, StateAskUpload);
    EXPECT_EQ(Records[8].Score, 2000);
    EXPECT_EQ(Records[9].Name, std::string(9, 'a'));
    EXPECT_EQ(Records[9].Score, 1500);
    return true;
  });
  EndGameWith(1500, steps);
}

TEST_F(RecordEntryTest, CancelDropsTheResultAndReturnsToTheMainMenu) {
  std::vector<uint8_t> before;
  EndGameWith(50000, {[&] {
                        before = ReadAll(RecordsFile());
                        headless::TapKey(kScanA);
                        return true;
                      },
                      Tap(kScanEscape),
                      [&] {
                        EXPECT_EQ(AppState, StateMainMenu);
                        EXPECT_FALSE(FormShown());
                        EXPECT_EQ(Records[0].Score, 10000);
                        EXPECT_EQ(ReadAll(RecordsFile()), before);
                        EXPECT_EQ(Game->GetScore(), 0);
                        EXPECT_TRUE(MenuBackgroundOn);
                        return true;
                      }});
}

// Game over with a score that enters the table opens the form once the last picture has stood
// for 3 s; the form keeps the name typed earlier in the run.
TEST_F(RecordEntryTest, GameOverWithARecordScoreOpensTheForm) {
  bool ended = false;
  PlayUntil([&](uint64_t) {
    if (!ended) {
      ended = true;
      RecordInputMenu->Name = "Ann";
      Game->SetScore(9500);
      Game->GameEnded = true;
      GameOverSprite->Show();
      return false;
    }
    if (AppState != StateRecordName)
      return false;
    EXPECT_TRUE(FormShown());
    EXPECT_EQ(RecordPosition, 2);
    EXPECT_EQ(RecordInputMenu->Name, "Ann");
    EXPECT_FALSE(Game->GameEnded);
    return true;
  });
}

// Waits, a few milliseconds a pass, until the upload thread has answered.
Step UntilStateIsNot(uint8_t state) {
  return [state] {
    if (AppState != state)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return false;
  };
}

bool PrintedInRed(const std::string& text) {
  for (const auto& view : headless::PrintedTexts())
    if (view.text == text)
      return view.colour.r == 1 && view.colour.g == 0 && view.colour.b == 0;
  return false;
}

TEST_F(RecordEntryTest, YesSendsTheResultAndTheRecordsPanelOpens) {
  scores_test::TempFolder service;
  auto scores =
      scores_test::ScoresProcess::Start(service.File("scores.sqlite"), {}, service.File("log.txt"));
  ASSERT_TRUE(scores);
  setenv("QUASARBALL_SCORES_URL", ("http://127.0.0.1:" + std::to_string(scores->Port())).c_str(),
         1);
  AskUploadThen(20000, {Tap(kScanEnter),
                        [] {
                          EXPECT_EQ(AppState, StateUploading);
                          EXPECT_TRUE(PrintedInRed("Please wait..."));
                          return true;
                        },
                        UntilStateIsNot(StateUploading),
                        [] {
                          EXPECT_EQ(AppState, StateRecords);
                          EXPECT_TRUE(RecordsMenu->Open);
                          EXPECT_TRUE(MenuBackgroundOn);
                          EXPECT_EQ(Game->GetScore(), 0);
                          EXPECT_EQ(Records[0].Score, 20000);
                          return true;
                        }});
  unsetenv("QUASARBALL_SCORES_URL");
}

// A service that cannot be reached: the retry question, a fresh try on Yes, and No (here
// Escape) to the records panel with the table kept.
TEST_F(RecordEntryTest, AFailedUploadAsksAgainAndNoKeepsTheLocalTable) {
  setenv("QUASARBALL_SCORES_URL", "http://127.0.0.1:9", 1);  // the discard port: refused
  AskUploadThen(20000, {Tap(kScanEnter), UntilStateIsNot(StateUploading),
                        [] {
                          EXPECT_EQ(AppState, StateUploadFailed);
                          return true;
                        },
                        [] {
                          EXPECT_TRUE(PrintedInRed("Can't connect"));
                          EXPECT_TRUE(PrintedInRed("to server! Repeat?"));
                          ExitMenu->Focus = 1;
                          headless::TapKey(kScanEnter);
                          return true;
                        },
                        [] {
                          EXPECT_EQ(AppState, StateUploading);
                          return true;
                        },
                        UntilStateIsNot(StateUploading), Tap(kScanEscape),
                        [] {
                          EXPECT_EQ(AppState, StateRecords);
                          EXPECT_TRUE(RecordsMenu->Open);
                          EXPECT_EQ(Records[0].Score, 20000);
                          return true;
                        }});
  unsetenv("QUASARBALL_SCORES_URL");
}

}  // namespace

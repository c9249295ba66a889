// A test that runs the whole program over the headless engine, with the built game data in a
// program folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/platform.h"
#include "temp_program_folder.h"

class ProgramTest : public ::testing::Test {
 protected:
  explicit ProgramTest(TempProgramFolder::Contents contents = TempProgramFolder::Contents::GameData)
      : folder(contents) {}
  void SetUp() override;
  void TearDown() override;

  // Runs the program to its end; `hook` sees every engine pass. A program still running after
  // `limit` passes is closed, and the test fails.
  void Run(std::function<void(uint64_t)> hook, uint64_t limit = 3000);

  // Runs the program through `steps`, one step per engine pass once the menu is ready (a step
  // returning false is run again on the next pass); then closes the window.
  void RunSteps(std::vector<std::function<bool()>> steps, uint64_t limit = 3000);

  // From the ready menu, Enter starts a game; `inGame` runs on each pass once the first level is
  // in play, until it returns true; then the window is closed.
  void PlayUntil(std::function<bool(uint64_t)> inGame, uint64_t limit = 3000);

  static HWND GameWindow();
  static void PostMessageToGame(UINT message, WPARAM wParam = 0);
  // The menu takes input once the light and its buttons have faded in.
  static bool MenuReady();
  // Settings the next start reads.
  static void SaveWindowed(uint8_t windowed);

  TempProgramFolder folder;
};

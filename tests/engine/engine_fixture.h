// A fresh headless engine for each test, with the program's folder in a temporary directory that
// holds the quad model.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "headless/headless.h"

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a file below the program's folder ('/' separated).
  void WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes);
  void WriteFile(const std::string& relative, const std::string& text);

  // Registers the "Game" class (once), creates the hidden window and opens the engine on it,
  // windowed or full screen.
  HWND OpenEngine(bool fullScreen = false);

  // A shown quad mesh placed like the game's screen pictures: width x height pixels with its
  // top-left corner at (left, top).
  int32_t ScreenPicture(float left, float top, float width, float height, int32_t priority);

  std::filesystem::path folder_;
};

// Messages the test window procedure received, in order.
extern std::vector<MSG> receivedMessages;
LRESULT RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

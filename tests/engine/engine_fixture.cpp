#include "engine_fixture.h"

#include <unistd.h>

#include <fstream>

#include "sample_files.h"

std::vector<MSG> receivedMessages;

LRESULT RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  receivedMessages.push_back({window, message, wParam, lParam});
  return DefWindowProcA(window, message, wParam, lParam);
}

void EngineTest::SetUp() {
  headless::Reset();
  receivedMessages.clear();
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "_" + test->name();
  for (char& c : name) {
    if (c == '/') {
      c = '_';
    }
  }
  folder_ = std::filesystem::temp_directory_path() /
            ("qb_engine_" + name + "_" + std::to_string(getpid()));
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_ / "data");
  headless::SetProgramFolder(folder_);
  WriteFile("data/sprite.x", sample::QuadModel());
}

void EngineTest::TearDown() {
  headless::Reset();
  std::filesystem::remove_all(folder_);
}

void EngineTest::WriteFile(const std::string& relative, const std::vector<uint8_t>& bytes) {
  const auto path = folder_ / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void EngineTest::WriteFile(const std::string& relative, const std::string& text) {
  WriteFile(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

HWND EngineTest::OpenEngine(bool fullScreen) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RecordingWindowProc;
  windowClass.lpszClassName = "Game";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "Game", "Quasarball", WS_POPUP | WS_CAPTION | WS_SYSMENU, 112,
                                84, 800, 623, nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(window, nullptr);
  EXPECT_NE(i3ImpactOpen(window, 0), 0);
  const int32_t settings[6] = {0, 0, 800 * 600 * 32, 0, fullScreen ? -1 : 0, -1};
  EXPECT_NE(i3ImpactSettings(settings), 0);
  return window;
}

int32_t EngineTest::ScreenPicture(float left, float top, float width, float height,
                                  int32_t priority) {
  const int32_t mesh = iMeshCreate("data/sprite.x");
  iMeshScaleSet(mesh, {width * 20 / 256, height * 20 / 256, 1});
  iMeshLocationSet(mesh, {(left + width / 2 - 400) / 8, (300 - top - height / 2) / 8, 1});
  iMeshRenderPrioritySet(mesh, priority);
  iMeshShow(mesh);
  return mesh;
}

// The real game on a real X display: started from a program folder of its own, it shows its menu,
// takes the keyboard, and closes cleanly, leaving the default saved files byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "child_process.h"
#include "x_display.h"

namespace e2e {
namespace {

using std::chrono::seconds;

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> DefaultSettings() {
  return {0x01, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58,
          0x00, 0x00, 0x00, 0x00, 0xCB, 0x00, 0xCD, 0x00, 0x39, 0x00, 0x00, 0x00};
}

std::vector<uint8_t> DefaultRecords() {
  std::vector<uint8_t> table;
  for (int i = 0; i < 10; ++i) {
    const std::string name = "Anonymous";
    table.push_back(static_cast<uint8_t>(name.size()));
    table.insert(table.end(), name.begin(), name.end());
    table.insert(table.end(), 10 - name.size() + 1, 0);
    const uint32_t score = 10000 - 1000 * i;
    for (int b = 0; b < 4; ++b)
      table.push_back(static_cast<uint8_t>(score >> (8 * b)));
  }
  return table;
}

// The game as a player installs it: the program with its data and sound beside it, no saved
// files yet.
class GameFolder {
 public:
  GameFolder() {
    path_ = std::filesystem::path(E2E_OUTPUT_DIR) / "game";
    std::filesystem::remove_all(path_);
    const std::filesystem::path built = QB_BUILD_ROOT;
    for (const char* folder : {"data", "sound"}) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(built / folder)) {
        const auto target = path_ / std::filesystem::relative(entry.path(), built);
        if (entry.is_directory()) {
          std::filesystem::create_directories(target);
        } else if (entry.path().filename() != "settings.dat" &&
                   entry.path().filename() != "records.dat") {
          std::filesystem::create_directories(target.parent_path());
          std::filesystem::create_symlink(entry.path(), target);
        }
      }
    }
    // Copied, not linked: the program finds its data beside its own file.
    std::filesystem::copy_file(QB_GAME_PROGRAM, Program());
  }

  std::filesystem::path Program() const { return path_ / "quasarball"; }
  std::filesystem::path Data(const char* name) const { return path_ / "data" / name; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Keys go through XTEST to the focused window, as a keyboard's would: events sent to a window
// directly are marked as synthetic, and SDL ignores those.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(x.Display().empty()) << "Xvfb or the window manager did not start";
    game = ChildProcess::Start(
        {folder.Program().string()},
        {"DISPLAY=" + x.Display(), "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"});
    ASSERT_TRUE(game.has_value());
    window = RunCommand({"xdotool", "search", "--sync", "--name", "^Quasarball$"},
                        {"DISPLAY=" + x.Display()}, kStartTimeout)
                 .value_or("");
    window = window.substr(0, window.find('\n'));
    ASSERT_FALSE(window.empty()) << "the game's window did not appear";
  }

  void TearDown() override {
    if (game)
      game->Stop();
  }

  bool Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    return RunCommand(arguments, {"DISPLAY=" + x.Display()}, kStepTimeout).has_value();
  }

  // Waits until the menu takes keys: the screen is lit, and the light and the buttons have had
  // time to fade in (about 2.5 s and 2 s of game time).
  bool WaitForMenu() {
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
      Screenshot shot;
      if (shot.Take(x.Display(), folder.Path() / "start.png") && Lit(shot)) {
        std::this_thread::sleep_for(seconds(6));
        Screenshot menu;
        return menu.Take(x.Display(), folder.Path() / "menu.png") && Lit(menu);
      }
      std::this_thread::sleep_for(Milliseconds(250));
    }
    return false;
  }

  // How much the middle of the screen, where the dialog opens, changed between two shots: the
  // mean difference of its colour components.
  static double MiddleChange(const Screenshot& a, const Screenshot& b) {
    double sum = 0;
    int count = 0;
    for (int y = kScreenHeight / 2 - 100; y < kScreenHeight / 2 + 100; y += 4) {
      for (int x = kScreenWidth / 2 - 200; x < kScreenWidth / 2 + 200; x += 4) {
        const Rgb p = a.At(x, y);
        const Rgb q = b.At(x, y);
        sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        count += 3;
      }
    }
    return sum / count;
  }

  // Most of the window's middle is not black.
  static bool Lit(const Screenshot& shot) {
    int lit = 0, total = 0;
    for (int y = kScreenHeight / 2 - 200; y < kScreenHeight / 2 + 200; y += 20) {
      for (int x = kScreenWidth / 2 - 300; x < kScreenWidth / 2 + 300; x += 20) {
        const Rgb c = shot.At(x, y);
        lit += c.r + c.g + c.b > 40;
        ++total;
      }
    }
    return lit * 2 > total;
  }

  XServer x{E2E_OUTPUT_DIR};
  GameFolder folder;
  std::optional<ChildProcess> game;
  std::string window;
};

TEST_F(GameTest, ClosingTheWindowEndsTheGameAndLeavesTheDefaultFiles) {
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Xdotool({"key", "alt+F4"}));
  EXPECT_EQ(game->Wait(kStartTimeout), 0);
  EXPECT_EQ(ReadAll(folder.Data("settings.dat")), DefaultSettings());
  EXPECT_EQ(ReadAll(folder.Data("records.dat")), DefaultRecords());
}

// Escape opens "Exit The Game?", Enter answers Yes; the menu fades out and the program ends.
// The menu takes keys only once the start-up light has faded in, which takes a number of frames
// rather than a time: Escape is pressed again when no dialog follows within five seconds.
TEST_F(GameTest, TheExitDialogEndsTheGameFromTheKeyboard) {
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  // The menu as it stands still once the light has faded in: two shots half a second apart
  // agree.
  Screenshot menu, next;
  bool still = false;
  for (int attempt = 0; attempt < 60 && !still; ++attempt) {
    ASSERT_TRUE(menu.Take(x.Display(), folder.Path() / "menu.png"));
    std::this_thread::sleep_for(Milliseconds(500));
    ASSERT_TRUE(next.Take(x.Display(), folder.Path() / "next.png"));
    still = MiddleChange(menu, next) <= 5;
  }
  ASSERT_TRUE(still) << "the menu never stood still";
  bool asked = false;
  for (int press = 0; press < 10 && !asked; ++press) {
    ASSERT_TRUE(Xdotool({"key", "Escape"}));
    for (int look = 0; look < 10 && !asked; ++look) {
      std::this_thread::sleep_for(Milliseconds(500));
      Screenshot now;
      ASSERT_TRUE(now.Take(x.Display(), folder.Path() / "dialog.png"));
      asked = MiddleChange(menu, now) > 20;
    }
  }
  ASSERT_TRUE(asked) << "the exit dialog did not open";
  ASSERT_TRUE(Xdotool({"key", "Return"}));
  EXPECT_EQ(game->Wait(kStartTimeout), 0);
  EXPECT_EQ(ReadAll(folder.Data("settings.dat")), DefaultSettings());
}

}  // namespace
}  // namespace e2e

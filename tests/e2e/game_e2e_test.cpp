// The real game on a real X display: started from a program folder of its own, it shows its menu,
// takes the keyboard, and closes cleanly, leaving the default saved files byte for byte.
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "child_process.h"
#include "scores_process.h"
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
    // One folder a test, as ctest runs them side by side.
    path_ =
        std::filesystem::path(E2E_OUTPUT_DIR) /
        (std::string("game-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
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
    Launch();
  }

  void Launch(const std::vector<std::string>& environment = {}) {
    std::vector<std::string> all = {"DISPLAY=" + x.Display(), "SDL_AUDIODRIVER=dummy",
                                    "ASAN_OPTIONS=detect_leaks=0"};
    all.insert(all.end(), environment.begin(), environment.end());
    game = ChildProcess::Start({Program().string()}, all);
    ASSERT_TRUE(game.has_value());
    window = FindWindow();
    ASSERT_FALSE(window.empty()) << "the game's window did not appear";
  }

  virtual std::filesystem::path Program() const { return folder.Program(); }

  std::string FindWindow() {
    const std::string found = RunCommand({"xdotool", "search", "--sync", "--name", "^Quasarball$"},
                                         {"DISPLAY=" + x.Display()}, kStartTimeout)
                                  .value_or("");
    return found.substr(0, found.find('\n'));
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

  // Where the window's top-left pixel is on the screen: the pointer put there tells.
  std::optional<std::pair<int, int>> ClientOrigin() {
    if (!Xdotool({"mousemove", "--sync", "--window", window, "0", "0"})) {
      return std::nullopt;
    }
    const std::string where = RunCommand({"xdotool", "getmouselocation", "--shell"},
                                         {"DISPLAY=" + x.Display()}, kStepTimeout)
                                  .value_or("");
    const auto xAt = where.find("X="), yAt = where.find("Y=");
    if (xAt == std::string::npos || yAt == std::string::npos) {
      return std::nullopt;
    }
    return std::pair{std::atoi(where.c_str() + xAt + 2), std::atoi(where.c_str() + yAt + 2)};
  }

  // A key as a player types it, then a moment for the game to draw the answer.
  bool Key(const std::string& name) {
    const bool sent = Xdotool({"key", "--delay", "120", name});
    std::this_thread::sleep_for(Milliseconds(400));
    return sent;
  }

  // The top-left corner of the game's 800 x 600 screen on the X screen: the window's content in
  // a window, the letterboxed middle in full screen.
  struct Origin {
    int x = 0, y = 0;
  };
  std::optional<Origin> ContentOrigin() {
    const auto geometry = RunCommand({"xdotool", "getwindowgeometry", "--shell", window},
                                     {"DISPLAY=" + x.Display()}, kStepTimeout);
    if (!geometry)
      return std::nullopt;
    Origin origin;
    int width = 0, height = 0;
    std::istringstream lines(*geometry);
    for (std::string line; std::getline(lines, line);) {
      const auto equals = line.find('=');
      if (equals == std::string::npos)
        continue;
      const std::string name = line.substr(0, equals);
      const int value = std::atoi(line.c_str() + equals + 1);
      if (name == "X")
        origin.x = value;
      else if (name == "Y")
        origin.y = value;
      else if (name == "WIDTH")
        width = value;
      else if (name == "HEIGHT")
        height = value;
    }
    origin.x += (width - 800) / 2;
    origin.y += (height - 600) / 2;
    return origin;
  }

  // Keeps a picture of what the player sees in the build folder.
  bool Keep(const std::string& name, Screenshot& shot) {
    return shot.Take(x.Display(), std::filesystem::path(E2E_OUTPUT_DIR) / (name + ".png"));
  }

  // The mean x of the bright pixels of the paddle's upper half and the ball on it.
  static std::optional<double> PaddleX(const Screenshot& shot, Origin origin) {
    double sum = 0;
    int count = 0;
    for (int y = origin.y + 528; y < origin.y + 552; ++y) {  // above the speed and shots plate
      for (int x = origin.x + 8; x < origin.x + 792; ++x) {
        const Rgb c = shot.At(x, y);
        if (c.r + c.g + c.b > 450) {
          sum += x - origin.x;
          ++count;
        }
      }
    }
    if (count < 20)
      return std::nullopt;
    return sum / count;
  }

  // Mean colour difference of two shots over a rectangle of the game's screen.
  static double Change(const Screenshot& a, const Screenshot& b, Origin o, int left, int top,
                       int width, int height) {
    double sum = 0;
    int count = 0;
    for (int y = o.y + top; y < o.y + top + height; y += 3) {
      for (int x = o.x + left; x < o.x + left + width; x += 3) {
        const Rgb p = a.At(x, y);
        const Rgb q = b.At(x, y);
        sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
        count += 3;
      }
    }
    return count ? sum / count : 0;
  }

  // Mean brightness of a rectangle of the X screen.
  static double Brightness(const Screenshot& shot, int left, int top, int width, int height) {
    double sum = 0;
    int count = 0;
    for (int y = top; y < top + height; y += 4) {
      for (int x = left; x < left + width; x += 4) {
        const Rgb c = shot.At(x, y);
        sum += c.r + c.g + c.b;
        ++count;
      }
    }
    return count ? sum / count : 0;
  }

  // Waits until the menu takes keys: the light and then the buttons fade in over a number of
  // frames rather than a time, so on a busy machine this takes longer. Once the menu takes keys
  // its current item, the first, glows: its button is then much brighter than the second.
  bool WaitForMenuKeys() {
    if (!WaitForMenu())
      return false;
    const auto origin = ContentOrigin();
    if (!origin)
      return false;
    // Finding the origin left the pointer over the window; a motion event that reaches a slow
    // game late would hover an item and take the focus back from the keys the test types.
    if (!Xdotool({"mousemove", "--sync", "0", "0"}))
      return false;
    for (int attempt = 0; attempt < 120; ++attempt) {
      Screenshot menu;
      if (!menu.Take(x.Display(), folder.Path() / "menu.png"))
        return false;
      const double first = Brightness(menu, origin->x + 40, origin->y + 270, 260, 25);
      const double second = Brightness(menu, origin->x + 40, origin->y + 310, 260, 25);
      if (first > second + 60)
        return true;
      std::this_thread::sleep_for(Milliseconds(500));
    }
    return false;
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

// The start-up light fades in on screen, and a player who presses Enter once, seven seconds after
// the window appeared, is in level 1: the menu's buttons are gone. (A build under the sanitizers
// can take seconds to load its pictures before the fade begins; its seven seconds count from a
// second before the fade.)
TEST_F(GameTest, TheLightFadesInAndEnterStartsTheGameSevenSecondsAfterTheWindowAppears) {
  using Clock = std::chrono::steady_clock;
  const auto appeared = Clock::now();
  std::vector<std::pair<Clock::time_point, double>> light;
  // Lit after being dim (the loading picture before the menu is lit too), and the same for the
  // last second and a half.
  auto settled = [&] {
    if (light.size() < 3 || light.back().second < 30)
      return false;
    if (std::none_of(light.begin(), light.end(),
                     [&](const auto& l) { return l.second < 0.25 * light.back().second; }))
      return false;
    for (auto it = light.rbegin(); it != light.rend(); ++it) {
      if (std::abs(it->second - light.back().second) > 0.03 * light.back().second)
        return false;
      if (light.back().first - it->first > Milliseconds(1500))
        return true;
    }
    return false;
  };
  while (!settled() && Clock::now() - appeared < kStartTimeout) {
    Screenshot shot;
    ASSERT_TRUE(shot.Take(x.Display(), folder.Path() / "fade.bmp"));  // quicker to write
    light.emplace_back(Clock::now(),
                       Brightness(shot, kScreenWidth / 2 - 300, kScreenHeight / 2 - 200, 600, 400));
  }
  ASSERT_TRUE(settled()) << "the menu never lit up";
  const double full = light.back().second;
  std::string seen;
  int between = 0;
  auto fadeBegan = light.back().first;
  for (auto it = light.rbegin(); it != light.rend(); ++it) {
    if (it->second > 0.1 * full)
      fadeBegan = it->first;
    between += it->second > 0.1 * full && it->second < 0.9 * full;
  }
  for (const auto& [when, l] : light) {
    seen += ' ';  // appended, not concatenated: GCC 12 at -O3 sees a false overlap in " " + s
    seen += std::to_string(static_cast<int>(l));
  }
  EXPECT_GE(between, 2) << "the fade from dark was not seen:" << seen;

  const auto origin = ClientOrigin();
  ASSERT_TRUE(origin.has_value());
  const auto [left, top] = *origin;
  std::this_thread::sleep_until(std::max(appeared, fadeBegan - seconds(1)) + seconds(7));
  Screenshot menu;
  ASSERT_TRUE(menu.Take(x.Display(), folder.Path() / "menu.png"));
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Xdotool({"key", "Return"}));
  std::this_thread::sleep_for(seconds(5));
  Screenshot play;
  ASSERT_TRUE(play.Take(x.Display(), folder.Path() / "play.png"));
  // START GAME .. HELP on the left of the menu.
  const double before = Brightness(menu, left + 60, top + 276, 200, 140);
  const double after = Brightness(play, left + 60, top + 276, 200, 140);
  EXPECT_GT(std::abs(before - after), 40) << "still the menu: " << before << " vs " << after;
}

// A desktop session ending, systemctl or kill: the game ends at once, its files intact. (The
// bound leaves room for a loaded machine; a pass that slept for seconds took far longer.)
TEST_F(GameTest, SigtermDuringPlayEndsTheGameAtOnce) {
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Xdotool({"key", "Return"}));
  std::this_thread::sleep_for(seconds(4));
  game->Signal(SIGTERM);
  EXPECT_EQ(game->Wait(seconds(3)), 0);
  EXPECT_EQ(ReadAll(folder.Data("settings.dat")), DefaultSettings());
  EXPECT_EQ(ReadAll(folder.Data("records.dat")), DefaultRecords());
}

// A tablet, a touch screen, a virtual machine's or a remote desktop's pointer jumps to where the
// hand is rather than moving by steps: such jumps hover the menu and steer the paddle.
TEST_F(GameTest, AbsolutePointerJumpsHoverTheMenuAndSteerThePaddle) {
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  const auto origin = ClientOrigin();
  ASSERT_TRUE(origin.has_value());
  const auto [left, top] = *origin;
  auto jump = [&](int x, int y) {
    return Xdotool({"mousemove", std::to_string(left + x), std::to_string(top + y)});
  };
  constexpr int kStartY = 286, kHighScoresY = 366;  // button middles
  auto buttonLight = [&](const Screenshot& shot, int y) {
    return Brightness(shot, left + 60, top + y - 8, 200, 16);
  };

  ASSERT_TRUE(jump(500, 300));
  std::this_thread::sleep_for(Milliseconds(500));
  Screenshot before;
  ASSERT_TRUE(before.Take(x.Display(), folder.Path() / "hover-before.png"));
  ASSERT_TRUE(jump(160, kHighScoresY));
  // The glow moves over 20 frames; a slow build takes longer to show it.
  bool moved = false;
  for (int look = 0; look < 20 && !moved; ++look) {
    std::this_thread::sleep_for(Milliseconds(400));
    Screenshot hovered;
    ASSERT_TRUE(hovered.Take(x.Display(), folder.Path() / "hover.png"));
    moved = buttonLight(hovered, kHighScoresY) > buttonLight(before, kHighScoresY) + 20 &&
            buttonLight(hovered, kStartY) < buttonLight(before, kStartY) - 20;
  }
  EXPECT_TRUE(moved) << "the glow did not follow the pointer to HIGH SCORES";

  ASSERT_TRUE(jump(160, kStartY));
  std::this_thread::sleep_for(Milliseconds(300));
  ASSERT_TRUE(Xdotool({"key", "Return"}));
  std::this_thread::sleep_for(seconds(5));  // the level's loading picture, the paddle slides in

  // The paddle's middle: where the bright pixels of its rows are.
  auto paddleX = [&](const char* name) -> double {
    Screenshot shot;
    if (!shot.Take(x.Display(), folder.Path() / name)) {
      return -1;
    }
    double sum = 0;
    int count = 0;
    for (int y = top + 540; y < top + 570; ++y) {
      for (int x = left; x < left + 800; ++x) {
        const Rgb c = shot.At(x, y);
        if (c.r + c.g + c.b > 360) {
          sum += x - left;
          ++count;
        }
      }
    }
    return count > 40 ? sum / count : -1;
  };
  const double start = paddleX("steer-start.png");
  ASSERT_GT(start, 0) << "no paddle found";
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(jump(100 + i % 2, 300));
    std::this_thread::sleep_for(Milliseconds(30));
  }
  const double leftmost = paddleX("steer-left.png");
  EXPECT_LT(leftmost, start - 100);
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(jump(700 + i % 2, 300));
    std::this_thread::sleep_for(Milliseconds(30));
  }
  EXPECT_GT(paddleX("steer-right.png"), leftmost + 100);
}

// Options: to full screen (letterboxed on the wide screen) and back to an 800 x 600 window; the
// choice is in the settings file at once.
TEST_F(GameTest, TheOptionsSwitchToFullScreenAndBack) {
  ASSERT_TRUE(WaitForMenuKeys());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Key("Down"));
  ASSERT_TRUE(Key("Return"));  // options
  std::this_thread::sleep_for(seconds(1));
  Screenshot options;
  ASSERT_TRUE(Keep("panel-options", options));
  ASSERT_TRUE(Key("Return"));  // the display row: full screen
  bool full = false;
  for (int look = 0; look < 40 && !full; ++look) {
    std::this_thread::sleep_for(Milliseconds(250));
    full = ReadAll(folder.Data("settings.dat"))[0] == 0;
  }
  ASSERT_TRUE(full) << "the full-screen choice was not saved";
  std::this_thread::sleep_for(seconds(4));
  window = FindWindow();
  ASSERT_FALSE(window.empty());
  Screenshot letterboxed;
  ASSERT_TRUE(Keep("panel-options-full-screen", letterboxed));
  // 800 x 600 scaled to 960 x 720 in the middle of 1280 x 720: black bars left and right.
  EXPECT_LT(Brightness(letterboxed, 0, 0, 150, kScreenHeight), 5);
  EXPECT_LT(Brightness(letterboxed, kScreenWidth - 150, 0, 150, kScreenHeight), 5);
  EXPECT_GT(Brightness(letterboxed, 300, 100, 680, 520), 40);

  // The panel is still open, the keys back with the main menu: Enter on OPTIONS closes it, the
  // next opens it again, and Enter on the display row goes back to a window.
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Key("Return"));
  ASSERT_TRUE(Key("Return"));
  std::this_thread::sleep_for(seconds(1));
  ASSERT_TRUE(Key("Return"));
  bool windowed = false;
  for (int look = 0; look < 40 && !windowed; ++look) {
    std::this_thread::sleep_for(Milliseconds(250));
    windowed = ReadAll(folder.Data("settings.dat"))[0] == 1;
  }
  ASSERT_TRUE(windowed) << "the window choice was not saved";
  std::this_thread::sleep_for(seconds(4));
  window = FindWindow();
  ASSERT_FALSE(window.empty());
  const auto geometry = RunCommand({"xdotool", "getwindowgeometry", "--shell", window},
                                   {"DISPLAY=" + x.Display()}, kStepTimeout)
                            .value_or("");
  EXPECT_NE(geometry.find("WIDTH=800"), std::string::npos) << geometry;
  EXPECT_NE(geometry.find("HEIGHT=600"), std::string::npos) << geometry;
  EXPECT_EQ(ReadAll(folder.Data("settings.dat")), DefaultSettings());
}

// Q bound as the left key survives a restart and steers the paddle in a game.
TEST_F(GameTest, ALeftKeyBoundToQSteersThePaddleAfterARestart) {
  ASSERT_TRUE(WaitForMenuKeys());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Key("Down"));
  ASSERT_TRUE(Key("Return"));  // options
  ASSERT_TRUE(Key("Up"));      // the tab row
  ASSERT_TRUE(Key("Right"));   // page 2
  ASSERT_TRUE(Key("Down"));    // the left key's row
  ASSERT_TRUE(Key("Return"));
  ASSERT_TRUE(Key("q"));
  std::this_thread::sleep_for(seconds(1));
  Screenshot keys;
  ASSERT_TRUE(Keep("panel-options-keys", keys));
  auto expected = DefaultSettings();
  expected[28] = 16;
  ASSERT_EQ(ReadAll(folder.Data("settings.dat")), expected);

  ASSERT_TRUE(Xdotool({"key", "alt+F4"}));
  ASSERT_EQ(game->Wait(kStartTimeout), 0);
  Launch();
  ASSERT_TRUE(WaitForMenuKeys());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Key("Return"));  // start a game
  const auto origin = ContentOrigin();
  ASSERT_TRUE(origin.has_value());
  // The level's intro and the paddle's slide-in take a number of frames: Q is held again until
  // the paddle answers, for half a minute at most.
  bool moved = false;
  for (int attempt = 0; attempt < 30 && !moved; ++attempt) {
    std::this_thread::sleep_for(seconds(1));
    Screenshot before, after;
    ASSERT_TRUE(Keep("game-before-q", before));
    ASSERT_TRUE(Xdotool({"keydown", "q"}));
    std::this_thread::sleep_for(Milliseconds(700));
    ASSERT_TRUE(Xdotool({"keyup", "q"}));
    std::this_thread::sleep_for(Milliseconds(200));
    ASSERT_TRUE(Keep("game-after-q", after));
    const auto start = PaddleX(before, *origin);
    const auto end = PaddleX(after, *origin);
    // Left of the middle, where the slide-in from the right stops.
    moved = start && end && *end < *start - 50 && *end < 350;
  }
  EXPECT_TRUE(moved) << "Q did not move the paddle left";
}

// Help: six pages turned with Right, each a new picture, the seventh turn back on page 1; then
// the records panel.
TEST_F(GameTest, TheHelpPagesTurnAndTheRecordsPanelOpens) {
  ASSERT_TRUE(WaitForMenuKeys());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(Key("Down"));
  ASSERT_TRUE(Key("Return"));  // help
  std::this_thread::sleep_for(seconds(1));
  const auto origin = ContentOrigin();
  ASSERT_TRUE(origin.has_value());
  ASSERT_TRUE(Key("Right"));  // the focus moves to the next-page button
  std::vector<Screenshot> pages(7);
  ASSERT_TRUE(Keep("panel-help-1", pages[0]));
  for (int page = 1; page < 7; ++page) {
    ASSERT_TRUE(Key("Right"));
    ASSERT_TRUE(Keep("panel-help-" + std::to_string(page % 6 + 1), pages[page]));
    EXPECT_GT(Change(pages[page - 1], pages[page], *origin, 410, 215, 310, 230), 8)
        << "page " << page + 1 << " looks like the one before";
  }
  EXPECT_LT(Change(pages[0], pages[6], *origin, 410, 215, 310, 230), 4)
      << "the seventh turn is not back on page 1";

  ASSERT_TRUE(Key("Escape"));
  ASSERT_TRUE(Key("Up"));
  ASSERT_TRUE(Key("Return"));  // high scores
  std::this_thread::sleep_for(seconds(1));
  Screenshot records;
  ASSERT_TRUE(Keep("panel-records", records));
  // The table's pale screen behind the printed lines.
  EXPECT_GT(Brightness(records, origin->x + 420, origin->y + 210, 280, 250), 400);
}

// The game as `cmake --install` lays it out, staged with DESTDIR under a prefix of /usr, and
// started by a player whose home is empty: the menu comes up, the saved files are made in the
// player's data folder and nowhere in the installed tree, and a key bound on the options screen
// is still bound after a restart.
class InstalledGameTest : public GameTest {
 protected:
  void SetUp() override {
    ASSERT_FALSE(x.Display().empty()) << "Xvfb or the window manager did not start";
    const std::filesystem::path output = E2E_OUTPUT_DIR;
    stage = output / "installed";
    home = output / "installed-home";
    Unlock();
    std::filesystem::remove_all(stage);
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    ASSERT_TRUE(RunCommand({CMAKE_COMMAND, "--install", QB_BUILD_ROOT, "--prefix", "/usr"},
                           {"DESTDIR=" + stage.string()}, std::chrono::seconds(120)))
        << "cmake --install failed";
    ASSERT_TRUE(std::filesystem::exists(stage / "usr/share/quasarball/data/Levels.dat"));
    // Read-only, as under /usr (root may still write there, and the game must not).
    ASSERT_TRUE(RunCommand({"chmod", "-R", "a-w", stage.string()}, {}, kStepTimeout));
    installed = Listing(stage);
    Launch(Player());
  }

  void TearDown() override {
    GameTest::TearDown();
    Unlock();
  }

  // The staged tree writable again, so that it can be removed with the build.
  void Unlock() const {
    if (std::filesystem::exists(stage))
      RunCommand({"chmod", "-R", "u+w", stage.string()}, {}, kStepTimeout);
  }

  std::filesystem::path Program() const override { return stage / "usr/bin/quasarball"; }

  std::vector<std::string> Player() const { return {"HOME=" + home.string(), "XDG_DATA_HOME="}; }

  static std::vector<std::string> Listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      names.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path Saved(const char* name) const {
    return home / ".local/share/quasarball" / name;
  }

  std::filesystem::path stage, home;
  std::vector<std::string> installed;
};

TEST_F(InstalledGameTest, StartsFromAnyPrefixAndKeepsThePlayersFilesInTheirDataFolder) {
  ASSERT_TRUE(WaitForMenu());
  EXPECT_EQ(ReadAll(Saved("settings.dat")), DefaultSettings());
  EXPECT_EQ(ReadAll(Saved("records.dat")), DefaultRecords());
  EXPECT_EQ(Listing(home / ".local/share/quasarball"),
            (std::vector<std::string>{"records.dat", "settings.dat"}));

  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Key("Down"));
  ASSERT_TRUE(Key("Return"));  // options
  ASSERT_TRUE(Key("Up"));      // the tab row
  ASSERT_TRUE(Key("Right"));   // page 2
  ASSERT_TRUE(Key("Down"));    // the left key's row
  ASSERT_TRUE(Key("Return"));
  ASSERT_TRUE(Key("q"));
  auto expected = DefaultSettings();
  expected[28] = 16;
  ASSERT_EQ(ReadAll(Saved("settings.dat")), expected);
  ASSERT_TRUE(Xdotool({"key", "alt+F4"}));
  ASSERT_EQ(game->Wait(kStartTimeout), 0);

  Launch(Player());
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Key("Return"));               // start a game
  std::this_thread::sleep_for(seconds(6));  // fade out, level intro, the paddle's slide-in
  const auto origin = ContentOrigin();
  ASSERT_TRUE(origin.has_value());
  Screenshot before;
  ASSERT_TRUE(Keep("installed-before-q", before));
  const auto start = PaddleX(before, *origin);
  ASSERT_TRUE(start.has_value()) << "no paddle found";
  ASSERT_TRUE(Xdotool({"keydown", "q"}));
  std::this_thread::sleep_for(Milliseconds(700));
  ASSERT_TRUE(Xdotool({"keyup", "q"}));
  std::this_thread::sleep_for(Milliseconds(200));
  Screenshot after;
  ASSERT_TRUE(Keep("installed-after-q", after));
  const auto end = PaddleX(after, *origin);
  ASSERT_TRUE(end.has_value()) << "no paddle found";
  EXPECT_LT(*end, *start - 50) << "Q, bound before the restart, did not move the paddle left";

  ASSERT_TRUE(Xdotool({"key", "alt+F4"}));
  ASSERT_EQ(game->Wait(kStartTimeout), 0);
  EXPECT_EQ(ReadAll(Saved("settings.dat")), expected);
  EXPECT_EQ(Listing(stage), installed) << "the game wrote into its installed tree";
}

// A game with points, left through "Exit To Menu?", a name and a country typed, OK, and Yes to
// sending, with the game pointed at a high-score service of our own: the result is in the local
// table and on the world page. The table starts low, so that a few blocks make a record.
class UploadGameTest : public GameTest {
 protected:
  void SetUp() override {
    ASSERT_FALSE(x.Display().empty()) << "Xvfb or the window manager did not start";
    service =
        scores_test::ScoresProcess::Start(scores.File("scores.sqlite"), {}, scores.File("log.txt"));
    ASSERT_TRUE(service);
    std::vector<uint8_t> low;
    for (int i = 0; i < 10; ++i) {
      const std::string name = "Nobody";
      low.push_back(static_cast<uint8_t>(name.size()));
      low.insert(low.end(), name.begin(), name.end());
      low.insert(low.end(), 10 - name.size() + 1 + 4, 0);  // score 0
    }
    std::filesystem::create_directories(folder.Data("records.dat").parent_path());
    std::ofstream(folder.Data("records.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(low.data()), static_cast<std::streamsize>(low.size()));
    Launch({"QUASARBALL_SCORES_URL=http://127.0.0.1:" + std::to_string(service->Port())});
  }

  scores_test::TempFolder scores;
  std::unique_ptr<scores_test::ScoresProcess> service;
};

TEST_F(UploadGameTest, ARecordIsStoredShownAndSent) {
  ASSERT_TRUE(WaitForMenu());
  ASSERT_TRUE(Xdotool({"windowactivate", "--sync", window}));
  ASSERT_TRUE(Key("Return"));               // start a game
  std::this_thread::sleep_for(seconds(6));  // fade out, level intro, the paddle's slide-in
  ASSERT_TRUE(Key("space"));                // the ball goes straight up into the blocks
  std::this_thread::sleep_for(seconds(5));
  ASSERT_TRUE(Key("Escape"));  // "Exit To Menu?"
  ASSERT_TRUE(Key("Return"));  // Yes: the score enters the table, the form opens
  for (const char* key : {"b", "o", "b", "Return", "u", "k", "Return"})
    ASSERT_TRUE(Key(key));
  Screenshot form;
  ASSERT_TRUE(Keep("record-entry", form));
  ASSERT_TRUE(Key("Return"));  // OK: stored, and the question whether to send it
  Screenshot ask;
  ASSERT_TRUE(Keep("ask-upload", ask));
  ASSERT_TRUE(Key("Return"));  // Yes
  std::this_thread::sleep_for(seconds(3));
  Screenshot records;
  ASSERT_TRUE(Keep("records-after-upload", records));

  const std::vector<uint8_t> table = ReadAll(folder.Data("records.dat"));
  ASSERT_EQ(table.size(), 160u);
  EXPECT_EQ(std::string(table.begin() + 1, table.begin() + 4), "bob") << "not first in the table";

  httplib::Client client("127.0.0.1", service->Port());
  const auto page = client.Get("/cgi/version.pl?prg=Quasarball&show&type=0&format=json");
  ASSERT_TRUE(page);
  EXPECT_NE(page->body.find("\"bob\""), std::string::npos) << page->body;
  EXPECT_NE(page->body.find("\"uk\""), std::string::npos) << page->body;
}

}  // namespace
}  // namespace e2e

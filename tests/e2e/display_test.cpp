// The engine on a real X display: the scene program runs under its own Xvfb, in a window and in
// full screen; the test reads the screen back pixel by pixel, types keys and moves the pointer
// with xdotool, and listens to what the program reports. Screenshots stay in the build folder.
#include <SDL_image.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "x_display.h"

namespace e2e {
namespace {

using std::chrono::seconds;

// Where the 800 x 600 virtual screen lies on the X screen.
struct Placement {
  float left = 0, top = 0, scale = 1;  // X pixels

  int X(float vx) const { return static_cast<int>(std::lround(left + vx * scale)); }
  int Y(float vy) const { return static_cast<int>(std::lround(top + vy * scale)); }
};

// The scene program and the lines it reports.
class Scene {
 public:
  Scene(const std::string& display, const std::string& mode) {
    folder_ = std::filesystem::path(E2E_OUTPUT_DIR) / ("scene-" + mode);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    process_ = ChildProcess::Start(
        {E2E_SCENE_PROGRAM, folder_.string(), mode},
        {"DISPLAY=" + display, "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + AudioFile().string(),
         // SDL 2.26 leaves its D-Bus connection allocated at exit, in blocks a sanitizer cannot
         // trace to it; the off-screen tests check our own code for leaks.
         "ASAN_OPTIONS=detect_leaks=0"},
        true);
  }

  bool Started() const { return process_.has_value(); }
  std::filesystem::path AudioFile() const { return folder_ / "audio.raw"; }
  ChildProcess& Process() { return *process_; }

  // Reads lines until one starts with `prefix`; every line read is kept.
  std::optional<std::string> WaitFor(const std::string& prefix,
                                     Milliseconds timeout = kStepTimeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      const auto line = process_->ReadLine(
          std::chrono::duration_cast<Milliseconds>(deadline - std::chrono::steady_clock::now()));
      if (!line) {
        break;
      }
      lines_.push_back(*line);
      if (line->starts_with(prefix)) {
        return line;
      }
    }
    return std::nullopt;
  }

  std::vector<int> KeysSince(size_t first) const {
    std::vector<int> keys;
    for (size_t i = first; i < lines_.size(); ++i) {
      if (lines_[i].starts_with("key ")) {
        keys.push_back(std::stoi(lines_[i].substr(4)));
      }
    }
    return keys;
  }
  size_t LineCount() const { return lines_.size(); }
  std::string Transcript() const {
    std::string all;
    for (const auto& line : lines_) {
      all += line + "\n";
    }
    return all;
  }

 private:
  std::filesystem::path folder_;
  std::optional<ChildProcess> process_;
  std::vector<std::string> lines_;
};

std::vector<std::string> Words(const std::string& line);

// Waits for the scene to report the pointer near (x, y), fractions of the virtual screen.
bool PointerReported(Scene& scene, float x, float y) {
  constexpr float kTolerance = 0.005f;  // under half a pixel of the scaled screen, plus rounding
  while (const auto line = scene.WaitFor("mouse ")) {
    const auto words = Words(*line);
    if (std::abs(std::stof(words[1]) - x) < kTolerance &&
        std::abs(std::stof(words[2]) - y) < kTolerance) {
      return true;
    }
  }
  return false;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

bool Xdotool(const std::string& display, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "xdotool");
  return RunCommand(arguments, {"DISPLAY=" + display}, kStepTimeout).has_value();
}

std::pair<int, int> PointerOnScreen(const std::string& display) {
  const auto output =
      RunCommand({"xdotool", "getmouselocation", "--shell"}, {"DISPLAY=" + display}, kStepTimeout);
  int x = -1, y = -1;
  if (output) {
    std::istringstream in(*output);
    for (std::string line; std::getline(in, line);) {
      if (line.starts_with("X="))
        x = std::stoi(line.substr(2));
      if (line.starts_with("Y="))
        y = std::stoi(line.substr(2));
    }
  }
  return {x, y};
}

void ExpectColour(const Screenshot& shot, int x, int y, Rgb expected, const char* what) {
  constexpr int kTolerance = 4;
  const Rgb actual = shot.At(x, y);
  EXPECT_TRUE(std::abs(actual.r - expected.r) <= kTolerance &&
              std::abs(actual.g - expected.g) <= kTolerance &&
              std::abs(actual.b - expected.b) <= kTolerance)
      << what << " at (" << x << "," << y << "): got " << actual.r << "," << actual.g << ","
      << actual.b << ", want " << expected.r << "," << expected.g << "," << expected.b;
}

// The scene, checked in virtual-screen pixels wherever the screen lies.
void CheckScene(const Screenshot& shot, const Placement& at) {
  constexpr Rgb kBack{0, 0, 96}, kRed{255, 0, 0}, kGreen{0, 255, 0}, kYellow{255, 255, 0},
      kMagenta{255, 0, 255}, kWhite{255, 255, 255}, kGlass{128, 128, 176};
  const struct {
    float x, y;
    Rgb colour;
    const char* what;
  } kChecks[] = {
      {200, 120, kRed, "red quad (from a file)"},
      {110, 240, kRed, "red quad's lower left"},
      {92, 175, kBack, "left of the red quad"},
      {200, 258, kBack, "below the red quad"},
      {600, 175, kGreen, "green quad (from memory)"},
      {690, 110, kGreen, "green quad's upper right"},
      {708, 175, kBack, "right of the green quad"},
      {600, 420, kYellow, "centre of the turned quad"},
      {600, 360, kYellow, "upper point of the turned quad"},
      {556, 376, kBack, "corner of the turned quad's box"},
      {175, 425, kGlass, "half-transparent white over the background"},
      {92, 425, kBack, "left of the half-transparent quad"},
      {200, 175, kMagenta, "cursor sprite above the red quad"},
      {222, 175, kRed, "red quad beside the cursor"},
      // Particles emitted at engine (0, -30), which is 250 pixels below the centre.
      {400, 550, kWhite, "particle burst"},
      {400, 575, kBack, "below the particle burst"},
      {362, 480, kBack, "above the text"},
      {20, 20, kBack, "background's top left"},
      {780, 580, kBack, "background's bottom right"},
  };
  for (const auto& check : kChecks) {
    ExpectColour(shot, at.X(check.x), at.Y(check.y), check.colour, check.what);
  }
  // "HELLO" in white cells of 25 x 25 pixels from (300, 500): some ink in each cell, and only
  // there.
  for (int cell = 0; cell < 5; ++cell) {
    int ink = 0;
    for (int y = 500; y < 525; ++y) {
      for (int x = 300 + cell * 25; x < 325 + cell * 25; ++x) {
        const Rgb p = shot.At(at.X(static_cast<float>(x)), at.Y(static_cast<float>(y)));
        ink += p.r > 200 && p.g > 200 ? 1 : 0;
      }
    }
    EXPECT_GT(ink, 10) << "text cell " << cell;
  }
}

bool AudioWasHeard(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return std::any_of(bytes.begin(), bytes.end(), [](char b) { return b != 0; });
}

Placement PlacementFrom(const std::string& rectLine) {
  // "rect LEFT TOP RIGHT BOTTOM caption C display D"
  const auto words = Words(rectLine);
  Placement at;
  if (words.size() >= 9 && std::stoi(words[8]) > 0) {
    at.scale =
        std::min(static_cast<float>(kScreenWidth) / 800, static_cast<float>(kScreenHeight) / 600);
    at.left = (kScreenWidth - 800 * at.scale) / 2;
    at.top = (kScreenHeight - 600 * at.scale) / 2;
  } else if (words.size() >= 7) {
    at.left = static_cast<float>(std::stoi(words[1]));
    at.top = static_cast<float>(std::stoi(words[2]) + std::stoi(words[6]));
  }
  return at;
}

class DisplayTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(server_.Display().empty()) << "Xvfb or openbox did not start";
  }
  XServer server_{E2E_OUTPUT_DIR};
};

TEST_F(DisplayTest, WindowShowsTheSceneTakesKeysAndThePointerAndReopens) {
  const std::string& display = server_.Display();
  Scene scene(display, "window");
  ASSERT_TRUE(scene.Started());
  const auto rect = scene.WaitFor("rect", kStartTimeout);
  ASSERT_TRUE(rect) << scene.Transcript();
  ASSERT_TRUE(scene.WaitFor("ready 1")) << scene.Transcript();
  const Placement at = PlacementFrom(*rect);
  // The window is centred on the screen (give or take the window manager's border), its client
  // area 800 x 600 under the caption.
  const auto words = Words(*rect);
  EXPECT_NEAR(std::stoi(words[1]), 240, 4);
  EXPECT_EQ(std::stoi(words[3]) - std::stoi(words[1]), 800);
  EXPECT_EQ(std::stoi(words[4]) - std::stoi(words[2]), 623);

  Screenshot shot;
  ASSERT_TRUE(shot.Take(display, std::filesystem::path(E2E_OUTPUT_DIR) / "window.png"));
  CheckScene(shot, at);
  ExpectColour(shot, at.X(-20), at.Y(300), {0, 0, 0}, "outside the window");

  // Keys, with the pointer over the window so that it has the keyboard.
  ASSERT_TRUE(
      Xdotool(display, {"mousemove", std::to_string(at.X(200)), std::to_string(at.Y(150))}));
  ASSERT_TRUE(PointerReported(scene, 0.25f, 0.25f)) << scene.Transcript();
  const size_t before = scene.LineCount();
  ASSERT_TRUE(Xdotool(display,
                      {"key",       "--delay", "40",        "Escape", "Return", "space", "p",
                       "Pause",     "Home",    "Up",        "Down",   "Left",   "Right", "KP_Enter",
                       "Control_R", "Alt_R",   "BackSpace", "F12",    "q",      "a"}));
  ASSERT_TRUE(scene.WaitFor("key 30")) << scene.Transcript();
  // xdotool holds the left Ctrl and Alt down with their right-hand twins; those presses are its
  // own and are left out.
  std::vector<int> keys = scene.KeysSince(before);
  std::erase_if(keys, [](int key) { return key == 29 || key == 56; });
  EXPECT_EQ(keys, (std::vector<int>{1, 28, 57, 25, 197, 199, 200, 208, 203, 205, 156, 157, 184, 14,
                                    88, 16, 30}));

  ASSERT_TRUE(Xdotool(display, {"click", "1"}));
  EXPECT_TRUE(scene.WaitFor("click 0")) << scene.Transcript();

  // The pointer moved by the engine (through the window) and by the platform layer (desktop).
  ASSERT_TRUE(Xdotool(display, {"key", "F1"}));
  ASSERT_TRUE(scene.WaitFor("warped"));
  EXPECT_EQ(PointerOnScreen(display), std::make_pair(at.X(200), at.Y(450)));
  ASSERT_TRUE(Xdotool(display, {"key", "F2"}));
  const auto cursor = scene.WaitFor("cursor");
  ASSERT_TRUE(cursor);
  EXPECT_EQ(*cursor, "cursor 123 45");
  EXPECT_EQ(PointerOnScreen(display), std::make_pair(123, 45));

  // Sound: the music streams from the start, a short sound plays on request.
  ASSERT_TRUE(
      Xdotool(display, {"mousemove", std::to_string(at.X(400)), std::to_string(at.Y(300))}));
  ASSERT_TRUE(Xdotool(display, {"key", "F6"}));
  EXPECT_TRUE(scene.WaitFor("tone 1"));
  EXPECT_TRUE(AudioWasHeard(scene.AudioFile()));

  // Close and reopen the engine on a new window: the same scene again.
  ASSERT_TRUE(Xdotool(display, {"key", "F5"}));
  ASSERT_TRUE(scene.WaitFor("reopening")) << scene.Transcript();
  ASSERT_TRUE(scene.WaitFor("ready 2")) << scene.Transcript();
  ASSERT_TRUE(shot.Take(display, std::filesystem::path(E2E_OUTPUT_DIR) / "window-reopened.png"));
  CheckScene(shot, at);

  // A request to end (the window manager's close, here a terminate signal) reaches the window
  // procedure as WM_CLOSE and the program ends normally.
  scene.Process().Signal(SIGTERM);
  EXPECT_TRUE(scene.WaitFor("close")) << scene.Transcript();
  EXPECT_TRUE(scene.WaitFor("done")) << scene.Transcript();
  EXPECT_EQ(scene.Process().Wait(kStepTimeout), 0);
}

// Xlib ends a program whose X server went away; what the program does on its way out must not
// wait on the broken connection.
TEST_F(DisplayTest, TheSceneEndsAtOnceWhenItsDisplayGoesAway) {
  Scene scene(server_.Display(), "window");
  ASSERT_TRUE(scene.Started());
  ASSERT_TRUE(scene.WaitFor("ready 1", kStartTimeout)) << scene.Transcript();
  server_.Stop();
  const std::optional<int> status = scene.Process().Wait(kStepTimeout);
  ASSERT_TRUE(status) << "still running after the display went away";
  EXPECT_NE(*status, 0);
}

TEST_F(DisplayTest, FullScreenLetterboxesTheSceneAndSwallowsAltTab) {
  const std::string& display = server_.Display();
  Scene scene(display, "fullscreen");
  ASSERT_TRUE(scene.Started());
  const auto rect = scene.WaitFor("rect", kStartTimeout);
  ASSERT_TRUE(rect) << scene.Transcript();
  ASSERT_TRUE(scene.WaitFor("ready 1")) << scene.Transcript();
  EXPECT_EQ(Words(*rect)[8], "1");
  const Placement at = PlacementFrom(*rect);

  Screenshot shot;
  ASSERT_TRUE(shot.Take(display, std::filesystem::path(E2E_OUTPUT_DIR) / "fullscreen.png"));
  CheckScene(shot, at);
  for (const int y : {5, 360, 715}) {
    ExpectColour(shot, 10, y, {0, 0, 0}, "left bar");
    ExpectColour(shot, static_cast<int>(at.left) - 3, y, {0, 0, 0}, "left bar's inner edge");
    ExpectColour(shot, kScreenWidth - 10, y, {0, 0, 0}, "right bar");
    ExpectColour(shot, kScreenWidth - static_cast<int>(at.left) + 2, y, {0, 0, 0},
                 "right bar's inner edge");
  }

  // The pointer as a fraction of the virtual screen, through the letterbox.
  ASSERT_TRUE(
      Xdotool(display, {"mousemove", std::to_string(at.X(400)), std::to_string(at.Y(150))}));
  ASSERT_TRUE(PointerReported(scene, 0.5f, 0.25f)) << scene.Transcript();
  ASSERT_TRUE(Xdotool(display, {"key", "F1"}));
  ASSERT_TRUE(scene.WaitFor("warped"));
  EXPECT_EQ(PointerOnScreen(display), std::make_pair(at.X(200), at.Y(450)));

  const size_t before = scene.LineCount();
  ASSERT_TRUE(Xdotool(display, {"key", "alt+Tab", "Escape"}));
  ASSERT_TRUE(scene.WaitFor("key 1")) << scene.Transcript();
  const std::string transcript = scene.Transcript();
  EXPECT_NE(transcript.find("hotkey 100", 0), std::string::npos) << transcript;
  const std::vector<int> keys = scene.KeysSince(before);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), 15), 0) << "Tab reached the game";

  scene.Process().Signal(SIGTERM);
  EXPECT_TRUE(scene.WaitFor("done")) << scene.Transcript();
  EXPECT_EQ(scene.Process().Wait(kStepTimeout), 0);
}

}  // namespace
}  // namespace e2e

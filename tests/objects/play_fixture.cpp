#include "play_fixture.h"

#include <unistd.h>

#include <fstream>
#include <string>

#include "app/input_mouse.h"
#include "app/random.h"
#include "app/run_phase.h"
#include "app/startup_scene.h"
#include "engine/engine.h"
#include "headless/headless.h"
#include "persist/settings.h"

void PlayTest::SetUp() {
  headless::Reset();
  headless::SetAutoAdvance(0);
  if (WithEngine)
    OpenEngine();
  Settings = TSettings{};
  Settings.Windowed = 1;
  // The system cursor resting at the desktop's centre chooses no direction.
  headless::SetScreenSize(1024, 768);
  headless::SetCursorPosition(512, 384);
  MouseButtonClicked = 0;
  FrameFactor = 1;

  LoadingSprite = TMeshSprite::CreateBare(1);
  GameOverSprite = TMeshSprite::CreateBare(1);
  Game = std::make_unique<TGame>();
  Game->CreateResources();
  Game->PrepareServe();
  Game->PaddleEntering = false;
  Paddle().X = 0;
  Paddle().Y = -10;
  Paddle().Place();
  Ball(0).X = 0;
  Ball(0).Y = -10 + Paddle().HalfHeight + Ball(0).Radius;
  RandSeed(12345);
}

void PlayTest::TearDown() {
  Game.reset();
  GameOverSprite.reset();
  LoadingSprite.reset();
  if (!folder_.empty()) {
    headless::Reset();
    std::filesystem::remove_all(folder_);
    folder_.clear();
  }
}

namespace {

// The quad every picture is made of: 1.6 x 1.6 units around the origin.
constexpr const char* kQuadModel =
    "xof 0302txt 0032\n"
    "Header { 1; 0; 1; }\n"
    "Mesh quad {\n"
    "  4;\n"
    "  -0.8; 0.8; 0.0;,\n"
    "  0.8; 0.8; 0.0;,\n"
    "  0.8; -0.8; 0.0;,\n"
    "  -0.8; -0.8; 0.0;;\n"
    "  2;\n"
    "  3; 0, 1, 2;,\n"
    "  3; 0, 2, 3;;\n"
    "  MeshNormals { 1; 0.0; 0.0; -1.0;; 2; 3; 0, 0, 0;, 3; 0, 0, 0;; }\n"
    "  MeshTextureCoords { 4; 0.0; 0.0;, 1.0; 0.0;, 1.0; 1.0;, 0.0; 1.0;; }\n"
    "}\n";

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void PlayTest::OpenEngine() {
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  folder_ = std::filesystem::temp_directory_path() /
            (std::string("qb_objects_") + test->test_suite_name() + "_" + test->name() + "_" +
             std::to_string(getpid()));
  std::filesystem::create_directories(folder_ / "data");
  std::ofstream(folder_ / "data" / "sprite.x") << kQuadModel;
  headless::SetProgramFolder(folder_);

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PassOn;
  windowClass.lpszClassName = "Game";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "Game", "Quasarball", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(i3ImpactOpen(window, 0), 0);
  const int32_t settings[6] = {0, 0, 800 * 600 * 32, 0, 0, -1};
  ASSERT_NE(i3ImpactSettings(settings), 0);
}

TBubble& PlayTest::Fly(int slot, long double x, long double y, long double angle,
                       long double speed) {
  for (auto& ball : Game->Balls)
    ball->InPlay = ball->Moving = false;
  TBubble& ball = Ball(slot);
  ball.InPlay = ball.Moving = true;
  ball.X = x;
  ball.Y = y;
  ball.Angle = angle;
  ball.Speed = speed;
  return ball;
}

TBlock& PlayTest::AddBlock(int32_t kind, int32_t row, int32_t column, bool active) {
  auto block = std::make_unique<TBlock>();
  block->Index = static_cast<int32_t>(Game->Blocks.size());
  block->Setup(kind);
  block->Active = active;
  block->Column = column;
  block->Row = row;
  block->X = (column - 1) * 1.6L - 15.2L;
  block->Y = 10.8L - (row - 1) * 1.2L;
  block->Place();
  if (active)
    Game->LevelGrid[static_cast<size_t>(row)][static_cast<size_t>(column)] = kind;
  Game->Blocks.push_back(std::move(block));
  return *Game->Blocks.back();
}

TBonus& PlayTest::BonusOf(int32_t kind, int copy) {
  return *Game->Bonuses[static_cast<size_t>(3 * (kind - 1) + copy)];
}

TEnemy& PlayTest::EnemyOf(int32_t kind, int copy) {
  return *Game->Enemies[static_cast<size_t>(3 * (kind - 1) + copy)];
}

void PlayTest::SetTicks(uint32_t ms) {
  headless::SetClock(ms / 1000.0);
}

long double DeflectionAfterSeed(uint32_t seed) {
  RandSeed(seed);
  const int32_t sign = 1 - 2 * Random(2);
  return sign * (Random(10) + 1) / 50.0L;
}

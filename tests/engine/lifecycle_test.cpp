// The engine driven the way the program drives it: open, one initialisation phase, run and
// render phases, close, reopen, exit.
#include <functional>

#include "engine_fixture.h"

namespace {

struct LoopCounts {
  int initialisations = 0;
  int runs = 0;
  int renders = 0;
};

// The program's engine loop: messages first, then an engine pass and its phases. Returns after
// the exit phase.
void RunLoop(const std::function<void()>& initialise, const std::function<bool()>& run,
             LoopCounts& counts) {
  while (i3ImpactIsRendering()) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    if (i3ImpactIsActive() && i3ImpactIsReady()) {
      i3ImpactMain();
      if (!i3ImpactIsExecuting()) {
        continue;
      }
    }
    if (i3ImpactIsInitializing()) {
      i3ImpactInitBegin();
      initialise();
      ++counts.initialisations;
      i3ImpactInitEnd();
    }
    if (!i3ImpactIsRendering()) {
      break;
    }
    if (!i3ImpactIsSkippingRunPhase()) {
      i3ImpactRunBegin();
      const bool leave = run();
      ++counts.runs;
      i3ImpactRunEnd();
      if (leave) {
        break;
      }
    }
    if (!i3ImpactIsSkippingRenderPhase()) {
      i3ImpactRender();
      ++counts.renders;
    }
  }
  i3ImpactExitBegin();
  i3ImpactExitEnd();
}

using LifecycleTest = EngineTest;

TEST_F(LifecycleTest, CloseAndReopenIssuesFreshHandlesAndInitialisesAgain) {
  HWND window = OpenEngine();
  EXPECT_TRUE(headless::EngineOpen());
  EXPECT_EQ(headless::Windows().at(0).show, headless::ShowState::kShown);

  int32_t mesh = 0;
  const auto initialise = [&] {
    mesh = iMeshCreate("data\\sprite.x");
    iMeshShow(mesh);
  };
  LoopCounts first;
  RunLoop(
      initialise, [&] { return first.runs == 4; }, first);  // a reopen request on the 5th
  EXPECT_EQ(first.initialisations, 1);
  EXPECT_EQ(first.runs, 5);
  EXPECT_EQ(first.renders, 4);  // the pass that asked for the reopen is not drawn
  EXPECT_EQ(headless::FramesDrawn(), 4u);
  const int32_t firstMesh = mesh;
  ASSERT_NE(firstMesh, 0);

  i3ImpactClose();
  DestroyWindow(window);
  EXPECT_FALSE(headless::EngineOpen());
  EXPECT_EQ(i3ImpactIsRendering(), 0);
  EXPECT_EQ(headless::BackendResources(), 0u);
  Vec3f where{};
  EXPECT_EQ(iMeshLocation(firstMesh, where), 0);

  OpenEngine();
  EXPECT_NE(i3ImpactIsInitializing(), 0);
  LoopCounts second;
  RunLoop(
      initialise,
      [&] {
        if (second.runs == 2) {
          iExit();
        }
        return false;
      },
      second);
  EXPECT_EQ(second.initialisations, 1);
  EXPECT_EQ(second.runs, 3);
  EXPECT_EQ(second.renders, 3);  // iExit still lets the pass it was called in draw
  EXPECT_NE(mesh, firstMesh);
  // The old handle names nothing, even though the new mesh may sit in the same slot.
  EXPECT_EQ(iMeshLocation(firstMesh, where), 0);
  iMeshHide(firstMesh);
  ASSERT_EQ(headless::VisibleMeshes().size(), 1u);
  EXPECT_EQ(headless::VisibleMeshes()[0].handle, mesh);
  i3ImpactClose();
}

TEST_F(LifecycleTest, StatusBeforeOpenAndAfterFailures) {
  EXPECT_EQ(i3ImpactIsRendering(), 0);
  EXPECT_EQ(i3ImpactIsReady(), 0);
  EXPECT_EQ(iMeshCreate("data/sprite.x"), 0);
  EXPECT_EQ(i3ImpactOpen(nullptr, 0), 0);

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RecordingWindowProc;
  windowClass.lpszClassName = "Game";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "Game", "Quasarball", 0, 0, 0, 800, 623, nullptr, nullptr,
                                nullptr, nullptr);
  headless::FailNextOpen();
  EXPECT_EQ(i3ImpactOpen(window, 0), 0);
  EXPECT_EQ(headless::Windows()[0].show, headless::ShowState::kHidden);

  ASSERT_NE(i3ImpactOpen(window, 0), 0);
  EXPECT_EQ(i3ImpactOpen(window, 0), 0) << "already open";
  const int32_t wrongMode[6] = {0, 0, 640 * 480 * 16, 0, 0, -1};
  EXPECT_EQ(i3ImpactSettings(wrongMode), 0);
  headless::FailNextDisplaySettings();
  const int32_t settings[6] = {0, 0, 800 * 600 * 32, 0, 0, -1};
  EXPECT_EQ(i3ImpactSettings(settings), 0);
  EXPECT_EQ(i3ImpactIsReady(), 0);
  EXPECT_NE(i3ImpactSettings(settings), 0);
  EXPECT_NE(i3ImpactIsReady(), 0);
  EXPECT_EQ(iDisplayMode(), 0);
}

TEST_F(LifecycleTest, FullScreenFillsTheScreenAndWindowedComesBack) {
  headless::SetScreenSize(1280, 1024);
  HWND window = OpenEngine(/*fullScreen=*/true);
  EXPECT_GT(iDisplayMode(), 0);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 1280);
  EXPECT_EQ(rect.bottom - rect.top, 1024);
  i3ImpactClose();
  EXPECT_EQ(iDisplayMode(), 0);
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 112);
  EXPECT_EQ(rect.bottom, 84 + 623);
}

TEST_F(LifecycleTest, PhasesFollowEnginePasses) {
  OpenEngine();
  // No pass yet: nothing to run or draw.
  EXPECT_NE(i3ImpactIsSkippingRunPhase(), 0);
  EXPECT_NE(i3ImpactIsSkippingRenderPhase(), 0);
  i3ImpactMain();
  EXPECT_NE(i3ImpactIsExecuting(), 0);
  EXPECT_EQ(i3ImpactIsSkippingRunPhase(), 0);
  i3ImpactRunBegin();
  i3ImpactRunEnd();
  EXPECT_NE(i3ImpactIsSkippingRunPhase(), 0);
  EXPECT_EQ(i3ImpactIsSkippingRenderPhase(), 0);
  i3ImpactRender();
  EXPECT_NE(i3ImpactIsSkippingRenderPhase(), 0);

  // The initialisation flag holds until the initialisation phase has run, once.
  EXPECT_NE(i3ImpactIsInitializing(), 0);
  i3ImpactInitBegin();
  i3ImpactInitEnd();
  EXPECT_EQ(i3ImpactIsInitializing(), 0);

  i3ImpactIsRenderingSet(0);
  EXPECT_EQ(i3ImpactIsRendering(), 0);
  i3ImpactMain();
  EXPECT_EQ(i3ImpactIsExecuting(), 0);
  i3ImpactIsRenderingSet(1);
  EXPECT_NE(i3ImpactIsRendering(), 0);

  i3ImpactErrorFlagSet(1);
  EXPECT_EQ(i3ImpactErrorFlag(), 1);
}

TEST_F(LifecycleTest, EnginePassesKeepTheClockAndCallTheHook) {
  OpenEngine();
  std::vector<uint64_t> passes;
  headless::SetPassHook([&](uint64_t pass) { passes.push_back(pass); });
  const double start = iSystemTimer();
  for (int i = 0; i < 3; ++i) {
    i3ImpactMain();
  }
  EXPECT_EQ(passes, (std::vector<uint64_t>{1, 2, 3}));
  EXPECT_NEAR(iSystemTimer() - start, 3.0 / 60, 1e-9);

  int64_t counter = 0, frequency = 0;
  QueryPerformanceFrequency(&frequency);
  headless::SetClock(12.5);
  QueryPerformanceCounter(&counter);
  EXPECT_DOUBLE_EQ(static_cast<double>(counter) / static_cast<double>(frequency), 12.5);
  EXPECT_EQ(GetTickCount(), 12500u);
  EXPECT_DOUBLE_EQ(iSystemTimer(), 12.5);
}

TEST_F(LifecycleTest, MinimisedWindowIdlesUntilTheHookRestoresIt) {
  HWND window = OpenEngine();
  ShowWindow(window, SW_MINIMIZE);
  int idles = 0;
  headless::SetIdleHook([&] {
    if (++idles == 3) {
      ShowWindow(window, SW_SHOWNORMAL);
    }
  });
  const double start = headless::Clock();
  EXPECT_EQ(i3ImpactIsActive(), 0);
  EXPECT_EQ(i3ImpactIsActive(), 0);
  EXPECT_EQ(i3ImpactIsActive(), 0);
  EXPECT_NE(i3ImpactIsActive(), 0);
  // Each idle wait stands for a frame.
  EXPECT_NEAR(headless::Clock() - start, 3.0 / 60, 1e-9);
}

}  // namespace

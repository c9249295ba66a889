// Keyboard and mouse as the game's queries see them.
#include "engine_fixture.h"

namespace {

using InputTest = EngineTest;

constexpr int kEnter = 28;
constexpr int kSpace = 57;
constexpr int kTab = 15;
constexpr int kLeftAlt = 56;

// One engine pass with a run phase around `run`.
template <typename Run>
void RunPhase(Run&& run) {
  i3ImpactMain();
  i3ImpactRunBegin();
  run();
  i3ImpactRunEnd();
}

TEST_F(InputTest, AKeyClicksOncePerPress) {
  OpenEngine();
  headless::PressKey(kEnter);
  RunPhase([] {
    EXPECT_NE(iKeyDown(kEnter), 0);
    EXPECT_NE(iKeyClick(kEnter), 0);
    EXPECT_EQ(iKeyClick(kEnter), 0) << "the query used the click up";
  });
  RunPhase([] {
    EXPECT_NE(iKeyDown(kEnter), 0) << "still held";
    EXPECT_EQ(iKeyClick(kEnter), 0) << "holding is not pressing again";
  });
  headless::PressKey(kEnter);  // auto-repeat while held
  RunPhase([] { EXPECT_EQ(iKeyClick(kEnter), 0); });
  headless::ReleaseKey(kEnter);
  headless::PressKey(kEnter);
  RunPhase([] { EXPECT_NE(iKeyClick(kEnter), 0); });
}

TEST_F(InputTest, AnInjectedKeyIsReadAsTheKeyboardsAndNothingBeforeTheEngineOpens) {
  iKeyInject(kSpace, 1);  // no engine yet: nothing to reach, nothing to crash
  OpenEngine();
  RunPhase([] { EXPECT_EQ(iKeyDown(kSpace), 0) << "a key injected before the open is gone"; });
  iKeyInject(kSpace, 1);
  RunPhase([] {
    EXPECT_NE(iKeyDown(kSpace), 0);
    EXPECT_NE(iKeyClick(kSpace), 0);
  });
  iKeyInject(kSpace, 0);
  RunPhase([] {
    EXPECT_EQ(iKeyDown(kSpace), 0);
    EXPECT_EQ(iKeyClick(kSpace), 0);
  });
}

TEST_F(InputTest, ATapBetweenTwoPassesIsNotLostButExpiresUnasked) {
  OpenEngine();
  headless::TapKey(kSpace);
  RunPhase([] {
    EXPECT_EQ(iKeyDown(kSpace), 0);
    EXPECT_NE(iKeyClick(kSpace), 0);
  });
  headless::TapKey(kSpace);
  RunPhase([] {});  // nobody asks
  RunPhase([] { EXPECT_EQ(iKeyClick(kSpace), 0); });
}

TEST_F(InputTest, MouseIsAFractionOfTheVirtualScreen) {
  OpenEngine();
  headless::MoveMouse(200, 450);
  EXPECT_FLOAT_EQ(iMouseX(), 0.25f);
  EXPECT_FLOAT_EQ(iMouseY(), 0.75f);
  headless::MoveMouse(-50, 900);
  EXPECT_FLOAT_EQ(iMouseX(), 0);
  EXPECT_FLOAT_EQ(iMouseY(), 1);

  headless::ClickMouse(1);
  RunPhase([] {
    EXPECT_EQ(iMouseButtonClick(0), 0);
    EXPECT_NE(iMouseButtonClick(1), 0);
    EXPECT_EQ(iMouseButtonClick(1), 0);
  });
  headless::PressMouseButton(0);
  EXPECT_NE(iMouseButtonDown(0), 0);
  EXPECT_EQ(iMouseButtonDown(7), 0);
}

TEST_F(InputTest, MouseResetWarpsThePointer) {
  HWND window = OpenEngine();
  iMouseReset({0.5f, 0.5f});
  EXPECT_FLOAT_EQ(iMouseX(), 0.5f);
  ASSERT_TRUE(headless::LastPointerWarp());
  EXPECT_FLOAT_EQ(headless::LastPointerWarp()->x, 400);
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT cursor{};
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, rect.left + 400);
  EXPECT_EQ(cursor.y, rect.top + GetSystemMetrics(SM_CYCAPTION) + 300);
}

TEST_F(InputTest, RegisteredHotKeyBecomesAMessageInsteadOfAKey) {
  HWND window = OpenEngine();
  ASSERT_NE(RegisterHotKey(window, 100, MOD_ALT, 9), 0);  // Alt+Tab
  EXPECT_EQ(RegisterHotKey(window, 100, MOD_ALT, 115), 0) << "identifier taken";

  headless::PressKey(kLeftAlt);
  headless::TapKey(kTab);
  MSG msg{};
  ASSERT_NE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), 0);
  EXPECT_EQ(msg.message, WM_HOTKEY);
  EXPECT_EQ(msg.wParam, 100u);
  RunPhase([] { EXPECT_EQ(iKeyClick(kTab), 0); });

  headless::ReleaseKey(kLeftAlt);
  headless::TapKey(kTab);  // without Alt it is an ordinary key
  EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), 0);
  RunPhase([] { EXPECT_NE(iKeyClick(kTab), 0); });

  EXPECT_TRUE(headless::FireHotKey(100));
  ASSERT_NE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), 0);
  EXPECT_EQ(msg.wParam, 100u);
  EXPECT_FALSE(headless::FireHotKey(101));

  EXPECT_NE(UnregisterHotKey(window, 100), 0);
  EXPECT_EQ(UnregisterHotKey(window, 100), 0);
  EXPECT_TRUE(headless::HotKeys().empty());
}

}  // namespace

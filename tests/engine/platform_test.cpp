// The simulated Windows calls behave as the program expects of the real ones.
#include "engine_fixture.h"

namespace {

class PlatformTest : public EngineTest {
 protected:
  HWND MakeWindow(const char* title = "Quasarball") {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RecordingWindowProc;
    windowClass.lpszClassName = "Game";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "Game", title, WS_POPUP | WS_CAPTION | WS_SYSMENU, 10, 20, 800, 623,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
};

TEST_F(PlatformTest, WindowsAreCreatedHiddenAndFoundByClassOrTitle) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = RecordingWindowProc;
  windowClass.lpszClassName = "Game";
  EXPECT_NE(RegisterClassA(&windowClass), 0);
  EXPECT_EQ(RegisterClassA(&windowClass), 0) << "the class exists";
  EXPECT_EQ(CreateWindowExA(0, "Other", "x", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);

  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(headless::Windows().at(0).show, headless::ShowState::kHidden);
  EXPECT_EQ(FindWindowA("Game", nullptr), window);
  EXPECT_EQ(FindWindowA(nullptr, "Quasarball"), window);
  EXPECT_EQ(FindWindowA(nullptr, "Other"), nullptr);
  RECT rect{};
  ASSERT_NE(GetWindowRect(window, &rect), 0);
  EXPECT_EQ(rect.right, 810);
  EXPECT_EQ(rect.bottom, 643);

  ShowWindow(window, SW_SHOWMINIMIZED);
  EXPECT_EQ(headless::Windows()[0].show, headless::ShowState::kMinimised);
  ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_EQ(headless::Windows()[0].show, headless::ShowState::kShown);

  EXPECT_NE(DestroyWindow(window), 0);
  EXPECT_TRUE(headless::Windows()[0].destroyed);
  EXPECT_EQ(FindWindowA("Game", nullptr), nullptr);
  EXPECT_EQ(GetWindowRect(window, &rect), 0);
  EXPECT_EQ(DestroyWindow(window), 0);
  EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
  EXPECT_NE(MakeWindow(), window) << "a new window never reuses a dead handle";
}

TEST_F(PlatformTest, MessagesArePeekedInOrderDispatchedAndFiltered) {
  HWND window = MakeWindow();
  HWND other = MakeWindow("Other");
  headless::PostMessage(other, WM_PAINT, 0, 0);
  headless::PostMessage(window, WM_ACTIVATE, WA_ACTIVE, 0);
  headless::PostMessage(window, WM_PAINT, 0, 0);

  MSG msg{};
  ASSERT_NE(PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE), 0);
  EXPECT_EQ(msg.message, WM_ACTIVATE);
  ASSERT_NE(PeekMessageA(&msg, window, WM_PAINT, WM_PAINT, PM_REMOVE), 0);
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_EQ(msg.message, WM_PAINT);
  ASSERT_NE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), 0);
  EXPECT_EQ(msg.hwnd, other);
  ASSERT_NE(GetMessageA(&msg, window, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_ACTIVATE);
  DispatchMessageA(&msg);
  ASSERT_EQ(receivedMessages.size(), 1u);
  EXPECT_EQ(receivedMessages[0].wParam, WA_ACTIVE);
  EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), 0);
}

TEST_F(PlatformTest, QuitComesAfterPostedMessagesAndPassesEveryFilter) {
  HWND window = MakeWindow();
  PostQuitMessage(0);
  headless::PostMessage(window, WM_PAINT, 0, 0);
  MSG msg{};
  EXPECT_GT(GetMessageA(&msg, window, 0, 0), 0);
  EXPECT_EQ(msg.message, WM_PAINT);
  EXPECT_EQ(GetMessageA(&msg, window, WM_PAINT, WM_PAINT), 0);
  EXPECT_EQ(msg.message, WM_QUIT);
}

TEST_F(PlatformTest, GetMessageWaitsThroughTheIdleHookOrFails) {
  HWND window = MakeWindow();
  int idles = 0;
  headless::SetIdleHook([&] {
    if (++idles == 3) {
      headless::PostMessage(window, WM_ACTIVATE, WA_ACTIVE, 0);
    }
  });
  MSG msg{};
  EXPECT_GT(GetMessageA(&msg, window, 0, 0), 0);
  EXPECT_EQ(idles, 3);

  headless::FailNextGetMessage();
  EXPECT_EQ(GetMessageA(&msg, window, 0, 0), -1);
}

TEST_F(PlatformTest, DefaultProcessingMinimisesAndCloses) {
  HWND window = MakeWindow();
  ShowWindow(window, SW_SHOW);
  SendMessageA(FindWindowA(nullptr, "Quasarball"), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(headless::Windows()[0].show, headless::ShowState::kMinimised);
  ASSERT_EQ(receivedMessages.size(), 1u);
  EXPECT_EQ(receivedMessages[0].message, WM_SYSCOMMAND);
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(headless::Windows()[0].destroyed);
}

TEST_F(PlatformTest, MessageBoxesAnswerAsScriptedAndAreRecorded) {
  headless::QueueMessageBoxAnswer(IDYES);
  EXPECT_EQ(
      MessageBoxA(nullptr, "Try again?", "Fatal error", MB_YESNO | MB_ICONWARNING | MB_TOPMOST),
      IDYES);
  EXPECT_EQ(MessageBoxA(nullptr, "Again?", "Fatal error", MB_YESNO), IDNO);
  const auto boxes = headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Try again?");
  EXPECT_EQ(boxes[0].caption, "Fatal error");
  EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONWARNING | MB_TOPMOST);
  EXPECT_EQ(boxes[1].answer, IDNO);
}

TEST_F(PlatformTest, DesktopCallsAreRecorded) {
  EXPECT_GT(ShellExecuteA(nullptr, nullptr, "play.url", nullptr, nullptr, 0), 32);
  ASSERT_EQ(headless::ShellOpened().size(), 1u);
  EXPECT_EQ(headless::ShellOpened()[0].file, "play.url");
  EXPECT_EQ(headless::ShellOpened()[0].operation, "");

  EXPECT_EQ(ShowCursor(0), -1);
  EXPECT_EQ(ShowCursor(1), 0);
  EXPECT_EQ(headless::CursorShowCount(), 0);

  SetCursorPos(512, 384);
  POINT point{};
  GetCursorPos(&point);
  EXPECT_EQ(point.x, 512);
  EXPECT_EQ(point.y, 384);

  headless::SetScreenSize(1024, 768);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 23);
  EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), "MAINICON"), nullptr);
  EXPECT_NE(GetStockObject(BLACK_BRUSH), nullptr);
}

}  // namespace

// The real quilletmain.exe under test: start-up, one instance, the tray icon's clicks, Esc, and
// Exit from the tray menu.
#include "shared/Protocol.h"
#include "support/Desktop.h"
#include "ui/TrayIcon.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace std::chrono_literals;
using testsupport::ChildProcess;
using testsupport::WaitUntil;

namespace {

class Shell : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::KillProcessesNamed(L"quilletmain.exe"); }
  void TearDown() override {
    main_.terminate();
    testsupport::KillProcessesNamed(L"quilletmain.exe");
  }

  // Starts the program and waits for its main window and tray window.
  void Start() {
    main_ = ChildProcess(L"\"" + testsupport::BinFolder() + L"quilletmain.exe\"");
    ASSERT_TRUE(main_.started());
    ASSERT_TRUE(WaitUntil([&] {
      window_ = FindWindowA(qbar::kMainWindowClass, qbar::kMainWindowTitle);
      tray_ = testsupport::FindProcessWindow(main_.id(), ui::kTrayWindowClass);
      return window_ && tray_;
    })) << "no main window of class TCurInsWindow with caption Quillet";
    DWORD pid = 0;
    GetWindowThreadProcessId(window_, &pid);
    ASSERT_EQ(pid, main_.id());
  }

  void Tray(WORD mouseMessage) {
    PostMessageW(tray_, ui::kTrayCallbackMessage, MAKEWPARAM(600, 500), MAKELPARAM(mouseMessage, 1));
  }
  bool Shown() const { return IsWindowVisible(window_) != FALSE; }

  ChildProcess main_;
  HWND window_ = nullptr;
  HWND tray_ = nullptr;
};

TEST_F(Shell, StartsHiddenWithItsWindowAndASecondStartLeavesAtOnce) {
  Start();
  // The window is created hidden, and the second idle hides it once more: it must never show up
  // on its own.
  EXPECT_FALSE(WaitUntil([&] { return Shown(); }, 1500ms));
  EXPECT_TRUE(main_.running());

  ChildProcess second(L"\"" + testsupport::BinFolder() + L"quilletmain.exe\"");
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.wait(5s), 1u);
  EXPECT_TRUE(main_.running());
  EXPECT_EQ(FindWindowA(qbar::kMainWindowClass, qbar::kMainWindowTitle), window_);
}

TEST_F(Shell, TrayClickShowsTheWindowCentredOnTopAndASecondHidesIt) {
  Start();
  Tray(WM_LBUTTONUP);
  auto topmost = [&] { return (GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(WaitUntil([&] { return Shown() && topmost(); }));
  RECT r{};
  GetWindowRect(window_, &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
  RECT client{};
  GetClientRect(window_, &client);
  EXPECT_LE(client.right, 300);
  EXPECT_LE(client.bottom, 345);
  EXPECT_FALSE(GetWindowLongPtrW(window_, GWL_STYLE) & WS_CAPTION) << "the window is borderless";

  Tray(WM_LBUTTONUP);
  EXPECT_TRUE(WaitUntil([&] { return !Shown() && !topmost(); })) << "hidden means normal again";
  // A right click does not show it (it opens the menu, dismissed here).
  Tray(WM_RBUTTONUP);
  EXPECT_FALSE(WaitUntil([&] { return Shown(); }, 500ms));
}

TEST_F(Shell, EscapeInListModeHidesTheWindow) {
  Start();
  Tray(WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return Shown(); }));
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  HWND target = window_;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &gti) && gti.hwndFocus) target = gti.hwndFocus;
  PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  EXPECT_TRUE(WaitUntil([&] { return !Shown(); }));
  EXPECT_TRUE(main_.running());
}

TEST_F(Shell, ExitFromTheTrayMenuEndsWithCodeZeroAndFreesTheMutex) {
  Start();
  Tray(WM_CONTEXTMENU);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu);
  })) << "the tray menu did not open";
  // The last item is Exit: Up from no selection wraps to it.
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(main_.wait(10s), 0u);
  HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, qbar::kMainMutexName);
  EXPECT_EQ(m, nullptr) << "the single-instance mutex outlived the program";
  if (m) CloseHandle(m);
  EXPECT_EQ(FindWindowA(qbar::kMainWindowClass, qbar::kMainWindowTitle), nullptr);
}

}  // namespace

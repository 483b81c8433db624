// The real qlt_bar.exe on the desktop, with Wine's notepad in front. The test process plays the
// main program: a window of class "TCurInsWindow" titled "Quillet" that records what it receives.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <vector>

#include "shared/BarPlacement.h"
#include "shared/Protocol.h"
#include "support/Desktop.h"
#include "support/TempFolder.h"

using namespace std::chrono_literals;
using testsupport::ChildProcess;
using testsupport::WaitUntil;

namespace {

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::vector<std::wstring> classes;  // of a WM_COPYDATA
};

// Stands in for the main program's window.
class FakeMainWindow {
 public:
  FakeMainWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TCurInsWindow";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, L"TCurInsWindow", L"Quillet", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, this);
  }
  ~FakeMainWindow() { DestroyWindow(window_); }
  HWND window() const { return window_; }

  std::vector<Received> received;

  const Received* Find(UINT message) const {
    for (const auto& r : received)
      if (r.message == message) return &r;
    return nullptr;
  }
  bool WaitFor(UINT message) {
    return WaitUntil([&] { return Find(message) != nullptr; });
  }
  // For failure messages: what arrived, in order.
  std::string Log() const {
    std::string text = "received:";
    for (const auto& r : received) {
      text += ' ';
      text += std::to_string(r.message);
      text += '(';
      text += std::to_string(r.wParam);
      text += ',';
      text += std::to_string(r.lParam);
      text += ')';
    }
    return text;
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE)
      SetWindowLongPtrW(w, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    auto* self = reinterpret_cast<FakeMainWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (self && m >= qbar::QBM_SHOW_LIST && m <= qbar::QBM_VISIBILITY) {
      self->received.push_back({m, wp, lp, {}});
      return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  HWND window_ = nullptr;
};

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

qbar::CaptionMetrics Metrics() {
  return {GetSystemMetrics(SM_CXFRAME),      GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CXFIXEDFRAME),
          GetSystemMetrics(SM_CYFIXEDFRAME), GetSystemMetrics(SM_CXSIZE),  GetSystemMetrics(SM_CYSIZE)};
}

// Where the bar belongs on `target` at `position`, worked out independently of the companion.
RECT ExpectedBar(HWND target, int position, bool normalFactor = true) {
  const RECT r = WindowRectOf(target);
  const auto m = Metrics();
  const auto b = qbar::PlaceBar({r.left, r.top, r.right, r.bottom}, static_cast<std::uint32_t>(GetWindowLongW(target, GWL_STYLE)),
                                static_cast<std::uint32_t>(GetWindowLongW(target, GWL_EXSTYLE)), position, normalFactor, m,
                                qbar::BarButtonWidth(m), qbar::BarButtonHeight(m));
  return {b.left, b.top, b.left + b.width, b.top + b.height};
}

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

bool BarShownAt(HWND bar, const RECT& expected) {
  return IsWindowVisible(bar) && SameRect(WindowRectOf(bar), expected);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The two buttons: the capture button fills the left half, the insert button the right.
RECT CaptureButtonRect(const RECT& bar) { return {bar.left, bar.top, (bar.left + bar.right) / 2, bar.bottom}; }
RECT InsertButtonRect(const RECT& bar) { return {(bar.left + bar.right) / 2, bar.top, bar.right, bar.bottom}; }

// A move to `p`, a press and a release, in one batch; with `vk` held down first when given.
void MouseClick(POINT p, WORD vk = 0) {
  SetCursorPos(p.x, p.y);
  INPUT input[4] = {};
  int n = 0;
  if (vk) {
    input[n].type = INPUT_KEYBOARD;
    input[n++].ki.wVk = vk;
  }
  input[n].type = INPUT_MOUSE;
  input[n].mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input[n].mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input[n++].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[n].type = INPUT_MOUSE;
  input[n++].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[n].type = INPUT_MOUSE;
  input[n++].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(n, input, sizeof(INPUT));
}

void Key(WORD vk, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(INPUT));
}

// Puts the pointer over `p` and waits until it is there, so that a later click moves nothing.
bool PointAt(POINT p) {
  return WaitUntil([&] {
    SetCursorPos(p.x, p.y);
    POINT at{};
    GetCursorPos(&at);
    return at.x == p.x && at.y == p.y;
  });
}

// A held modifier as a keyboard sends it: repeated key-downs. Wine drops a modifier injected by
// SendInput from its key state now and then (the X server never saw it pressed); the repeats
// put it back, as a real keyboard's auto-repeat would.
bool HoldKeyUntil(WORD vk, const std::function<bool()>& condition) {
  return WaitUntil([&] {
    Key(vk, true);
    return condition();
  });
}

// The pixels of a screen area, to see a button change its face.
std::vector<DWORD> Grab(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<DWORD> pixels(static_cast<std::size_t>(w * h));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const DWORD*>(bits);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// A face of the companion's buttons as it should look on screen: the icon from the companion's
// own resources, drawn the way an owner-drawn button of bw x bh draws it.
std::vector<DWORD> ExpectedFace(int iconId) {
  const auto m = Metrics();
  const int w = qbar::BarButtonWidth(m), h = qbar::BarButtonHeight(m);
  HMODULE module = LoadLibraryExW((testsupport::BinFolder() + L"qlt_bar.exe").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HICON icon = module ? static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 24, 24, 0)) : nullptr;
  std::vector<DWORD> pixels;
  if (icon) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    DrawIconEx(memory, 0, 0, icon, w, h, 0, nullptr, DI_IMAGE);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < w * h; ++i) pixels.push_back(p[i] & 0xFFFFFF);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DestroyIcon(icon);
  }
  if (module) FreeLibrary(module);
  return pixels;
}

// The caret of notepad's edit field in screen coordinates, read the way a user's eye would: from
// notepad's own thread information.
POINT NotepadCaret(HWND notepad) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(notepad, nullptr), &info);
  POINT p{info.rcCaret.left, info.rcCaret.bottom};
  ClientToScreen(info.hwndCaret, &p);
  return p;
}

bool ProcessRunning(const wchar_t* exeName) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL ok = Process32FirstW(snap, &entry); ok && !found; ok = Process32NextW(snap, &entry))
    found = _wcsicmp(entry.szExeFile, exeName) == 0;
  CloseHandle(snap);
  return found;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

class Companion : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::KillProcessesNamed(L"qlt_bar.exe");
    notepadProcess_ = ChildProcess(L"notepad.exe");
    ASSERT_TRUE(notepadProcess_.started());
    ASSERT_TRUE(WaitUntil([&] {
      notepad_ = testsupport::FindProcessWindow(notepadProcess_.id(), L"Notepad");
      return notepad_ && IsWindowVisible(notepad_);
    }));
    // A known place, well inside the screen.
    MoveWindow(notepad_, 200, 150, 640, 420, TRUE);
    ASSERT_TRUE(testsupport::ActivateAndWait(notepad_));
  }

  void TearDown() override {
    companion_.terminate();
    notepadProcess_.terminate();
  }

  // Starts the companion and waits for its bar to sit on notepad.
  void StartCompanion(const std::wstring& argument = L"", const std::wstring& folder = L"") {
    std::wstring line = Quoted(testsupport::BinFolder() + L"qlt_bar.exe");
    if (!argument.empty()) line += L" " + argument;
    companion_ = ChildProcess(line, folder);
    ASSERT_TRUE(companion_.started());
    ASSERT_TRUE(WaitUntil([&] { return (bar_ = testsupport::FindProcessWindow(companion_.id(), L"qbar_base")) != nullptr; }));
    ASSERT_TRUE(WaitUntil([&] { return BarShownAt(bar_, ExpectedBar(notepad_, position_)); }))
        << "bar at " << Show(WindowRectOf(bar_)) << ", expected " << Show(ExpectedBar(notepad_, position_));
  }

  LRESULT SendToBar(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(bar_, message, wParam, lParam);
  }

  void SendClasses(const std::vector<std::wstring>& names) {
    const std::wstring text = qbar::BuildClassListText(names);
    COPYDATASTRUCT data{0, static_cast<DWORD>(text.size() * sizeof(wchar_t)), const_cast<wchar_t*>(text.data())};
    SendToBar(WM_COPYDATA, reinterpret_cast<WPARAM>(main_.window()), reinterpret_cast<LPARAM>(&data));
  }

  bool BarOnNotepad(int position = qbar::kDefaultPosition) {
    return WaitUntil([&] { return BarShownAt(bar_, ExpectedBar(notepad_, position)); });
  }
  bool BarHidden() {
    return WaitUntil([&] { return !IsWindowVisible(bar_); });
  }

  FakeMainWindow main_;
  ChildProcess notepadProcess_;
  ChildProcess companion_;
  HWND notepad_ = nullptr;
  HWND bar_ = nullptr;
  int position_ = qbar::kDefaultPosition;
};

TEST_F(Companion, BarSitsInNotepadsCaptionAndFollowsIt) {
  StartCompanion();
  // Inside the caption, left of the caption buttons, not over them, at both ends of its range.
  const RECT window = WindowRectOf(notepad_);
  const auto m = Metrics();
  const int captionButtons = qbar::CaptionButtonWidth(static_cast<std::uint32_t>(GetWindowLongW(notepad_, GWL_STYLE)),
                                                      static_cast<std::uint32_t>(GetWindowLongW(notepad_, GWL_EXSTYLE)),
                                                      m, qbar::BarButtonWidth(m));
  for (const int position : {100, 1, 51}) {
    SendToBar(qbar::QBM_SETTINGS, static_cast<WPARAM>(position), 0);
    ASSERT_TRUE(BarOnNotepad(position)) << position;
    const RECT bar = WindowRectOf(bar_);
    EXPECT_LE(bar.right, window.right - captionButtons) << Show(bar) << " in " << Show(window);
    EXPECT_GT(bar.left, window.left + GetSystemMetrics(SM_CXFRAME));
    EXPECT_GE(bar.top, window.top + GetSystemMetrics(SM_CYFRAME));
    EXPECT_LE(bar.bottom, window.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION));
  }
  EXPECT_EQ(reinterpret_cast<HWND>(SendToBar(qbar::QBM_GET_TARGET)), notepad_);
  EXPECT_EQ(GetForegroundWindow(), notepad_) << "the bar must not take the foreground";

  // The companion found our main window at its start and greeted it.
  ASSERT_TRUE(main_.WaitFor(qbar::QBM_HELLO));
  EXPECT_EQ(reinterpret_cast<HWND>(main_.Find(qbar::QBM_HELLO)->wParam), bar_);

  for (const RECT& to : {RECT{60, 90, 760, 500}, RECT{300, 40, 1100, 700}}) {
    MoveWindow(notepad_, to.left, to.top, to.right - to.left, to.bottom - to.top, TRUE);
    EXPECT_TRUE(BarOnNotepad()) << "moved to " << Show(to) << ": bar at " << Show(WindowRectOf(bar_));
  }
}

TEST_F(Companion, ClicksReportTheTargetAndItsCaretToTheMainWindow) {
  testsupport::TempFolder folder(L"qbar");
  StartCompanion(L"de0", folder.path());
  const POINT caret = NotepadCaret(notepad_);
  ASSERT_TRUE(caret.x != 0 || caret.y != 0);
  const LPARAM packed = static_cast<LPARAM>(qbar::PackCaretPoint(caret.x, caret.y));

  MouseClick(Centre(InsertButtonRect(WindowRectOf(bar_))));
  ASSERT_TRUE(main_.WaitFor(qbar::QBM_SHOW_LIST));
  EXPECT_EQ(reinterpret_cast<HWND>(main_.Find(qbar::QBM_SHOW_LIST)->wParam), notepad_);
  EXPECT_EQ(main_.Find(qbar::QBM_SHOW_LIST)->lParam, packed);
  EXPECT_FALSE(main_.Find(qbar::QBM_CAPTURE));

  // With the extended view off, Shift changes nothing: the capture button still captures.
  ASSERT_TRUE(BarOnNotepad());
  ASSERT_TRUE(PointAt(Centre(CaptureButtonRect(WindowRectOf(bar_)))));
  HoldKeyUntil(VK_SHIFT, [] { return GetAsyncKeyState(VK_SHIFT) < 0; });
  MouseClick(Centre(CaptureButtonRect(WindowRectOf(bar_))), VK_SHIFT);
  const bool captured = main_.WaitFor(qbar::QBM_CAPTURE);
  Key(VK_SHIFT, false);
  ASSERT_TRUE(captured);
  EXPECT_EQ(reinterpret_cast<HWND>(main_.Find(qbar::QBM_CAPTURE)->wParam), notepad_);
  EXPECT_EQ(main_.Find(qbar::QBM_CAPTURE)->lParam, packed);
  EXPECT_FALSE(main_.Find(qbar::QBM_SCREENSHOT));

  // The click log ("de0") has one line per insert click, in the companion's current folder.
  ASSERT_TRUE(BarOnNotepad());
  MouseClick(Centre(InsertButtonRect(WindowRectOf(bar_))));
  EXPECT_TRUE(WaitUntil([&] { return testsupport::ReadFileBytes(folder / L"log_quilletmain.txt") == "Notepad\r\nNotepad\r\n"; }))
      << testsupport::ReadFileBytes(folder / L"log_quilletmain.txt");
}

TEST_F(Companion, ExtendedViewTurnsTheCaptureButtonIntoScreenshotAndHide) {
  StartCompanion();
  const RECT bar = WindowRectOf(bar_);
  const RECT captureButton = CaptureButtonRect(bar);
  const auto up = ExpectedFace(402), down = ExpectedFace(403), camera = ExpectedFace(406), eye = ExpectedFace(407);
  ASSERT_FALSE(up.empty());
  ASSERT_NE(up, camera);
  auto shows = [&](const RECT& button, const std::vector<DWORD>& face) {
    return WaitUntil([&] { return Grab(button) == face; });
  };
  EXPECT_TRUE(shows(InsertButtonRect(bar), down)) << "the insert button shows the down chevron";
  ASSERT_TRUE(shows(captureButton, up)) << "the capture button shows the up chevron";

  SendToBar(qbar::QBM_SETTINGS, qbar::kDefaultPosition, qbar::kExtendedOn << 16);
  ASSERT_TRUE(main_.WaitFor(qbar::QBM_SETTINGS_ACK));

  // Shift: the camera shows within a tick, and a press asks for a screenshot.
  ASSERT_TRUE(PointAt(Centre(captureButton)));
  const bool cameraShown = HoldKeyUntil(VK_SHIFT, [&] { return Grab(captureButton) == camera; });
  if (cameraShown) MouseClick(Centre(captureButton), VK_SHIFT);
  const bool screenshot = cameraShown && main_.WaitFor(qbar::QBM_SCREENSHOT);
  Key(VK_SHIFT, false);
  ASSERT_TRUE(cameraShown) << "the capture button did not show the camera";
  ASSERT_TRUE(screenshot) << main_.Log();
  EXPECT_EQ(reinterpret_cast<HWND>(main_.Find(qbar::QBM_SCREENSHOT)->wParam), notepad_);
  EXPECT_FALSE(main_.Find(qbar::QBM_CAPTURE));
  ASSERT_TRUE(shows(captureButton, up));

  // Alt: the eye shows, and a press hides the bar on notepad's class and tells the main program.
  ASSERT_TRUE(testsupport::ActivateAndWait(notepad_));
  ASSERT_TRUE(BarOnNotepad());
  const bool eyeShown = HoldKeyUntil(VK_MENU, [&] { return Grab(captureButton) == eye; });
  if (eyeShown) MouseClick(Centre(captureButton), VK_MENU);
  const bool visibility = eyeShown && main_.WaitFor(qbar::QBM_VISIBILITY);
  Key(VK_MENU, false);
  Key(VK_ESCAPE, true);  // a lone Alt opens notepad's menu; leave it
  Key(VK_ESCAPE, false);
  ASSERT_TRUE(eyeShown) << "the capture button did not show the eye";
  ASSERT_TRUE(visibility) << main_.Log();
  EXPECT_EQ(reinterpret_cast<HWND>(main_.Find(qbar::QBM_VISIBILITY)->wParam), notepad_);
  EXPECT_EQ(main_.Find(qbar::QBM_VISIBILITY)->lParam, qbar::kVisibilityHide);
  EXPECT_TRUE(BarHidden());

  // The handshake's reset brings it back; switching the view off brings back the plain face even
  // while Alt is held.
  ASSERT_TRUE(testsupport::ActivateAndWait(notepad_));
  SendToBar(qbar::QBM_VISIBILITY, 1);
  EXPECT_TRUE(BarOnNotepad());
  const bool eyeAgain = HoldKeyUntil(VK_MENU, [&] { return Grab(captureButton) == eye; });
  SendToBar(qbar::QBM_SETTINGS, qbar::kDefaultPosition, qbar::kExtendedOff << 16);
  const bool plainAgain = HoldKeyUntil(VK_MENU, [&] { return Grab(captureButton) == up; });
  Key(VK_MENU, false);
  Key(VK_ESCAPE, true);
  Key(VK_ESCAPE, false);
  EXPECT_TRUE(eyeAgain);
  EXPECT_TRUE(plainAgain);
}

TEST_F(Companion, HandshakeIsAnsweredWhileTheSendLasts) {
  StartCompanion();
  main_.received.clear();

  SendToBar(qbar::QBM_HELLO, reinterpret_cast<WPARAM>(main_.window()));
  ASSERT_EQ(main_.received.size(), 1u);
  EXPECT_EQ(main_.received[0].message, static_cast<UINT>(qbar::QBM_HELLO));
  EXPECT_EQ(reinterpret_cast<HWND>(main_.received[0].wParam), bar_);
  EXPECT_EQ(reinterpret_cast<HWND>(main_.received[0].lParam), notepad_);

  // Settings are acknowledged with the same lParam; the position is applied at once and one
  // outside 1..100 counts as 51.
  struct Case { WPARAM position; LPARAM lParam; int applied; };
  const Case cases[] = {
      {100, qbar::kExtendedOff << 16, 100},
      {0, 2, 51},
      {1, qbar::kExtendedOn << 16, 1},
      {101, 1, 51},
      {static_cast<WPARAM>(-5), 7 << 16, 51},
  };
  for (const auto& c : cases) {
    main_.received.clear();
    SendToBar(qbar::QBM_SETTINGS, c.position, c.lParam);
    ASSERT_EQ(main_.received.size(), 1u) << c.position;
    EXPECT_EQ(main_.received[0].message, static_cast<UINT>(qbar::QBM_SETTINGS_ACK));
    EXPECT_EQ(reinterpret_cast<HWND>(main_.received[0].wParam), bar_);
    EXPECT_EQ(main_.received[0].lParam, c.lParam);
    EXPECT_TRUE(BarShownAt(bar_, ExpectedBar(notepad_, c.applied)))
        << "position " << c.position << ": bar at " << Show(WindowRectOf(bar_));
  }

  // Classes from the store hide the bar on their windows until the next reset.
  SendClasses({L"SomeOtherClass", L"Notepad"});
  EXPECT_TRUE(BarHidden());
  EXPECT_EQ(reinterpret_cast<HWND>(SendToBar(qbar::QBM_GET_TARGET)), notepad_);
  SendToBar(qbar::QBM_VISIBILITY, 2);  // only 1 resets
  SendToBar(qbar::QBM_SETTINGS, 51, 0);
  EXPECT_FALSE(IsWindowVisible(bar_));
  // While tracking keeps its hands off the target (its class is hidden), a forgotten target
  // stays forgotten.
  SendToBar(qbar::QBM_FORGET_TARGET);
  EXPECT_EQ(SendToBar(qbar::QBM_GET_TARGET), 0);
  SendToBar(qbar::QBM_VISIBILITY, 1);
  EXPECT_TRUE(BarOnNotepad());
  EXPECT_EQ(reinterpret_cast<HWND>(SendToBar(qbar::QBM_GET_TARGET)), notepad_);
}

// Windows of excluded classes get no bar and do not become the target; the bar position dialog
// gets the bar further left.
TEST_F(Companion, ExcludedClassesGetNoBar) {
  StartCompanion();
  struct Case { const wchar_t* className; bool bar; bool normalFactor; };
  const Case cases[] = {
      {L"CabinetWClass", false, true},
      {L"#32770", false, true},
      {L"TF_SetBarPos", true, false},
  };
  for (const auto& c : cases) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = c.className;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, c.className, L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 300, 500, 300,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    ASSERT_TRUE(testsupport::ActivateAndWait(window));
    if (c.bar) {
      EXPECT_TRUE(WaitUntil([&] { return BarShownAt(bar_, ExpectedBar(window, 51, c.normalFactor)); }))
          << "bar at " << Show(WindowRectOf(bar_));
      EXPECT_EQ(reinterpret_cast<HWND>(SendToBar(qbar::QBM_GET_TARGET)), window);
    } else {
      EXPECT_TRUE(BarHidden()) << c.className;
      EXPECT_EQ(reinterpret_cast<HWND>(SendToBar(qbar::QBM_GET_TARGET)), notepad_) << c.className;
    }
    DestroyWindow(window);
    ASSERT_TRUE(testsupport::ActivateAndWait(notepad_));
    ASSERT_TRUE(BarOnNotepad());
  }
}

TEST_F(Companion, BadInputFromOtherProcessesIsHarmless) {
  StartCompanion();
  const std::wstring marker(qbar::kClassListMarker);

  // No COPYDATASTRUCT at all, no data, an odd byte count, megabytes of text.
  SendToBar(WM_COPYDATA, 0, 0);
  COPYDATASTRUCT empty{0, 0, nullptr};
  SendToBar(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty));
  const std::wstring odd = L"Notepad" + marker;
  COPYDATASTRUCT oddBytes{0, static_cast<DWORD>(odd.size() * 2 - 1), const_cast<wchar_t*>(odd.data())};
  SendToBar(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&oddBytes));
  EXPECT_TRUE(BarOnNotepad()) << "the marker was cut short: nothing is hidden";
  std::wstring huge;
  while (huge.size() < 2'000'000) huge += L"NoSuchClassNameAtAll" + marker;
  huge += std::wstring(500'000, L'x');
  COPYDATASTRUCT hugeData{7, static_cast<DWORD>(huge.size() * 2), huge.data()};
  SendToBar(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&hugeData));

  for (const WPARAM position : {WPARAM{0}, WPARAM{101}, static_cast<WPARAM>(-1), WPARAM{1} << 40})
    for (const LPARAM selector : {LPARAM{-1}, LPARAM{0x7FFF0000}, LPARAM{3} << 16})
      SendToBar(qbar::QBM_SETTINGS, position, selector);

  EXPECT_TRUE(companion_.running());
  EXPECT_EQ(reinterpret_cast<HWND>(SendToBar(qbar::QBM_GET_TARGET)), notepad_);
  EXPECT_TRUE(BarOnNotepad(qbar::kDefaultPosition));
  // Still tracking after all that: a class sent now still takes effect.
  SendClasses({L"Notepad"});
  EXPECT_TRUE(BarHidden());
}

TEST_F(Companion, CloseEndsTheProcessAndASecondStartExitsAtOnce) {
  StartCompanion();
  ChildProcess second(Quoted(testsupport::BinFolder() + L"qlt_bar.exe"));
  EXPECT_EQ(second.wait(), 0u);
  EXPECT_TRUE(companion_.running());

  PostMessageA(bar_, WM_CLOSE, 0, 0);
  EXPECT_EQ(companion_.wait(), 0u);
  EXPECT_FALSE(IsWindow(bar_));
  EXPECT_FALSE(FindWindowA(qbar::kBarWindowClass, qbar::kBarWindowTitle));
}

// Without a main window the companion starts "quilletmain.exe" by its bare name, which finds
// the one next to the companion first: a copy of the companion beside a stand-in shows it.
TEST(CompanionStart, StartsTheMainProgramWhenNoMainWindowExists) {
  testsupport::KillProcessesNamed(L"qlt_bar.exe");
  ASSERT_FALSE(FindWindowA(qbar::kMainWindowClass, qbar::kMainWindowTitle));
  testsupport::TempFolder folder(L"qbar");
  const std::wstring bin = testsupport::BinFolder();
  ASSERT_TRUE(CopyFileW((bin + L"qlt_bar.exe").c_str(), (folder / L"qlt_bar.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((bin + L"e2e_companion_standin.exe").c_str(), (folder / L"quilletmain.exe").c_str(), FALSE));

  ChildProcess companion(Quoted(folder / L"qlt_bar.exe"), folder.path());
  EXPECT_TRUE(WaitUntil([&] { return testsupport::ReadFileBytes(folder / L"started.txt") == "quilletmain.exe"; }))
      << testsupport::ReadFileBytes(folder / L"started.txt");
  EXPECT_TRUE(ProcessRunning(L"quilletmain.exe"));
  companion.terminate();
  testsupport::KillProcessesNamed(L"quilletmain.exe");

  // With a main window present nothing is started: the greeting arrives instead.
  DeleteFileW((folder / L"started.txt").c_str());
  FakeMainWindow main;
  ChildProcess again(Quoted(folder / L"qlt_bar.exe"), folder.path());
  ASSERT_TRUE(main.WaitFor(qbar::QBM_HELLO));  // sent after the point where it would have started one
  again.terminate();
  EXPECT_FALSE(ProcessRunning(L"quilletmain.exe"));
  EXPECT_FALSE(testsupport::FileExists(folder / L"started.txt"));
}

}  // namespace

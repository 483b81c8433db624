// The bar window: its class, its procedure, the two owner-drawn buttons and their clicks.
#include <cstdio>
#include <string_view>

#include "shared/Caret.h"
#include "companion/Companion.h"

namespace companion {

State g;

namespace {

// The longest a click waits for the target to come to the foreground before it asks for the
// caret. Activation of another program's window completes asynchronously; usually it is already
// there, having been asked for at the press.
constexpr DWORD kForegroundWaitMs = 100;

void AwaitTargetForeground() {
  const DWORD start = GetTickCount();
  bool askedAgain = false;
  for (;;) {
    if (!g.target || GetForegroundWindow() == g.target) return;
    const DWORD waited = GetTickCount() - start;
    // After the first 10 ms ask once more: the press may have raced another activation.
    if (!askedAgain && waited >= 10) {
      SetForegroundWindow(g.target);
      askedAgain = true;
    }
    if (waited >= kForegroundWaitMs) return;
    // Serve messages sent to us meanwhile (activation changes involve our windows too).
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
  }
}

// The main program shows itself in answer to a click; on Windows it may take the foreground only
// when the process that has it allows so.
void LetMainTakeForeground() {
  DWORD process = 0;
  if (g.mainWindow && GetWindowThreadProcessId(g.mainWindow, &process)) AllowSetForegroundWindow(process);
}

LPARAM TargetCaretPoint() {
  const POINT caret = CaretScreenPosition(g.target);
  return static_cast<LPARAM>(qbar::PackCaretPoint(caret.x, caret.y));
}

void AppendClickLog() {
  char name[qbar::kClassNameBufferChars] = {};
  const int length = GetClassNameA(g.target, name, qbar::kClassNameBufferChars);
  std::FILE* log = std::fopen("log_quilletmain.txt", "a");
  if (!log) return;
  if (length > 0) std::fwrite(name, 1, static_cast<std::size_t>(length), log);
  std::fputc('\n', log);
  std::fclose(log);
}

void InsertClick() {
  AwaitTargetForeground();
  if (g.mainWindow) {
    const LPARAM caret = TargetCaretPoint();
    LetMainTakeForeground();
    SendMessageA(g.mainWindow, qbar::QBM_SHOW_LIST, reinterpret_cast<WPARAM>(g.target), caret);
  }
  if (g.clickLog) AppendClickLog();
  g.clickBusy = false;
}

void CaptureClick() {
  // The press acts as the face it was made on. Waiting for the target below lets timer ticks
  // through, and bringing the target forward can change the keys' state before the message goes.
  const int mode = g.captureMode;
  if (mode == kCaptureHideClass) {
    wchar_t name[qbar::kClassNameBufferChars];
    const int length = GetClassNameW(g.target, name, qbar::kClassNameBufferChars);
    g.hidden.Append(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
    SendMessageA(g.mainWindow, qbar::QBM_VISIBILITY, reinterpret_cast<WPARAM>(g.target), qbar::kVisibilityHide);
  } else {
    AwaitTargetForeground();
    const LPARAM caret = TargetCaretPoint();
    LetMainTakeForeground();
    const UINT message = mode == kCaptureScreenshot ? qbar::QBM_SCREENSHOT : qbar::QBM_CAPTURE;
    SendMessageA(g.mainWindow, message, reinterpret_cast<WPARAM>(g.target), caret);
  }
  g.clickBusy = false;
}

void SetCaptureMode(int mode) {
  if (mode == g.captureMode) return;
  g.captureMode = mode;
  if (g.captureButton) RedrawWindow(g.captureButton, nullptr, nullptr, RDW_INVALIDATE);
}

// The keys are read as they are now, not as our own thread last saw them: the keyboard belongs
// to the window under the bar, so the thread's view would stay as it was at our last click.
bool KeyDown(int key) { return GetAsyncKeyState(key) < 0; }

void UpdateCaptureMode() {
  if (KeyDown(VK_SHIFT))
    SetCaptureMode(kCaptureScreenshot);
  else if (KeyDown(VK_MENU))
    SetCaptureMode(kCaptureHideClass);
  else
    SetCaptureMode(kCaptureNormal);
}

void ApplySettings(WPARAM wParam, LPARAM lParam) {
  g.position = qbar::SanePosition(static_cast<long long>(wParam));
  if (lParam > 0xFFFF) {
    const unsigned selector = static_cast<unsigned>((static_cast<unsigned long long>(lParam) >> 16) & 0xFFFF);
    if (selector == qbar::kExtendedOn) g.extendedView = true;
    if (selector == qbar::kExtendedOff) {
      g.extendedView = false;
      // A mode caught while a key was held must not outlive the view that gave it meaning.
      SetCaptureMode(kCaptureNormal);
    }
  }
  Track();
  SendMessageA(g.mainWindow, qbar::QBM_SETTINGS_ACK, reinterpret_cast<WPARAM>(g.bar), lParam);
}

// Only the two buttons are part of the bar: everything around them is outside the window.
void UpdateRegion(HWND bar) {
  RECT barRect, captureRect, insertRect;
  if (!GetWindowRect(bar, &barRect) || !GetWindowRect(g.captureButton, &captureRect) ||
      !GetWindowRect(g.insertButton, &insertRect))
    return;
  POINT points[8];
  int i = 0;
  for (const RECT& r : {captureRect, insertRect}) {
    const LONG left = r.left - barRect.left, top = r.top - barRect.top;
    const LONG right = r.right - barRect.left, bottom = r.bottom - barRect.top;
    points[i++] = {left, top};
    points[i++] = {right, top};
    points[i++] = {right, bottom};
    points[i++] = {left, bottom};
  }
  const INT counts[2] = {4, 4};
  HRGN region = CreatePolyPolygonRgn(points, counts, 2, ALTERNATE);
  if (!region) return;
  // Setting a region redraws the window; setting the same one at every paint would paint forever.
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  const bool same = current && GetWindowRgn(bar, current) != ERROR && EqualRgn(current, region);
  if (current) DeleteObject(current);
  if (same)
    DeleteObject(region);
  else
    SetWindowRgn(bar, region, TRUE);  // the system owns the region from here on
}

void DrawFace(const DRAWITEMSTRUCT& item) {
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  Face face;
  if (item.CtlID == kInsertButtonId) {
    face = pressed ? kFaceDownPressed : kFaceDown;
  } else if (g.captureMode == kCaptureScreenshot) {
    face = kFaceCamera;
  } else if (g.captureMode == kCaptureHideClass) {
    face = kFaceEye;
  } else {
    face = pressed ? kFaceUpPressed : kFaceUp;
  }
  if (g.icons[face]) DrawIconEx(item.hDC, 0, 0, g.icons[face], g.bw, g.bh, 0, nullptr, DI_IMAGE);
}

void LayOutButtons(int width) {
  MoveWindow(g.captureButton, (width - 2 * g.bw) / 2, 0, g.bw, g.bh, TRUE);
  MoveWindow(g.insertButton, width / 2, 0, g.bw, g.bh, TRUE);
}

HWND CreateButton(HWND bar, int id) {
  return CreateWindowExA(0, "BUTTON", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, bar,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void RecomputeButtonSize() {
  g.bw = GetSystemMetrics(SM_CXSIZE) - 2;
  g.bh = GetSystemMetrics(SM_CYSIZE) - 2;
}

LRESULT CALLBACK BarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g.bar = window;
      SetTimer(window, kTrackingTimerId, kTrackingIntervalMs, nullptr);
      g.insertButton = CreateButton(window, kInsertButtonId);
      g.captureButton = CreateButton(window, kCaptureButtonId);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      RecomputeButtonSize();
      if (wParam != SIZE_MINIMIZED) LayOutButtons(LOWORD(lParam));
      return 0;
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      UpdateRegion(window);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(g.captureButton);
      DestroyWindow(g.insertButton);
      g.captureButton = g.insertButton = nullptr;
      KillTimer(window, kTrackingTimerId);
      PostQuitMessage(0);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      // A press on the bar must leave the window under it in front, with its caret: otherwise
      // the press itself would hand the foreground to the bar before the click could report it.
      return MA_NOACTIVATE;
    case WM_ACTIVATEAPP:
      // The bar takes the activation once, when it first appears: hand it back at once.
      if (!g.activatedOnce) {
        g.activatedOnce = true;
        SetForegroundWindow(g.target);
      }
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item && (item->CtlID == kInsertButtonId || item->CtlID == kCaptureButtonId)) {
        DrawFace(*item);
        return TRUE;
      }
      return 0;
    }
    case WM_COPYDATA: {
      // Another process's data: the pointer may be null, the count odd or huge.
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      try {
        if (data) g.hidden.AppendFromText(data->lpData, data->cbData);
      } catch (...) {
      }
      return 0;
    }
    case WM_NCHITTEST:
      return HTNOWHERE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kInsertButtonId) InsertClick();
      if (LOWORD(wParam) == kCaptureButtonId) CaptureClick();
      return 0;
    case WM_TIMER:
      try {
        if (g.extendedView) UpdateCaptureMode();
        Track();
      } catch (...) {
      }
      return 0;
    case WM_THEMECHANGED:
      RedrawWindow(window, nullptr, nullptr, RDW_INTERNALPAINT);
      return 0;
    case qbar::QBM_HELLO:
      g.mainWindow = reinterpret_cast<HWND>(wParam);
      SendMessageA(g.mainWindow, qbar::QBM_HELLO, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(g.target));
      return 0;
    case qbar::QBM_SETTINGS:
      ApplySettings(wParam, lParam);
      return 0;
    case qbar::QBM_FORGET_TARGET:
      g.target = nullptr;
      return 0;
    case qbar::QBM_HIDE:
      ShowWindow(window, SW_HIDE);
      return 0;
    case qbar::QBM_SHOW:
      ShowWindow(window, SW_SHOWNA);
      return 0;
    case qbar::QBM_GET_TARGET:
      return reinterpret_cast<LRESULT>(g.target);
    case qbar::QBM_VISIBILITY:
      if (wParam == 1) g.hidden.ResetToBuiltIn();
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A press acts at once, on the way down: the button never sees it, so it never shows pressed
// and never takes the focus. A quick second press arrives as a double click and is a press too.
LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) &&
      (button == g.insertButton || button == g.captureButton)) {
    SetForegroundWindow(g.target);
    g.clickBusy = true;
    SendMessageA(g.bar, WM_COMMAND, button == g.insertButton ? kInsertButtonId : kCaptureButtonId, 0);
    return 0;
  }
  const WNDPROC previous = button == g.insertButton    ? g.savedInsertProc
                           : button == g.captureButton ? g.savedCaptureProc
                                                       : nullptr;
  return previous ? CallWindowProcA(previous, button, message, wParam, lParam)
                  : DefWindowProcA(button, message, wParam, lParam);
}

int NonActivating(int showCommand) {
  switch (showCommand) {
    case SW_HIDE:
    case SW_SHOWMINNOACTIVE:
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      return showCommand;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      return SW_SHOWMINNOACTIVE;
    default:
      return SW_SHOWNA;
  }
}

}  // namespace

HWND CreateBarWindow(HINSTANCE instance, int showCommand) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = BarWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = qbar::kBarWindowClass;
  if (!RegisterClassA(&windowClass)) return nullptr;

  // The bar must keep pace with the window it sits on; the system grants a lower class when the
  // user may not have this one.
  SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
  RecomputeButtonSize();
  // Created hidden and then shown without activation: a bar that took the activation at its
  // start would hold the foreground instead of the window it is meant to sit on.
  HWND bar = CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW, qbar::kBarWindowClass, qbar::kBarWindowTitle,
                             WS_POPUP | WS_CLIPSIBLINGS, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr,
                             instance, nullptr);
  if (!bar) return nullptr;
  g.bar = bar;
  ShowWindow(bar, NonActivating(showCommand));
  UpdateWindow(bar);
  return bar;
}

void SubclassButtons() {
  g.savedInsertProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(g.insertButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc)));
  g.savedCaptureProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(g.captureButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc)));
}

void RestoreButtons() {
  if (g.savedInsertProc && IsWindow(g.insertButton))
    SetWindowLongPtrA(g.insertButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g.savedInsertProc));
  if (g.savedCaptureProc && IsWindow(g.captureButton))
    SetWindowLongPtrA(g.captureButton, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g.savedCaptureProc));
}

}  // namespace companion

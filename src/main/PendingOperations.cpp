// Operations that the shell calls at their fixed places in start-up, the idle machine, the
// message map and shut-down, but which belong to other subsystems of the program: settings, hot
// keys, auto start, the stores, the refill worker, capture, the bar, the update check, language.
// Each one moves to its subsystem's own file when that subsystem is built; until then it does
// nothing beyond keeping the state consistent.
#include "main/CurInsWindow.h"

#include "shared/Protocol.h"

bool TCurInsWindow::IsExcludedWindow(HWND window, bool withBarDialogs) {
  if (!window) return true;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId()) return true;
  wchar_t cls[qbar::kClassNameBufferChars] = {};
  GetClassNameW(window, cls, qbar::kClassNameBufferChars);
  if (qbar::ListMatches(ExcludedClasses, cls)) return true;
  return withBarDialogs && qbar::ListMatches(BarDialogClasses, cls);
}

HWND TCurInsWindow::FindBarWindow() {
  FoundBarWindow = FindWindowA(qbar::kBarWindowClass, qbar::kBarWindowTitle);
  return FoundBarWindow;
}

void TCurInsWindow::CloseCompanion() {
  if (HWND bar = FindBarWindow()) SendMessageA(bar, WM_CLOSE, 0, 0);
  CompanionSynchronised = false;
}

void TCurInsWindow::StartCompanion() {}
void TCurInsWindow::BarIdleStep() {}
LRESULT TCurInsWindow::OnBarMessage(UINT, WPARAM, LPARAM) { return 0; }
void TCurInsWindow::OnHotKey(WPARAM, LPARAM) {}
void TCurInsWindow::OnUpdateResult() {}
void TCurInsWindow::CheckVersionIfDue() {}

void TCurInsWindow::ReadSettings() {}
void TCurInsWindow::WriteSettings() {}
void TCurInsWindow::SwitchLanguage(int) {}
void TCurInsWindow::ApplyAutoStart() {}
void TCurInsWindow::RegisterAllHotKeys() {}
void TCurInsWindow::UnregisterAllHotKeys() {}
void TCurInsWindow::OfferDemoText() {}

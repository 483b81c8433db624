// qlt_bar: keeps two small buttons in the caption of the foreground window and reports their
// clicks to the main program. One instance per session.
#include "companion/Companion.h"

using companion::g;

namespace {

void LoadIcons(HINSTANCE instance) {
  for (int i = 0; i < companion::kIconCount; ++i)
    g.icons[i] = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(companion::kFirstIconId + i), IMAGE_ICON, 24, 24, LR_DEFAULTCOLOR));
}

void DestroyIcons() {
  for (HICON& icon : g.icons) {
    if (icon) DestroyIcon(icon);
    icon = nullptr;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, qbar::kBarMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    if (mutex) CloseHandle(mutex);
    return 0;
  }

  const auto options = qbar::ParseCompanionArgument(qbar::FirstCommandLineArgument(GetCommandLineW()));
  g.position = options.position;
  g.clickLog = options.clickLog;

  g.mainWindow = FindWindowA(qbar::kMainWindowClass, qbar::kMainWindowTitle);
  // Found next to us first, then on the search path; it announces itself with QBM_HELLO.
  if (!g.mainWindow) WinExec(qbar::kMainExeName, SW_HIDE);

  g.target = GetForegroundWindow();
  if (!companion::CreateBarWindow(instance, showCommand)) {
    if (mutex) CloseHandle(mutex);
    return 0;
  }
  companion::SubclassButtons();
  LoadIcons(instance);
  if (g.mainWindow)
    SendMessageA(g.mainWindow, qbar::QBM_HELLO, reinterpret_cast<WPARAM>(g.bar), reinterpret_cast<LPARAM>(g.target));

  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }

  DestroyIcons();
  companion::RestoreButtons();
  if (IsWindow(g.bar)) DestroyWindow(g.bar);
  if (mutex) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
  return static_cast<int>(msg.wParam);
}

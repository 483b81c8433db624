// Drives a running quilletmain.exe the way the taskbar would, for screenshots and manual checks:
//   shell_tray_poke left    left click on the tray icon (show or hide the window)
//   shell_tray_poke menu    right click (open the tray menu)
//   shell_tray_poke key K   post virtual key K (decimal) to the open menu
#include "ui/TrayIcon.h"

#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring what = argv[1];
  if (what == L"key" && argc == 3) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu) return 1;
    const WPARAM vk = static_cast<WPARAM>(std::wcstol(argv[2], nullptr, 10));
    PostMessageW(menu, WM_KEYDOWN, vk, 0);
    PostMessageW(menu, WM_KEYUP, vk, 0xC0000000);
    return 0;
  }
  HWND tray = FindWindowW(ui::kTrayWindowClass, nullptr);
  if (!tray) return 1;
  WORD event = what == L"left" ? WM_LBUTTONUP : WM_CONTEXTMENU;
  if (what == L"menu") {
    // As the taskbar does on a right click: button up, then the context-menu request.
    PostMessageW(tray, ui::kTrayCallbackMessage, MAKEWPARAM(700, 500), MAKELPARAM(WM_RBUTTONUP, 1));
  }
  PostMessageW(tray, ui::kTrayCallbackMessage, MAKEWPARAM(700, 500), MAKELPARAM(event, 1));
  return 0;
}

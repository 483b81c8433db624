#include "ui/ProgressBar.h"

#include <commctrl.h>

#include <uxtheme.h>

namespace ui {

ProgressBar::ProgressBar(Component* owner, std::wstring name, HWND parent, COLORREF bar, COLORREF background)
    : Control(owner, std::move(name)) {
  CreateSubclassed(0, PROGRESS_CLASSW, L"", WS_CHILD | PBS_SMOOTH, 0, 0, 100, 7, parent);
  SetWindowTheme(hwnd_, L"", L"");
  SendMessageW(hwnd_, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(bar));
  SendMessageW(hwnd_, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
  SendMessageW(hwnd_, PBM_SETSTEP, 1, 0);
}

void ProgressBar::SetRange(int max) { SendMessageW(hwnd_, PBM_SETRANGE32, 0, max); }
void ProgressBar::SetPosition(int pos) { SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(pos), 0); }
void ProgressBar::StepIt() { SendMessageW(hwnd_, PBM_STEPIT, 0, 0); }

}  // namespace ui

#include "shared/Caret.h"

HWND TopLevelAncestor(HWND window) {
  if (!window) return nullptr;
  for (HWND parent = GetParent(window); parent; parent = GetParent(window)) window = parent;
  return window;
}

POINT CaretScreenPosition(HWND window) {
  GUITHREADINFO info{};
  // The structure's own size: 48 bytes in 32-bit programs, 72 in ours.
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(0, &info)) return {0, 0};
  POINT point{info.rcCaret.left, info.rcCaret.bottom};
  if (point.x != 0 || point.y != 0) {
    ClientToScreen(info.hwndCaret, &point);
    return point;
  }

  // Some programs keep their caret out of the thread information: ask the caret functions from
  // inside the window's input state instead.
  const DWORD self = GetCurrentThreadId();
  const DWORD other = GetWindowThreadProcessId(window, nullptr);
  if (!other || other == self || !AttachThreadInput(self, other, TRUE)) return {0, 0};
  const HWND focus = GetFocus();
  POINT caret{0, 0};
  GetCaretPos(&caret);
  POINT result{0, 0};
  if (caret.x != 0 || caret.y != 0) {
    RECT rect;
    if (TopLevelAncestor(focus) != focus && GetWindowRect(focus, &rect)) {
      result = {caret.x + rect.left, caret.y + rect.top};
    } else {
      result = caret;
      ClientToScreen(window, &result);
    }
  }
  AttachThreadInput(self, other, FALSE);
  return result;
}

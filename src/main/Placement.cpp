#include "main/Placement.h"

#include <cstdlib>

namespace placement {

POINT Centre(Size window, Size screen) {
  return {(screen.width - window.width) / 2, (screen.height - window.height) / 2};
}

POINT NearPoint(bool hasTarget, const RECT& target, POINT point, Size window, Size screen) {
  if (!hasTarget) return Centre(window, screen);
  const int rightBound = target.right < screen.width ? target.right : screen.width;
  const int bottomBound = screen.height;
  if (point.x > 0 || point.y > 0) {
    POINT p;
    p.x = point.x + window.width <= rightBound ? point.x : std::abs(point.x - window.width);
    p.y = point.y + window.height <= bottomBound ? point.y : std::abs(point.y - window.height);
    if (p.y > bottomBound || p.x > rightBound) return Centre(window, screen);
    return p;
  }
  // No caret: centre over the target, unless that would put the window above or left of the screen.
  POINT p{target.left + (target.right - target.left - window.width) / 2,
          target.top + (target.bottom - target.top - window.height) / 2};
  if (p.x >= 0 && p.y >= 0) return p;
  return Centre(window, screen);
}

int TrayItemWidth(int widestCaption) {
  const int w = static_cast<int>(widestCaption * 1.6);
  return w < kMinTrayItemWidth ? kMinTrayItemWidth : w;
}

}  // namespace placement

POINT CaretScreenPosition(HWND window) {
  // The structure's real size: a fixed 32-bit size would make the call fail on 64-bit Windows.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(GetForegroundWindow(), nullptr), &info)) return {0, 0};
  POINT p{info.rcCaret.left, info.rcCaret.bottom};
  if (p.x != 0 || p.y != 0) {
    ClientToScreen(info.hwndCaret, &p);
    return p;
  }
  const DWORD self = GetCurrentThreadId();
  const DWORD other = GetWindowThreadProcessId(window, nullptr);
  if (!other || !AttachThreadInput(self, other, TRUE)) return {0, 0};
  HWND focus = GetFocus();
  p = {0, 0};
  GetCaretPos(&p);
  if (p.x != 0 || p.y != 0) {
    HWND top = TopLevelAncestor(focus);
    if (top && top != focus) {
      RECT r{};
      GetWindowRect(focus, &r);
      p.x += r.left;
      p.y += r.top;
    } else {
      ClientToScreen(window, &p);
    }
  }
  AttachThreadInput(self, other, FALSE);
  return p;
}

HWND TopLevelAncestor(HWND w) {
  if (!w) return nullptr;
  while (HWND parent = GetParent(w)) w = parent;
  return w;
}

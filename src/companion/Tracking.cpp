// Keeps the bar on the caption of the foreground window, or out of sight.
#include <string_view>

#include "companion/Companion.h"
#include "shared/BarPlacement.h"

namespace companion {

namespace {

qbar::CaptionMetrics CurrentMetrics() {
  qbar::CaptionMetrics m;
  m.cxFrame = GetSystemMetrics(SM_CXFRAME);
  m.cyFrame = GetSystemMetrics(SM_CYFRAME);
  m.cxFixedFrame = GetSystemMetrics(SM_CXFIXEDFRAME);
  m.cyFixedFrame = GetSystemMetrics(SM_CYFIXEDFRAME);
  m.cxSize = GetSystemMetrics(SM_CXSIZE);
  m.cySize = GetSystemMetrics(SM_CYSIZE);
  return m;
}

bool Unusable(HWND window) {
  return !window || window == g.bar || !IsWindowVisible(window) || IsIconic(window) || !IsWindow(window);
}

// Puts the bar away when the foreground is nothing it can sit on. The main window becomes the
// target then, so that a click on a hot key or the tray acts on something sensible.
void Retreat() {
  if (!IsWindowVisible(g.bar)) return;
  ShowWindow(g.bar, SW_HIDE);
  g.target = g.mainWindow;
  if (g.mainWindow) SetForegroundWindow(g.mainWindow);
  SetWindowPos(g.bar, nullptr, 0, 0, 0, 0, SWP_NOREDRAW | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void Track() {
  if (g.clickBusy) return;
  const HWND foreground = GetForegroundWindow();
  if (!foreground) {
    // No foreground window happens for a moment while the foreground passes from one window to
    // another. Pushing the main window forward then would take the foreground from the window
    // the user is activating: only keep the bar out of sight until the next tick.
    if (IsWindowVisible(g.bar)) ShowWindow(g.bar, SW_HIDE);
    return;
  }
  if (Unusable(foreground) && g.target) {
    Retreat();
    return;
  }

  wchar_t name[qbar::kClassNameBufferChars];
  const int length = GetClassNameW(foreground, name, qbar::kClassNameBufferChars);
  if (length <= 0) return;  // the window went away meanwhile
  const std::wstring_view className(name, static_cast<std::size_t>(length));
  if (g.hidden.Matches(className)) {
    ShowWindow(g.bar, SW_HIDE);
    return;
  }

  g.target = foreground;
  const bool normalFactor = !qbar::ListMatches(qbar::kBarDialogClasses, className);
  RECT rect;
  if (!GetWindowRect(foreground, &rect)) return;
  const auto style = static_cast<std::uint32_t>(GetWindowLongA(foreground, GWL_STYLE));
  const auto exStyle = static_cast<std::uint32_t>(GetWindowLongA(foreground, GWL_EXSTYLE));
  const qbar::BarRect bar = qbar::PlaceBar({rect.left, rect.top, rect.right, rect.bottom}, style, exStyle, g.position,
                                           normalFactor, CurrentMetrics(), g.bw, g.bh);
  // Raised above everything at every tick, but never activated: the window under the bar keeps
  // the foreground and the keyboard. When the bar already stands where it belongs, raising it is
  // all there is to do; moving and recomputing its frame hundreds of times a second for nothing
  // would cost a good share of a core.
  RECT current;
  if (IsWindowVisible(g.bar) && GetWindowRect(g.bar, &current) && current.left == bar.left && current.top == bar.top &&
      current.right - current.left == bar.width && current.bottom - current.top == bar.height) {
    SetWindowPos(g.bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  SetWindowPos(g.bar, HWND_TOPMOST, bar.left, bar.top, bar.width, bar.height, SWP_FRAMECHANGED | SWP_NOACTIVATE);
  ShowWindow(g.bar, SW_SHOWNA);
}

}  // namespace companion

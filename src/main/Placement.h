// Where the main window goes: centred on the primary screen, or next to a caret inside a target
// window. The arithmetic is free of windows so that it can be checked directly.
#pragma once

#include <windows.h>

namespace placement {

struct Size {
  int width = 0;
  int height = 0;
};

// Top-left corner that centres a window of `window` size on a screen of `screen` size
// (halves truncated toward zero).
POINT Centre(Size window, Size screen);

// Top-left corner for the window near `point`, the caret's bottom-left corner in screen
// coordinates (0, 0 when there is none), inside `target`'s rectangle. Without a target, or when
// the result would leave the screen, the window is centred.
POINT NearPoint(bool hasTarget, const RECT& target, POINT point, Size window, Size screen);

// Width of the owner-drawn tray items for the widest top-level caption.
int TrayItemWidth(int widestCaption);
inline constexpr int kMinTrayItemWidth = 175;

}  // namespace placement

// CaretScreenPosition and TopLevelAncestor are shared with the companion.
#include "shared/Caret.h"

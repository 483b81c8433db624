// The caret of another program's window, in screen coordinates: the main program places its window
// there, the companion sends it with a click. One routine, so both programs agree on the point.
#pragma once

#include <windows.h>

// The caret's bottom-left corner, or (0, 0) when none is found. Asks the foreground thread
// first, so call it right after bringing `window` to the foreground.
POINT CaretScreenPosition(HWND window);

// Null for null; otherwise the last window up the parent chain.
HWND TopLevelAncestor(HWND window);

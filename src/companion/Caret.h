// The caret of another program's window, in screen coordinates. The main program carries the
// same routine; the companion needs it for the point it sends with a click.
#pragma once

#include <windows.h>

namespace companion {

// The caret's bottom-left corner, or (0, 0) when none is found. Asks the foreground thread
// first, so call it right after bringing `window` to the foreground.
POINT CaretScreenPosition(HWND window);

// Null for null; otherwise the last window up the parent chain.
HWND TopLevelAncestor(HWND window);

}  // namespace companion

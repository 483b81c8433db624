// Where the companion's bar sits on a window's caption: pure arithmetic over the window
// rectangle, its styles and the system metrics, so that it can be checked without windows.
#pragma once

#include <cstdint>

namespace qbar {

struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct BarRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The system metrics the placement depends on (GetSystemMetrics of the same names).
struct CaptionMetrics {
  int cxFrame = 0;       // SM_CXFRAME
  int cyFrame = 0;       // SM_CYFRAME
  int cxFixedFrame = 0;  // SM_CXFIXEDFRAME
  int cyFixedFrame = 0;  // SM_CYFIXEDFRAME
  int cxSize = 0;        // SM_CXSIZE
  int cySize = 0;        // SM_CYSIZE
};

// One button of the bar is a caption button less a pixel on each side.
inline int BarButtonWidth(const CaptionMetrics& m) { return m.cxSize - 2; }
inline int BarButtonHeight(const CaptionMetrics& m) { return m.cySize - 2; }

// Pixels taken at the right end of the caption by the frame and the caption buttons of a window
// with these styles; `bw` is the bar's button width.
int CaptionButtonWidth(std::uint32_t style, std::uint32_t exStyle, const CaptionMetrics& m, int bw);

// The bar's rectangle on a window. `position` 1..100 runs along the caption (100 nearest the
// caption buttons); `normalFactor` is false only for the bar position dialog, which leaves more
// room. `bw` and `bh` are the bar's current button size.
BarRect PlaceBar(const WindowRect& window, std::uint32_t style, std::uint32_t exStyle, int position,
                 bool normalFactor, const CaptionMetrics& m, int bw, int bh);

}  // namespace qbar

#include "shared/BarPlacement.h"

#include <windows.h>

#include <cstdlib>

namespace qbar {

int CaptionButtonWidth(std::uint32_t style, std::uint32_t exStyle, const CaptionMetrics& m, int bw) {
  int width = 2 * ((style & WS_THICKFRAME) ? m.cxFrame : m.cxFixedFrame);
  if (style & WS_SYSMENU) width += bw;
  if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) width += 2 * bw - 2;
  if (exStyle & WS_EX_CONTEXTHELP) width += bw;
  return width;
}

BarRect PlaceBar(const WindowRect& window, std::uint32_t style, std::uint32_t exStyle, int position,
                 bool normalFactor, const CaptionMetrics& m, int bw, int bh) {
  const int span = CaptionButtonWidth(style, exStyle, m, bw) + 2 * bw;
  // The factors are single-precision values: 1.1f is a little above 1.1, which decides the
  // truncation for some spans. The product itself is taken in double.
  const float factor = normalFactor ? 1.1f : 1.5f;
  const int x0 = window.right - static_cast<int>(static_cast<double>(span) * static_cast<double>(factor));
  const int steps = std::abs(position - 100);
  const int x = x0 - steps * ((x0 - window.left) / 100);
  const int frameY = (style & WS_THICKFRAME) ? m.cyFrame : m.cyFixedFrame;
  BarRect bar;
  bar.left = std::abs(x);
  bar.top = window.top + frameY + (m.cySize - bh) / 2;
  bar.width = 2 * bw;
  bar.height = bh;
  return bar;
}

}  // namespace qbar

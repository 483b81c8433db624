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


#include "shared/BarPlacement.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace qbar;

namespace {

// SM_CXSIZE 18 (bw 16), frames 4, SM_CYSIZE 18 (bh 16); fixed frames differ so that a mix-up shows.
constexpr CaptionMetrics kMetrics{4, 4, 3, 3, 18, 18};
constexpr std::uint32_t kSizable = WS_OVERLAPPEDWINDOW;  // thick frame, system menu, both boxes
constexpr WindowRect kWindow{100, 50, 900, 650};

BarRect Place(int position, bool normal = true, WindowRect window = kWindow, std::uint32_t style = kSizable,
              std::uint32_t exStyle = 0) {
  return PlaceBar(window, style, exStyle, position, normal, kMetrics, BarButtonWidth(kMetrics), BarButtonHeight(kMetrics));
}

}  // namespace

TEST(BarPlacement, WorkedExampleAlongTheCaption) {
  EXPECT_EQ(CaptionButtonWidth(kSizable, 0, kMetrics, 16), 54);
  struct Case { int position; int left; };
  for (const Case c : {Case{100, 806}, Case{51, 463}, Case{1, 113}}) {
    const BarRect bar = Place(c.position);
    EXPECT_EQ(bar.left, c.left) << c.position;
    EXPECT_EQ(bar.top, 55) << c.position;
    EXPECT_EQ(bar.width, 32);
    EXPECT_EQ(bar.height, 16);
  }
  // The bar position dialog leaves half the span free instead of a tenth.
  EXPECT_EQ(Place(100, false).left, 771);
}

TEST(BarPlacement, CaptionButtonsFollowTheStyles) {
  struct Case { std::uint32_t style; std::uint32_t exStyle; int width; };
  const Case cases[] = {
      {WS_POPUP, 0, 6},                                     // fixed frame only
      {WS_CAPTION | WS_SYSMENU, 0, 6 + 16},                 // a dialog: close button
      {WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP, 6 + 32}, // with the help button
      {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 6 + 16 + 30},
      {WS_THICKFRAME | WS_MAXIMIZEBOX, 0, 8 + 30},
  };
  for (const auto& c : cases) EXPECT_EQ(CaptionButtonWidth(c.style, c.exStyle, kMetrics, 16), c.width) << c.style;
  // A fixed frame puts the bar that much higher.
  EXPECT_EQ(Place(100, true, kWindow, WS_CAPTION | WS_SYSMENU).top, 50 + 3 + 1);
}

TEST(BarPlacement, LeftOfTheScreenOriginGivesThePositiveEdge) {
  // X0 = 252 - 94 = 158, steps of (158 + 100) / 100 = 2, position 1: 158 - 198 = -40.
  EXPECT_EQ(Place(1, true, {-100, 50, 252, 400}).left, 40);
  // A window wholly left of the origin: no step sizes of the wrong sign.
  EXPECT_EQ(Place(100, true, {-900, 0, -100, 300}).left, 194);
}

// A screen copy shows what is on the screen: a window of one known colour, copied through its
// rectangle, including a part of it that another window covers.
#include "records/Image_procs.h"

#include <gtest/gtest.h>

#include "support/Desktop.h"

namespace {

struct ColourWindow {
  HWND hwnd = nullptr;
  HBRUSH brush = nullptr;
  ColourWindow(COLORREF colour, RECT r) {
    brush = CreateSolidBrush(colour);
    const std::wstring cls = L"QuilletShotProbe" + std::to_wstring(colour);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = brush;
    wc.lpszClassName = cls.c_str();
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls.c_str(), L"", WS_POPUP | WS_VISIBLE, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(hwnd);
  }
  ~ColourWindow() {
    DestroyWindow(hwnd);
    DeleteObject(brush);
  }
};

bool IsColour(const std::uint8_t* p, COLORREF c) {
  return p[2] == GetRValue(c) && p[1] == GetGValue(c) && p[0] == GetBValue(c);
}

}  // namespace

TEST(WndScreenShot, CopiesTheScreenRectangleIncludingWhatCoversIt) {
  const COLORREF back = RGB(200, 30, 90), front = RGB(20, 160, 240);
  ColourWindow below(back, {100, 120, 164, 168});
  ColourWindow above(front, {132, 120, 164, 144});  // covers the top right quarter
  ASSERT_TRUE(below.hwnd && above.hwnd);

  ui::Bitmap shot;
  // The windows reach the screen asynchronously: copy until they show.
  const bool shown = testsupport::WaitUntil([&] {
    WndScreenShot(100, 120, 64, 48, shot);
    return IsColour(shot.ScanLine(47), back) && IsColour(shot.ScanLine(0) + 63 * (shot.BitsPerPixel() / 8), front);
  });
  ASSERT_TRUE(shown);
  ASSERT_EQ(shot.Width(), 64);
  ASSERT_EQ(shot.Height(), 48);
  const int bpp = shot.BitsPerPixel() / 8;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const bool covered = x >= 32 && y < 24;
      ASSERT_TRUE(IsColour(shot.ScanLine(y) + x * bpp, covered ? front : back)) << x << "," << y;
    }
}

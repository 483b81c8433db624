// The thumbnail and rescaling arithmetic on plain pixel buffers, with hand-checked figures.
#include "records/PixelRoutines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

using namespace qimg;
using ::testing::ElementsAreArray;

namespace {

// A top-down pixel buffer with a view on it. Rows are padded to 4 bytes, as in a DIB.
struct Pixels {
  int width, height, bpp;
  std::vector<std::uint8_t> bytes;
  Pixels(int w, int h, int bytesPerPixel = 3, std::uint8_t fill = 0)
      : width(w), height(h), bpp(bytesPerPixel), bytes(static_cast<std::size_t>(Stride()) * h, fill) {}
  std::ptrdiff_t Stride() const { return (static_cast<std::ptrdiff_t>(width) * bpp + 3) & ~3; }
  PixelView View() { return PixelView{bytes.data(), width, height, Stride(), bpp}; }
  std::uint8_t* At(int x, int y) { return View().Pixel(x, y); }
  void Set(int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    At(x, y)[0] = b;
    At(x, y)[1] = g;
    At(x, y)[2] = r;
  }
};

// Every pixel tells where it came from: blue = column, green = row.
Pixels Coordinates(int w, int h, int bpp = 3) {
  Pixels p(w, h, bpp);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.Set(x, y, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0x5A);
  return p;
}

std::vector<int> Widths(const std::vector<int>& bounds) {
  std::vector<int> w;
  for (std::size_t k = 1; k < bounds.size(); ++k) w.push_back(bounds[k] - bounds[k - 1]);
  return w;
}

}  // namespace

TEST(ThumbBoxes, SinglePrecisionStepDecidesTheCoveredSpan) {
  EXPECT_EQ(ThumbBoxStep(100, 48), 2.0833332538604736f);
  EXPECT_LT(static_cast<double>(ThumbBoxStep(100, 48)), 100.0 / 48.0);

  struct Case {
    int side, covered;
    std::vector<int> widthsSeen;
  };
  for (const Case& c : {Case{100, 99, {2, 3}}, Case{97, 96, {2}}, Case{96, 96, {2}}, Case{3840, 3840, {80}}}) {
    SCOPED_TRACE(c.side);
    const std::vector<int> b = ThumbBoxBounds(c.side, 48);
    ASSERT_EQ(b.size(), 49u);
    EXPECT_EQ(b.front(), 0);
    EXPECT_EQ(b.back(), c.covered);
    std::vector<int> w = Widths(b);
    std::sort(w.begin(), w.end());
    w.erase(std::unique(w.begin(), w.end()), w.end());
    EXPECT_EQ(w, c.widthsSeen);
  }
}

TEST(ThumbBoxes, AveragingTruncatesInFixedPointAndIgnoresTheUncoveredEdge) {
  // White everywhere except the last column and row, which a 100-pixel side never reaches.
  Pixels white(100, 100, 3, 255);
  for (int i = 0; i < 100; ++i) {
    white.Set(99, i, 0, 0, 0);
    white.Set(i, 99, 0, 0, 0);
  }
  Pixels thumb(48, 48);
  AverageBoxes(white.View(), thumb.View());
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) ASSERT_EQ(thumb.At(x, y)[0], 254) << x << "," << y;

  // A 2 x 2 box of 10, 20, 30, 41: 101 * (65535 / 4) >> 16 = 25; a single 255 gives 254.
  Pixels src(96, 96);
  src.Set(0, 0, 10, 255, 0);
  src.Set(1, 0, 20, 0, 0);
  src.Set(0, 1, 30, 0, 0);
  src.Set(1, 1, 41, 0, 0);
  Pixels one(1, 1);
  AverageBoxes(src.View(), thumb.View());
  EXPECT_EQ(thumb.At(0, 0)[0], 25);
  EXPECT_EQ(thumb.At(0, 0)[1], 63);  // 255 * 16383 >> 16
  EXPECT_EQ(thumb.At(1, 0)[0], 0);
  Pixels single(1, 1, 3, 255);
  AverageBoxes(single.View(), one.View());
  EXPECT_EQ(one.At(0, 0)[2], 254);
}

TEST(ThumbSharpen, WorksInPlaceTopDownTruncatesAndClamps) {
  // Blue channel only; hand-computed with row 1 already sharpened when row 2 is done:
  //   (1,1): (12*30 - 7 - 250) / 8 = 12    (2,1): (12*100 - 50) / 8 = 143
  //   (1,2): (12*50 - 143) / 8 = 57        (2,2): (12*250 - 12) / 8 = 373 -> 255
  // Using the original 100 instead of 143 at (1,2) would give 62.
  Pixels p(4, 4);
  p.Set(1, 1, 30, 0, 0);
  p.Set(2, 1, 100, 0, 0);
  p.Set(1, 2, 50, 0, 0);
  p.Set(2, 2, 250, 0, 0);
  p.Set(0, 0, 7, 7, 7);  // a border pixel: it feeds (1,1) but is never changed
  SharpenInPlace(p.View());
  const std::array<std::array<int, 4>, 4> expected{{{7, 0, 0, 0}, {0, 12, 143, 0}, {0, 57, 255, 0}, {0, 0, 0, 0}}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(p.At(x, y)[0], expected[y][x]) << x << "," << y;
  EXPECT_EQ(p.At(0, 0)[1], 7);

  // A uniform area is a fixed point: 12v - 4v = 8v.
  Pixels flat(48, 48, 3, 254);
  SharpenInPlace(flat.View());
  EXPECT_EQ(flat.bytes, Pixels(48, 48, 3, 254).bytes);
}

TEST(ScanRect, PathFollowsWhichSidesGrowAndShrink) {
  struct Case {
    int sw, sh, dw, dh;
    ScanPath path;
  };
  for (const Case& c : {Case{100, 100, 48, 48, ScanPath::Sampling}, Case{200, 48, 48, 48, ScanPath::Sampling},
                        Case{30, 20, 48, 48, ScanPath::Repetition}, Case{48, 48, 48, 48, ScanPath::Repetition},
                        Case{48, 200, 48, 48, ScanPath::Repetition},  // equal width, fewer rows
                        Case{30, 200, 48, 48, ScanPath::Stretch}, Case{200, 30, 48, 48, ScanPath::Stretch},
                        Case{0, 20, 48, 48, ScanPath::Nothing}, Case{30, 20, 0, 48, ScanPath::Nothing},
                        Case{30, 20, -48, 48, ScanPath::Nothing}}) {
    EXPECT_EQ(ChooseScanPath(c.sw, c.sh, c.dw, c.dh), c.path) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
  }
}

TEST(ScanRect, RepetitionOf30x20FillsExactly48x48) {
  const std::vector<int> rx{2, 1, 2, 1, 2, 2, 1, 2, 1, 2, 2, 1, 2, 1, 2, 2, 1, 2, 1, 2, 2, 1, 2, 1, 2, 2, 1, 2, 1, 2};
  const std::vector<int> ry{2, 3, 2, 3, 2, 2, 3, 2, 3, 2, 2, 3, 2, 3, 2, 2, 3, 2, 3, 2};
  EXPECT_EQ(RepeatCounts(30, 48), rx);
  EXPECT_EQ(RepeatCounts(20, 48), ry);

  Pixels src = Coordinates(30, 20);
  Pixels dst(48, 48, 3, 0xEE);
  EXPECT_EQ(CopyScansRect(src.View(), dst.View(), {0, 0, 30, 20}, {0, 0, 48, 48}), ScanPath::Repetition);
  int y = 0;
  for (int j = 0; j < 20; ++j) {
    for (int r = 0; r < ry[j]; ++r, ++y) {
      int x = 0;
      for (int i = 0; i < 30; ++i)
        for (int k = 0; k < rx[i]; ++k, ++x) {
          ASSERT_EQ(dst.At(x, y)[0], i) << x << "," << y;
          ASSERT_EQ(dst.At(x, y)[1], j) << x << "," << y;
          ASSERT_EQ(dst.At(x, y)[2], 0x5A);
        }
    }
  }
  EXPECT_EQ(y, 48);
}

TEST(ScanRect, TallPictureKeepsColumnsAndDropsRows) {
  const std::vector<int> kept{2,   6,   10,  14,  18,  22,  27,  31,  35,  39,  43,  47,  52,  56,  60,  64,
                              68,  72,  77,  81,  85,  89,  93,  97,  102, 106, 110, 114, 118, 122, 127, 131,
                              135, 139, 143, 147, 152, 156, 160, 164, 168, 172, 177, 181, 185, 189, 193, 197};
  Pixels src = Coordinates(48, 200);
  Pixels dst(48, 48);
  EXPECT_EQ(CopyScansRect(src.View(), dst.View(), {0, 0, 48, 200}, {0, 0, 48, 48}), ScanPath::Repetition);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      ASSERT_EQ(dst.At(x, y)[0], x);
      ASSERT_EQ(dst.At(x, y)[1], kept[y]) << y;
    }
}

TEST(ScanRect, WidePictureSamplesColumnsCentredWithinTheBitmap) {
  const std::vector<std::uint32_t> px{0,   4,   8,   13,  17,  21,  25,  29,  33,  38,  42,  46,  50,  54,  58,  63,
                                      67,  71,  75,  79,  83,  88,  92,  96,  100, 104, 108, 113, 117, 121, 125, 129,
                                      133, 138, 142, 146, 150, 154, 158, 163, 167, 171, 175, 179, 183, 188, 192, 196};
  EXPECT_EQ(SamplePositions(200, 48), px);

  // The sampled span (197 of 200 columns) is centred by (200 - 196) / 2 = 2 columns when the
  // bitmap has room to the right, not at all when the rectangle ends at the bitmap's edge, and
  // pulled back inside when the rectangle starts left of it.
  struct Case {
    int bitmapWidth;
    RECT rs;
    int shift;
  };
  for (const Case& c : {Case{200, {0, 0, 200, 48}, 0}, Case{210, {0, 0, 200, 48}, 2},
                        Case{200, {-5, 0, 195, 48}, 0}, Case{210, {3, 0, 203, 48}, 5}}) {
    SCOPED_TRACE(c.bitmapWidth * 1000 + c.rs.left);
    Pixels src = Coordinates(c.bitmapWidth, 48);
    Pixels dst(48, 48);
    EXPECT_EQ(CopyScansRect(src.View(), dst.View(), c.rs, {0, 0, 48, 48}), ScanPath::Sampling);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) {
        ASSERT_EQ(dst.At(x, y)[0], static_cast<int>(px[x]) + c.shift) << x;
        ASSERT_EQ(dst.At(x, y)[1], y);
      }
  }
}

TEST(ScanRect, WritesOnlyTheDestinationRectangleWithAllFourBytes) {
  Pixels src = Coordinates(10, 10, 4);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) src.At(x, y)[3] = 0x80;
  Pixels dst(12, 12, 4, 0xEE);
  // Columns 1..8 and rows 2..5, each row doubled, into the lower right of the destination.
  EXPECT_EQ(CopyScansRect(src.View(), dst.View(), {1, 2, 9, 6}, {3, 4, 11, 12}), ScanPath::Repetition);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 3 && x < 11 && y >= 4;
      if (!inside) {
        ASSERT_EQ(dst.At(x, y)[0], 0xEE) << x << "," << y;
        ASSERT_EQ(dst.At(x, y)[3], 0xEE);
        continue;
      }
      ASSERT_EQ(dst.At(x, y)[0], 1 + (x - 3)) << x << "," << y;
      ASSERT_EQ(dst.At(x, y)[1], 2 + (y - 4) / 2) << x << "," << y;
      ASSERT_EQ(dst.At(x, y)[3], 0x80);
    }
}

TEST(ScanRect, RefusesWhatTheIntegerPathsCannotAddress) {
  Pixels src(40, 40), dst(48, 48), dst32(48, 48, 4);
  EXPECT_THROW(CopyScansRect(src.View(), dst.View(), {0, 0, 40, 40}, {0, 0, 49, 48}), std::invalid_argument);
  EXPECT_THROW(CopyScansRect(src.View(), dst.View(), {0, 0, 41, 40}, {0, 0, 48, 48}), std::invalid_argument);
  EXPECT_THROW(CopyScansRect(src.View(), dst32.View(), {0, 0, 40, 40}, {0, 0, 48, 48}), std::invalid_argument);
  Pixels wide(70000, 1);  // 16.16 positions would overflow
  EXPECT_THROW(CopyScansRect(src.View(), wide.View(), {0, 0, 40, 1}, {0, 0, 70000, 1}), std::invalid_argument);
  // Empty rectangles and the stretch case leave the destination alone.
  EXPECT_EQ(CopyScansRect(src.View(), dst.View(), {0, 0, 0, 40}, {0, 0, 48, 48}), ScanPath::Nothing);
  EXPECT_EQ(CopyScansRect(src.View(), dst.View(), {0, 0, 40, 40}, {0, 0, 48, 20}), ScanPath::Stretch);
  EXPECT_EQ(dst.bytes, Pixels(48, 48).bytes);
}

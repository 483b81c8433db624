// Thumbnails and rescaling on real DIB-section bitmaps.
#include "records/Image_procs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/MemoryStream.h"

using ui::Bitmap;
using ui::PixelFormat;

namespace {

// Every pixel tells where it came from: blue = column, green = row, red = 0x5A, reserved = 0x77.
Bitmap Coded(int w, int h, PixelFormat format) {
  Bitmap b(w, h, format);
  const int bpp = b.BitsPerPixel() / 8;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < w; ++x, p += bpp) {
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = 0x5A;
      if (bpp == 4) p[3] = 0x77;
    }
  }
  return b;
}

const std::uint8_t* At(const Bitmap& b, int x, int y) { return b.ScanLine(y) + x * (b.BitsPerPixel() / 8); }

std::string Pixels(const Bitmap& b) {
  std::string all;
  for (int y = 0; y < b.Height(); ++y)
    all.append(reinterpret_cast<const char*>(b.ScanLine(y)), static_cast<std::size_t>(b.Width()) * b.BitsPerPixel() / 8);
  return all;
}

int SavedBitCount(const Bitmap& b) {
  ui::MemoryStream stream;
  b.SaveToStream(stream);
  std::uint16_t bits = 0;
  std::memcpy(&bits, stream.View().data() + 14 + 14, 2);  // file header, then biBitCount at 14
  return bits;
}

}  // namespace

TEST(MakeThumbNail, WhitePictureGivesUniform254AndTheLastRowAndColumnDoNotCount) {
  Bitmap picture(100, 100, PixelFormat::Bits24);
  for (int y = 0; y < 100; ++y) {
    std::uint8_t* p = picture.ScanLine(y);
    std::memset(p, y == 99 ? 0 : 255, 300);
    if (y != 99) std::memset(p + 99 * 3, 0, 3);
  }
  Bitmap thumb(10, 10, PixelFormat::Bits32);
  MakeThumbNail(picture, thumb, 48);
  ASSERT_EQ(thumb.Width(), 48);
  ASSERT_EQ(thumb.Height(), 48);
  EXPECT_EQ(thumb.Format(), PixelFormat::Bits24);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x)
      for (int c = 0; c < 3; ++c) ASSERT_EQ(At(thumb, x, y)[c], 254) << x << "," << y;
}

TEST(MakeThumbNail, SourceNoLargerThanTheSizeIsCopiedAsIs) {
  Bitmap picture = Coded(40, 30, PixelFormat::Bits32);
  Bitmap thumb;
  MakeThumbNail(picture, thumb, 48);
  EXPECT_EQ(picture.Format(), PixelFormat::Bits24);
  EXPECT_EQ(thumb.Format(), PixelFormat::Bits24);
  EXPECT_EQ(thumb.Width(), 40);
  EXPECT_EQ(thumb.Height(), 30);
  EXPECT_EQ(Pixels(thumb), Pixels(picture));
}

TEST(MakeRecordThumbnail, SmallPicturesAreRepeatedInTheirOwnFormat) {
  // Which source column or row lands on each of the 48 thumbnail columns or rows.
  using Map = std::vector<int>;
  const Map from30{0,  0,  1,  2,  2,  3,  4,  4,  5,  5,  6,  7,  7,  8,  9,  9,  10, 10, 11, 12, 12, 13, 14, 14,
                   15, 15, 16, 17, 17, 18, 19, 19, 20, 20, 21, 22, 22, 23, 24, 24, 25, 25, 26, 27, 27, 28, 29, 29};
  const Map from20{0,  0,  1,  1,  1,  2,  2,  3,  3,  3,  4,  4,  5,  5,  6,  6,  6,  7,  7,  8,  8,  8,  9,  9,
                   10, 10, 11, 11, 11, 12, 12, 13, 13, 13, 14, 14, 15, 15, 16, 16, 16, 17, 17, 18, 18, 18, 19, 19};
  const Map from40{0,  1,  2,  2,  3,  4,  5,  6,  7,  7,  8,  9,  10, 11, 12, 12, 13, 14, 15, 16, 17, 17, 18, 19,
                   20, 21, 22, 22, 23, 24, 25, 26, 27, 27, 28, 29, 30, 31, 32, 32, 33, 34, 35, 36, 37, 37, 38, 39};
  struct Case {
    int w, h;
    PixelFormat format;
    const Map& columns;
    const Map& rows;
  };
  for (const Case& c : {Case{30, 20, PixelFormat::Bits24, from30, from20}, Case{30, 20, PixelFormat::Bits32, from30, from20},
                        Case{40, 40, PixelFormat::Bits32, from40, from40}}) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + (c.format == PixelFormat::Bits24 ? " 24" : " 32"));
    Bitmap picture = Coded(c.w, c.h, c.format);
    const std::string before = Pixels(picture);
    picture.SetModified(false);
    Bitmap thumb(48, 48, c.format == PixelFormat::Bits24 ? PixelFormat::Bits32 : PixelFormat::Bits24);
    ASSERT_EQ(MakeRecordThumbnail(&picture, thumb), &thumb);
    EXPECT_FALSE(picture.Modified()) << "only read";
    EXPECT_EQ(picture.Format(), c.format);
    EXPECT_EQ(Pixels(picture), before);
    ASSERT_EQ(thumb.Width(), 48);
    ASSERT_EQ(thumb.Height(), 48);
    ASSERT_EQ(thumb.Format(), c.format);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 48; ++x) {
        const std::uint8_t* p = At(thumb, x, y);
        ASSERT_EQ(p[0], c.columns[x]) << x << "," << y;
        ASSERT_EQ(p[1], c.rows[y]) << x << "," << y;
        ASSERT_EQ(p[2], 0x5A);
        if (c.format == PixelFormat::Bits32) {
          ASSERT_EQ(p[3], 0x77);
        }
      }
  }
}

TEST(MakeRecordThumbnail, LargeThirtyTwoBitPictureIsKeptAs24Bit) {
  Bitmap picture = Coded(100, 100, PixelFormat::Bits32);
  picture.SetModified(false);
  Bitmap thumb(48, 48, PixelFormat::Bits32);
  ASSERT_EQ(MakeRecordThumbnail(&picture, thumb), &thumb);
  EXPECT_EQ(picture.Format(), PixelFormat::Bits24);
  EXPECT_TRUE(picture.Modified()) << "converted, so it must be saved again";
  EXPECT_EQ(SavedBitCount(picture), 24);
  EXPECT_EQ(At(picture, 37, 81)[0], 37);  // the conversion keeps the colours
  EXPECT_EQ(At(picture, 37, 81)[1], 81);
  EXPECT_EQ(thumb.Format(), PixelFormat::Bits24);
  EXPECT_EQ(thumb.Width(), 48);
  // Box (0, 0) holds columns and rows 0..1: blue and green average (0+1+0+1)/4 -> 0, red 0x5A -> 89.
  EXPECT_EQ(At(thumb, 0, 0)[2], 89);
}

TEST(MakeRecordThumbnail, MixedGrowAndShrinkIsStretchedByTheSystem) {
  Bitmap picture = Coded(30, 200, PixelFormat::Bits24);
  picture.SetModified(false);
  Bitmap thumb;
  ASSERT_EQ(MakeRecordThumbnail(&picture, thumb), &thumb);
  EXPECT_FALSE(picture.Modified()) << "only read";
  ASSERT_EQ(thumb.Width(), 48);
  ASSERT_EQ(thumb.Height(), 48);
  // Nearest pixels, in order, from edge to edge: every thumbnail pixel is one of the picture's.
  int lastColumn = -1, lastRow = -1;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const std::uint8_t* p = At(thumb, x, y);
      ASSERT_EQ(p[2], 0x5A) << x << "," << y;
      ASSERT_EQ(p[1], At(thumb, 0, y)[1]) << "one source row per thumbnail row";
      ASSERT_EQ(p[0], At(thumb, x, 0)[0]) << "one source column per thumbnail column";
    }
    EXPECT_GE(static_cast<int>(At(thumb, 0, y)[1]), lastRow + 1);
    lastRow = At(thumb, 0, y)[1];
  }
  for (int x = 0; x < 48; ++x) {
    EXPECT_GE(static_cast<int>(At(thumb, x, 0)[0]), lastColumn);
    lastColumn = At(thumb, x, 0)[0];
  }
  EXPECT_LE(At(thumb, 0, 0)[0], 1);
  EXPECT_GE(lastColumn, 28);
  EXPECT_LE(At(thumb, 0, 0)[1], 5);
  EXPECT_GE(lastRow, 190);
}

TEST(MakeRecordThumbnail, NoPictureGivesNoThumbnail) {
  Bitmap thumb = Coded(5, 5, PixelFormat::Bits24);
  const std::string before = Pixels(thumb);
  Bitmap empty;
  EXPECT_EQ(MakeRecordThumbnail(nullptr, thumb), nullptr);
  EXPECT_EQ(MakeRecordThumbnail(&empty, thumb), nullptr);
  EXPECT_EQ(Pixels(thumb), before);
}

TEST(WndScreenShot, ZeroOrNegativeSizeLeavesTheBitmapAlone) {
  Bitmap shot = Coded(10, 10, PixelFormat::Bits32);
  const std::string before = Pixels(shot);
  WndScreenShot(0, 0, 0, 50, shot);
  WndScreenShot(0, 0, 50, 0, shot);
  WndScreenShot(0, 0, -20, 50, shot);
  EXPECT_EQ(shot.Width(), 10);
  EXPECT_EQ(shot.Height(), 10);
  EXPECT_EQ(shot.Format(), PixelFormat::Bits32);
  EXPECT_EQ(Pixels(shot), before);
}

// What Save does with a picture: thumbnail first, then both into the picture store, and what a
// later read gives back.
#include "records/Image_procs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/Database.h"
#include "support/TempFolder.h"

namespace {

std::string Rows(const ui::Bitmap& b) {
  std::string all;
  for (int y = 0; y < b.Height(); ++y)
    all.append(reinterpret_cast<const char*>(b.ScanLine(y)), static_cast<std::size_t>(b.Width()) * b.BitsPerPixel() / 8);
  return all;
}

}  // namespace

TEST(ThumbnailStore, ThirtyTwoBitPictureIsStoredAs24BitWithIts48x48Thumbnail) {
  ui::Bitmap picture(100, 100, ui::PixelFormat::Bits32);
  for (int y = 0; y < 100; ++y) {
    std::uint8_t* p = picture.ScanLine(y);
    for (int x = 0; x < 100; ++x, p += 4) {
      p[0] = static_cast<std::uint8_t>(x * 2);
      p[1] = static_cast<std::uint8_t>(y * 2);
      p[2] = static_cast<std::uint8_t>((x * y) & 0xFF);
      p[3] = 0xFF;
    }
  }
  ui::Bitmap thumbnail;
  ASSERT_EQ(MakeRecordThumbnail(&picture, thumbnail), &thumbnail);

  testsupport::TempFolder dir;
  qstore::Img_DB store;
  store.FileName(dir / L"img.qdb");
  ASSERT_TRUE(store.Open(false));
  ui::MemoryStream comment;
  ASSERT_TRUE(store.Write(comment, L"", -1, &picture, &thumbnail));
  store.Close();

  ASSERT_TRUE(store.Open(false));
  qstore::SINGLE_DATA_REC record(true);
  ASSERT_TRUE(store.Read(record, true, 1));
  store.Close();
  EXPECT_EQ(record.SizeText, L"100x100\n");
  EXPECT_EQ(record.Picture->Format(), ui::PixelFormat::Bits24);
  EXPECT_EQ(Rows(*record.Picture), Rows(picture));
  EXPECT_EQ(record.Thumbnail->Width(), 48);
  EXPECT_EQ(record.Thumbnail->Height(), 48);
  EXPECT_EQ(record.Thumbnail->Format(), ui::PixelFormat::Bits24);
  EXPECT_EQ(Rows(*record.Thumbnail), Rows(thumbnail));
}

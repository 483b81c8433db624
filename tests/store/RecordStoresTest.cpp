#include "store/Database.h"
#include "store/StoreKit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace qstore;
using storekit::Picture;
using storekit::SamePixels;
using testsupport::TempFolder;

namespace {

struct TextStore {
  TempFolder dir;
  Text_DB db;
  TextStore() {
    db.FileName(dir / L"text.qdb");
    db.Open(false);
  }
  bool Write(const std::string& body, const std::wstring& catg, std::int64_t id) {
    ui::MemoryStream s(body);
    s.SetPosition(s.Size());  // the whole body is written whatever the position
    return db.Write(s, catg, id, nullptr, nullptr);
  }
};

struct ImgStore {
  TempFolder dir;
  Img_DB db;
  ui::Bitmap picture = Picture(7, 5, ui::PixelFormat::Bits24, 1);
  ui::Bitmap thumbnail = Picture(48, 48, ui::PixelFormat::Bits32, 2);
  ImgStore() {
    db.FileName(dir / L"img.qdb");
    db.Open(false);
  }
  bool Write(const std::string& comment, std::int64_t id = -1) {
    ui::MemoryStream s(comment);
    return db.Write(s, L"", id, &picture, &thumbnail);
  }
};

}  // namespace

TEST(TextStore, InsertsUpdatesAndReads) {
  TextStore t;
  const std::string rtf("{\\rtf1 a\0b}", 11);  // bytes are kept exactly, zeros included
  ASSERT_TRUE(t.Write(rtf, L"c1", -1));
  ASSERT_TRUE(t.Write("{\\rtf1 second}", L"", -1));
  std::vector<std::int64_t> ids;
  t.db.GetIds(ids);
  ASSERT_EQ(ids, (std::vector<std::int64_t>{1, 2}));

  SINGLE_DATA_REC rec(false);
  ASSERT_TRUE(t.db.Read(rec, false, 1));
  EXPECT_EQ(rec.Body.Bytes(), rtf);
  EXPECT_EQ(rec.Body.Position(), 0u);
  EXPECT_EQ(rec.Catg, L"") << "a body-only read leaves the category alone";
  ASSERT_TRUE(t.db.Read(rec, true, 1));
  EXPECT_EQ(rec.Catg, L"c1");

  ASSERT_TRUE(t.Write("{\\rtf1 new}", L"c2", 1));
  EXPECT_EQ(t.db.Count(), 2);
  ASSERT_TRUE(t.db.Read(rec, true, 1));
  EXPECT_EQ(rec.Body.Bytes(), "{\\rtf1 new}") << "a shorter body replaces a longer one completely";
  EXPECT_EQ(rec.Catg, L"c2");

  EXPECT_TRUE(t.Write("zero", L"z", 0)) << "id 0 updates no row and is no failure";
  EXPECT_EQ(t.db.Count(), 2);
  ASSERT_TRUE(t.db.Read(rec, true, 2));
  EXPECT_EQ(rec.Body.Bytes(), "{\\rtf1 second}");

  EXPECT_TRUE(t.db.Read(rec, true, 42)) << "a missing id is no failure";
  EXPECT_EQ(rec.Body.Bytes(), "{\\rtf1 second}") << "and leaves the record as it was";
  EXPECT_EQ(rec.Catg, L"");

  ASSERT_TRUE(t.Write("", L"", 2));
  rec.Reset();
  ASSERT_TRUE(t.db.Read(rec, false, 2));
  EXPECT_EQ(rec.Body.Size(), 0u);
  t.db.Close();
  EXPECT_FALSE(t.Write("closed", L"", -1));
  EXPECT_FALSE(t.db.Read(rec, true, 1));
}

TEST(PictureStore, WritesAndReadsPicturesThumbnailsAndSizeTexts) {
  ImgStore s;
  ASSERT_TRUE(s.Write("  A comment\r\nsecond line \t\r\n"));
  SINGLE_DATA_REC rec(true);
  ASSERT_TRUE(s.db.Read(rec, false, 1));
  EXPECT_EQ(rec.SizeText, L"7x5\nA comment\r\nsecond line");
  EXPECT_EQ(rec.Body.Bytes(), "  A comment\r\nsecond line \t\r\n") << "the blob keeps the caller's bytes";
  EXPECT_TRUE(SamePixels(*rec.Thumbnail, s.thumbnail));
  EXPECT_TRUE(rec.Picture->Empty()) << "a list read does not load the full picture";

  ASSERT_TRUE(s.db.Read(rec, true, 1));
  EXPECT_TRUE(SamePixels(*rec.Picture, s.picture));

  // Update replaces all five columns.
  s.picture = Picture(3, 9, ui::PixelFormat::Bits32, 3);
  s.thumbnail = Picture(48, 48, ui::PixelFormat::Bits24, 4);
  ASSERT_TRUE(s.Write("", 1));
  rec.Reset();
  ASSERT_TRUE(s.db.Read(rec, true, 1));
  EXPECT_EQ(rec.SizeText, L"3x9\n") << "without a comment the size text ends with its line feed";
  EXPECT_EQ(rec.Body.Size(), 0u);
  EXPECT_TRUE(SamePixels(*rec.Picture, s.picture));
  EXPECT_TRUE(SamePixels(*rec.Thumbnail, s.thumbnail));
  EXPECT_EQ(s.db.Count(), 1);

  rec.Reset();
  EXPECT_TRUE(rec.Picture->Empty());
  EXPECT_EQ(rec.Picture->Handle(), nullptr) << "Reset frees the GDI objects";
  EXPECT_EQ(rec.Thumbnail->Handle(), nullptr);
  SINGLE_DATA_REC text(false);
  EXPECT_EQ(text.Picture, nullptr);
  EXPECT_FALSE(s.db.Read(text, true, 1)) << "a text record cannot take a picture";
}

TEST(PictureStore, CommentsAreAnsiBytesAndTheSizeTextDecodesThem) {
  struct Case { std::wstring comment; std::string blob; std::wstring sizeTail; };
  const std::vector<Case> cases = {
      {L"caf\u00e9", "caf\xe9", L"caf\u00e9"},
      // Characters the ANSI code page (1252 here) lacks become its default character.
      {L"\u0416 x \u4e2d", "? x ?", L"? x ?"},
      {L"  \r\n", "  \r\n", L""},
  };
  ImgStore s;
  for (const Case& c : cases) {
    ui::MemoryStream body = CommentBody(c.comment);
    EXPECT_EQ(body.Bytes(), c.blob);
    ASSERT_TRUE(s.db.Write(body, L"", -1, &s.picture, &s.thumbnail));
    std::vector<std::int64_t> ids;
    s.db.GetIds(ids);
    SINGLE_DATA_REC rec(true);
    ASSERT_TRUE(s.db.Read(rec, false, ids.back()));
    EXPECT_EQ(rec.Body.Bytes(), c.blob);
    EXPECT_EQ(rec.SizeText, L"7x5\n" + c.sizeTail);
    EXPECT_EQ(CommentText(rec.Body), c.sizeTail);
  }
  // A comment that arrives with a byte-order mark is decoded by it for the size text.
  ASSERT_TRUE(s.Write("\xEF\xBB\xBF\xD0\x96"));
  SINGLE_DATA_REC rec(true);
  ASSERT_TRUE(s.db.Read(rec, false, 4));
  EXPECT_EQ(rec.SizeText, L"7x5\n\u0416");
}

TEST(PictureStore, RefusesWritesWithoutBothPictures) {
  ImgStore s;
  storekit::NoticeWindow notices;
  s.db.SetNotifyWindow(notices.get());
  ui::Bitmap empty;
  ui::MemoryStream body("c");
  EXPECT_FALSE(s.db.Write(body, L"", -1, nullptr, &s.thumbnail));
  EXPECT_FALSE(s.db.Write(body, L"", -1, &s.picture, nullptr));
  EXPECT_FALSE(s.db.Write(body, L"", -1, &empty, &s.thumbnail));
  EXPECT_FALSE(s.db.Write(body, L"", -1, &s.picture, &empty));
  EXPECT_EQ(s.db.Count(), 0);
  EXPECT_EQ(notices.notices(), 0) << "no read-only notice for a missing picture";
}

TEST(PictureStore, AStoredImageThatIsNoBitmapRaisesAndTheStoreStaysUsable) {
  ImgStore s;
  ASSERT_TRUE(s.Write("good"));
  s.db.Close();
  {
    storekit::RawDb raw(s.dir / L"img.qdb");
    raw.Exec("INSERT INTO img(text, size, catg, small, big) VALUES(NULL, '1x1\n', '', x'424D0000', x'00')");
    raw.Exec("INSERT INTO img(text, size, catg, small, big) SELECT text, size, catg, small, x'424D' FROM img WHERE id=1");
  }
  s.db.Open(false);
  SINGLE_DATA_REC rec(true);
  EXPECT_THROW(s.db.Read(rec, false, 2), ui::BitmapError) << "broken thumbnail";
  rec.Reset();
  EXPECT_TRUE(s.db.Read(rec, false, 3)) << "the thumbnail is fine, the full picture is not read";
  EXPECT_THROW(s.db.Read(rec, true, 3), ui::BitmapError) << "broken picture";

  rec.Reset();
  ASSERT_TRUE(s.db.Read(rec, true, 1));
  EXPECT_TRUE(SamePixels(*rec.Picture, s.picture));
  EXPECT_TRUE(s.Write("more"));
  EXPECT_EQ(s.db.Count(), 4);
  s.db.Close();
  // The failed reads left no statement behind: the connection really closed and let go of the file.
  EXPECT_TRUE(DeleteFileW((s.dir / L"img.qdb").c_str()));
}

TEST(AllStores, SelectSwitchesTheActiveStoreAndForgetsTheRecord) {
  All_DB all;
  ASSERT_EQ(all.ActiveStore(), &all.TextDb);
  all.SetActiveFileName(L"C:\\t\\text.qdb");
  all.Select(1);
  EXPECT_EQ(all.ActiveStore(), &all.ImgDb);
  EXPECT_EQ(all.ActiveFileName(), L"");
  all.SetActiveFileName(L"C:\\t\\img.qdb");
  EXPECT_EQ(all.TextDb.FileName(L""), L"C:\\t\\text.qdb");
  EXPECT_EQ(all.ImgDb.FileName(L""), L"C:\\t\\img.qdb");

  all.CurrentRecordId = 7;
  for (int index : {2, -1, 100}) {
    all.Select(index);
    EXPECT_EQ(all.ActiveStore(), &all.ImgDb) << index;
    EXPECT_EQ(all.CurrentRecordId, 7) << index;
  }
  all.Select(1);
  EXPECT_EQ(all.CurrentRecordId, 0);
}

TEST(AllStores, AReadOnlyFolderMakesBothStoresRefuseWritesWithTheNotice) {
  const std::wstring unwritable = storekit::UnwritableFolder();
  if (unwritable.empty()) GTEST_SKIP() << "no read-only location on this system";
  TempFolder dir;
  All_DB all;
  storekit::NoticeWindow notices;
  all.SetMainWindow(notices.get());
  all.TextDb.FileName(dir / L"text.qdb");
  all.ImgDb.FileName(dir / L"img.qdb");
  ui::MemoryStream body("x");
  ui::Bitmap pic = Picture(2, 2), thumb = Picture(48, 48);
  all.TextDb.Open(false);
  ASSERT_TRUE(all.TextDb.Write(body, L"", -1, nullptr, nullptr));
  all.TextDb.Close();

  EXPECT_TRUE(all.CheckReadOnly(unwritable));
  EXPECT_TRUE(all.ReadOnly);
  EXPECT_TRUE(all.TextDb.ReadOnly(false, false));
  EXPECT_TRUE(all.ImgDb.ReadOnly(false, false));

  all.TextDb.Open(true);
  EXPECT_EQ(all.TextDb.Count(), 1) << "recreating a read-only store keeps its file";
  EXPECT_FALSE(all.TextDb.Write(body, L"", -1, nullptr, nullptr));
  EXPECT_EQ(notices.notices(), 1);
  EXPECT_FALSE(all.TextDb.Delete(1));
  EXPECT_EQ(notices.notices(), 2);
  EXPECT_EQ(all.TextDb.Count(), 1);
  all.TextDb.Close();
  all.ImgDb.Open(true);
  EXPECT_FALSE(all.ImgDb.Write(body, L"", -1, &pic, &thumb));
  EXPECT_EQ(notices.notices(), 3);
  all.ImgDb.Close();

  all.SetMainWindow(nullptr);
  all.TextDb.Open(false);
  EXPECT_FALSE(all.TextDb.Write(body, L"", -1, nullptr, nullptr)) << "no window: refused without a notice";
  all.TextDb.Close();
  EXPECT_EQ(notices.notices(), 3);

  EXPECT_FALSE(all.CheckReadOnly(dir.path()));
  EXPECT_FALSE(all.TextDb.ReadOnly(false, false));
  all.TextDb.Open(false);
  EXPECT_TRUE(all.TextDb.Write(body, L"", -1, nullptr, nullptr));
  all.TextDb.Close();
}

#include "store/Database.h"
#include "store/Databaseext.h"
#include "store/StoreKit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace qstore;
using testsupport::FileExists;
using testsupport::TempFolder;

namespace {

std::int64_t Insert(Text_DB& db, const std::string& body) {
  ui::MemoryStream s(body);
  if (!db.Write(s, L"", -1, nullptr, nullptr)) return 0;
  std::vector<std::int64_t> ids;
  db.GetIds(ids);
  return ids.empty() ? 0 : ids.back();
}

std::vector<std::int64_t> Ids(Base_DB& db) {
  std::vector<std::int64_t> ids;
  EXPECT_TRUE(db.GetIds(ids));
  return ids;
}

}  // namespace

TEST(StoreCore, FileNameReadsWithAnEmptyArgumentAndSetsOtherwise) {
  Text_DB db;
  EXPECT_EQ(db.FileName(L""), L"");
  EXPECT_EQ(db.FileName(L"C:\\a\\text.qdb"), L"");
  EXPECT_EQ(db.FileName(L""), L"C:\\a\\text.qdb");
  EXPECT_EQ(db.FileName(L""), L"C:\\a\\text.qdb");
}

TEST(StoreCore, IdsAscendAndAreNeverReusedAcrossDeletesAndReopening) {
  TempFolder dir;
  Text_DB db;
  db.FileName(dir / L"text.qdb");
  EXPECT_EQ(db.Count(), -1) << "closed";
  EXPECT_TRUE(Ids(db).empty());
  db.Open(false);
  EXPECT_EQ(db.Count(), 0);
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(Insert(db, std::to_string(i) + "r"), i);
  EXPECT_TRUE(db.Delete(2));
  EXPECT_TRUE(db.Delete(5));
  EXPECT_TRUE(db.Delete(99)) << "a missing id deletes nothing and is no failure";
  EXPECT_EQ(db.Count(), 3);
  EXPECT_EQ(Ids(db), (std::vector<std::int64_t>{1, 3, 4}));
  db.Close();
  db.Close();  // harmless
  EXPECT_EQ(db.Count(), -1);

  db.Open(false);
  EXPECT_EQ(Insert(db, "r6"), 6) << "the deleted highest id 5 is not reused";
  EXPECT_EQ(Ids(db), (std::vector<std::int64_t>{1, 3, 4, 6}));
  db.Close();
}

TEST(StoreCore, OpenWithRecreateStartsAfreshUnlessReadOnly) {
  TempFolder dir;
  Text_DB db;
  db.FileName(dir / L"text.qdb");
  db.Open(false);
  Insert(db, "a");
  db.Open(true);
  EXPECT_EQ(db.Count(), 0) << "the file was deleted and created again";
  Insert(db, "b");
  EXPECT_TRUE(db.ReadOnly(true, true));
  EXPECT_TRUE(db.ReadOnly(false, false)) << "reading does not change the flag";
  db.Open(true);
  EXPECT_EQ(db.Count(), 1) << "a read-only store keeps its file";
  db.Close();
}

TEST(StoreCore, CheckReadOnlyProbesTheFolder) {
  TempFolder dir;
  DB_Dir check;
  // A stale probe file, even a read-only one, is removed and the folder is writable.
  testsupport::WriteFileBytes(dir / L"readonly.tmp", "stale");
  SetFileAttributesW((dir / L"readonly.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(check.CheckReadOnly(dir.path()));
  EXPECT_FALSE(FileExists(dir / L"readonly.tmp"));
  EXPECT_FALSE(check.CheckReadOnly(dir.path() + L"\\")) << "trailing delimiter";

  EXPECT_TRUE(check.CheckReadOnly(dir / L"missing")) << "a folder that does not exist";
  testsupport::WriteFileBytes(dir / L"file", "x");
  EXPECT_TRUE(check.CheckReadOnly(dir / L"file")) << "a file where the folder should be";
  const std::wstring unwritable = storekit::UnwritableFolder();
  if (unwritable.empty()) GTEST_SKIP() << "no read-only location on this system";
  EXPECT_TRUE(check.CheckReadOnly(unwritable)) << "a folder on a read-only location";
}

TEST(StoreCore, AFileThatIsNoDatabaseIsNeitherReadNorTouched) {
  TempFolder dir;
  std::string garbage(3000, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 37 + 11);
  Text_DB text;
  Img_DB img;
  WndList_DB wnd;
  struct Case { Base_DB& db; const wchar_t* file; };
  for (Case c : {Case{text, L"text.qdb"}, Case{img, L"img.qdb"}, Case{wnd, L"wnd.qdb"}}) {
    SCOPED_TRACE(testing::Message() << c.file);
    const std::wstring path = dir / c.file;
    testsupport::WriteFileBytes(path, garbage);
    c.db.FileName(path);
    EXPECT_TRUE(c.db.Open(false));
    EXPECT_EQ(c.db.Count(), -1);
    EXPECT_TRUE(Ids(c.db).empty());
    EXPECT_FALSE(c.db.Delete(1));
    c.db.Close();
    EXPECT_EQ(testsupport::ReadFileBytes(path), garbage);
  }
  text.Open(false);
  ui::MemoryStream body("x");
  EXPECT_FALSE(text.Write(body, L"", -1, nullptr, nullptr));
  SINGLE_DATA_REC rec(false);
  EXPECT_FALSE(text.Read(rec, true, 1));
  img.Open(false);
  ui::Bitmap pic = storekit::Picture(4, 4), thumb = storekit::Picture(48, 48);
  EXPECT_FALSE(img.Write(body, L"", -1, &pic, &thumb));
  wnd.Open(false);
  EXPECT_FALSE(wnd.WriteRow(1, L"Notepad", -1, L"t"));
  EXPECT_EQ(wnd.FindClass(L"Notepad"), 0);
  text.Close();
  img.Close();
  wnd.Close();
  EXPECT_EQ(testsupport::ReadFileBytes(dir / L"text.qdb"), garbage);
  EXPECT_EQ(testsupport::ReadFileBytes(dir / L"img.qdb"), garbage);
  EXPECT_EQ(testsupport::ReadFileBytes(dir / L"wnd.qdb"), garbage);
}

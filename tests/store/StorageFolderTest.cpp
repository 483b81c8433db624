// The storage folder on real files: moving, switching, clearing, demo copies and binding.
#include "store/StorageFolder.h"

#include <gtest/gtest.h>

#include "lang/LangPARAM.h"
#include "store/Database.h"
#include "store/Databaseext.h"
#include "support/TempFolder.h"

namespace {

using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::TempFolder;
using testsupport::WriteFileBytes;

// Answers every question with `answer` and remembers what was asked.
struct ScriptedUser {
  bool answer = true;
  std::vector<std::wstring> asked;
  qstore::Confirm confirm() {
    return [this](const std::wstring& text, const std::wstring&) {
      asked.push_back(text);
      return answer;
    };
  }
};

std::vector<std::int64_t> Ids(qstore::Base_DB& store) {
  std::vector<std::int64_t> ids;
  store.Open(false);
  store.GetIds(ids);
  store.Close();
  return ids;
}

bool AddTextRecord(qstore::Base_DB& store, std::string_view rtf) {
  ui::MemoryStream body(rtf);
  store.Open(false);
  const bool ok = store.Write(body, L"", -1, nullptr, nullptr);
  store.Close();
  return ok;
}

class StorageFolderTest : public ::testing::Test {
 protected:
  TempFolder oldDir{L"old"}, newDir{L"new"};
  qstore::All_DB records;
  qstore::Wnd_DB windows;
  ScriptedUser user;
};

TEST(StoragePaths, JoinAndDemoNamesAndFolderIdentity) {
  EXPECT_EQ(qstore::JoinPath(L"C:\\data", L"text.qdb"), L"C:\\data\\text.qdb");
  EXPECT_EQ(qstore::JoinPath(L"C:\\data\\", L"text.qdb"), L"C:\\data\\text.qdb");
  EXPECT_EQ(qstore::JoinPath(L"C:\\", L"img.qdb"), L"C:\\img.qdb");

  const std::pair<int, std::wstring> demo[] = {
      {0, L"text_en.qdb"}, {1, L"text_ru.qdb"}, {2, L"text_en.qdb"}, {3, L"text_en.qdb"},
      {4, L"text_en.qdb"}, {5, L"text_en.qdb"}, {-1, L"text_en.qdb"}};
  for (const auto& [lang, name] : demo) EXPECT_EQ(qstore::DemoTextStoreName(lang), name) << lang;

  TempFolder dir(L"same");
  CreateDirectoryW((dir / L"Sub").c_str(), nullptr);
  EXPECT_TRUE(qstore::SameFolder(dir.path(), dir.path() + L"\\"));
  EXPECT_TRUE(qstore::SameFolder(dir / L"Sub", dir / L"SUB\\..\\sub"));
  EXPECT_FALSE(qstore::SameFolder(dir.path(), dir / L"Sub"));
}

TEST_F(StorageFolderTest, ChoosingTheSameFolderAsksNothingAndTouchesNothing) {
  WriteFileBytes(oldDir / L"text.qdb", "T");
  for (const std::wstring& chosen : {oldDir.path(), oldDir.path() + L"\\"}) {
    const auto result = qstore::ChangeStorageFolder(oldDir.path(), chosen, records, windows, user.confirm());
    EXPECT_EQ(result.change, qstore::FolderChange::Same);
  }
  EXPECT_TRUE(user.asked.empty());
  EXPECT_EQ(ReadFileBytes(oldDir / L"text.qdb"), "T");
}

TEST_F(StorageFolderTest, YesMovesTheTextStoreThatIsOpenAndSkipsMissingFiles) {
  qstore::BindStores(records, windows, oldDir.path(), 0, false);
  ASSERT_TRUE(AddTextRecord(records.TextDb, "{\\rtf1 one}"));
  const std::string before = ReadFileBytes(oldDir / L"text.qdb");
  records.TextDb.Open(false);  // a connection left open must not stop the move

  const auto result = qstore::ChangeStorageFolder(oldDir.path(), newDir.path(), records, windows, user.confirm());

  EXPECT_EQ(result.change, qstore::FolderChange::Moved);
  EXPECT_EQ(user.asked, std::vector<std::wstring>{MessageText(4)});
  EXPECT_FALSE(records.TextDb.IsOpen());
  EXPECT_FALSE(FileExists(oldDir / L"text.qdb"));
  EXPECT_EQ(ReadFileBytes(newDir / L"text.qdb"), before);
  for (const wchar_t* name : {L"img.qdb", L"wnd.qdb", L"text.qdb.moving"}) EXPECT_FALSE(FileExists(newDir / name));
  qstore::BindStores(records, windows, newDir.path(), 0, false);
  EXPECT_EQ(Ids(records.TextDb), std::vector<std::int64_t>{1});
}

TEST_F(StorageFolderTest, YesReplacesTheNewFoldersPictureStore) {
  WriteFileBytes(oldDir / L"img.qdb", "old pictures");
  WriteFileBytes(oldDir / L"wnd.qdb", "old windows");
  WriteFileBytes(newDir / L"img.qdb", "new pictures");
  const auto result = qstore::ChangeStorageFolder(oldDir.path(), newDir.path(), records, windows, user.confirm());
  EXPECT_EQ(result.change, qstore::FolderChange::Moved);
  EXPECT_EQ(result.move.moved, (std::vector<std::wstring>{L"img.qdb", L"wnd.qdb"}));
  EXPECT_EQ(ReadFileBytes(newDir / L"img.qdb"), "old pictures");
  EXPECT_EQ(ReadFileBytes(newDir / L"wnd.qdb"), "old windows");
  EXPECT_FALSE(FileExists(oldDir / L"img.qdb"));
  EXPECT_FALSE(FileExists(oldDir / L"wnd.qdb"));
}

TEST_F(StorageFolderTest, NoLeavesTheOldFilesAndTheStoresUseTheNewFolder) {
  qstore::BindStores(records, windows, oldDir.path(), 0, false);
  ASSERT_TRUE(AddTextRecord(records.TextDb, "{\\rtf1 kept}"));
  records.TextDb.Open(false);
  user.answer = false;
  const auto result = qstore::ChangeStorageFolder(oldDir.path(), newDir.path(), records, windows, user.confirm());
  EXPECT_EQ(result.change, qstore::FolderChange::Switched);
  EXPECT_FALSE(records.TextDb.IsOpen());
  EXPECT_TRUE(FileExists(oldDir / L"text.qdb"));
  qstore::BindStores(records, windows, newDir.path(), 0, false);
  EXPECT_TRUE(Ids(records.TextDb).empty());
  EXPECT_EQ(records.ActiveFileName(), newDir / L"text.qdb");
}

// A copy that cannot be made (here the staging name is taken by a folder) changes nothing in
// either folder, also for the files that came before it.
TEST_F(StorageFolderTest, AFailedCopyKeepsEveryFileWhereItWas) {
  WriteFileBytes(oldDir / L"text.qdb", "old text");
  WriteFileBytes(oldDir / L"img.qdb", "old pictures");
  WriteFileBytes(newDir / L"text.qdb", "new text");
  ASSERT_TRUE(CreateDirectoryW((newDir / L"img.qdb.moving").c_str(), nullptr));

  const auto result = qstore::ChangeStorageFolder(oldDir.path(), newDir.path(), records, windows, user.confirm());

  EXPECT_EQ(result.change, qstore::FolderChange::Failed);
  EXPECT_EQ(result.move.failedFile, L"img.qdb");
  EXPECT_NE(result.move.error, 0u);
  EXPECT_EQ(ReadFileBytes(oldDir / L"text.qdb"), "old text");
  EXPECT_EQ(ReadFileBytes(oldDir / L"img.qdb"), "old pictures");
  EXPECT_EQ(ReadFileBytes(newDir / L"text.qdb"), "new text");
  EXPECT_FALSE(FileExists(newDir / L"text.qdb.moving"));
  const std::wstring notice = qstore::MoveFailureText(oldDir.path(), newDir.path(), result.move);
  EXPECT_NE(notice.find(oldDir.path()), std::wstring::npos);
  EXPECT_NE(notice.find(newDir / L"img.qdb"), std::wstring::npos);
}

TEST(DemoStores, FirstRunCopiesTheStoresOfTheLanguage) {
  TempFolder program(L"prog");
  WriteFileBytes(program / L"text_en.qdb", "EN");
  WriteFileBytes(program / L"text_ru.qdb", "RU");
  WriteFileBytes(program / L"img.qdb", "IMG");
  struct Case {
    int lang;
    bool local;
    const char* text;  // expected text.qdb, null: none
    const char* img;
  };
  const Case cases[] = {{1, false, "RU", "IMG"}, {2, false, "EN", "IMG"}, {0, true, nullptr, nullptr}};
  for (const Case& c : cases) {
    TempFolder storage(L"st");
    qstore::CopyDemoStores(program.path(), storage.path(), c.lang, c.local);
    EXPECT_EQ(FileExists(storage / L"text.qdb"), c.text != nullptr) << c.lang;
    if (c.text) {
      EXPECT_EQ(ReadFileBytes(storage / L"text.qdb"), c.text);
    }
    EXPECT_EQ(FileExists(storage / L"img.qdb"), c.img != nullptr) << c.lang;
  }
  // A store the user already has is never replaced by a demo.
  TempFolder storage(L"st");
  WriteFileBytes(storage / L"text.qdb", "MINE");
  qstore::CopyDemoStores(program.path(), storage.path(), 0, false);
  EXPECT_EQ(ReadFileBytes(storage / L"text.qdb"), "MINE");
  EXPECT_EQ(ReadFileBytes(storage / L"img.qdb"), "IMG");
}

TEST_F(StorageFolderTest, ClearingTheTextStoreStartsIdsAgainAtOne) {
  qstore::BindStores(records, windows, oldDir.path(), 0, true);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(AddTextRecord(records.TextDb, "{\\rtf1 x}"));
  user.answer = false;
  EXPECT_FALSE(qstore::ClearStore(records, oldDir.path(), 0, user.confirm()));
  EXPECT_EQ(Ids(records.TextDb).size(), 3u);

  user.answer = true;
  EXPECT_TRUE(qstore::ClearStore(records, oldDir.path(), 0, user.confirm()));
  EXPECT_EQ(user.asked, (std::vector<std::wstring>{MessageText(7), MessageText(7)}));
  EXPECT_FALSE(FileExists(oldDir / L"text.qdb"));
  ASSERT_TRUE(AddTextRecord(records.TextDb, "{\\rtf1 new}"));
  EXPECT_EQ(Ids(records.TextDb), std::vector<std::int64_t>{1});
}

TEST_F(StorageFolderTest, ClearingAsksNothingWithoutAFileOrInAReadOnlyStore) {
  EXPECT_FALSE(qstore::ClearStore(records, oldDir.path(), 1, user.confirm()));  // no img.qdb
  WriteFileBytes(oldDir / L"img.qdb", "P");
  records.TextDb.ReadOnly(true, true);
  records.ImgDb.ReadOnly(true, true);
  EXPECT_FALSE(qstore::ClearStore(records, oldDir.path(), 1, user.confirm()));
  EXPECT_TRUE(user.asked.empty());
  EXPECT_TRUE(FileExists(oldDir / L"img.qdb"));
}

TEST_F(StorageFolderTest, BindingSelectsAgainOnlyWhenTheFileChanges) {
  qstore::BindStores(records, windows, oldDir.path(), 0, false);
  AddTextRecord(records.TextDb, "{\\rtf1 a}");
  records.CurrentRecordId = 5;
  qstore::BindStores(records, windows, oldDir.path() + L"\\", 0, false);
  EXPECT_EQ(records.CurrentRecordId, 5);  // same file, record stays open
  EXPECT_EQ(windows.WndList.FileName(L""), oldDir / L"wnd.qdb");

  qstore::BindStores(records, windows, newDir.path(), 0, false);
  EXPECT_EQ(records.CurrentRecordId, 0);
  EXPECT_EQ(records.ActiveFileName(), newDir / L"text.qdb");

  qstore::BindStores(records, windows, newDir.path(), 1, false);
  EXPECT_EQ(records.ActiveIndex(), 1);
  EXPECT_EQ(records.ActiveFileName(), newDir / L"img.qdb");
}

}  // namespace

#include "store/Databaseext.h"
#include "store/StoreKit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace qstore;
using testsupport::TempFolder;

namespace {

struct WndStore {
  TempFolder dir;
  Wnd_DB owner;
  WndList_DB& db = owner.WndList;
  WndStore() {
    owner.SetFileName(dir / L"wnd.qdb");
    db.Open(false);
  }
  std::vector<std::wstring> Active() {
    std::vector<std::wstring> classes;
    db.ActiveClasses(classes);
    return classes;
  }
};

}  // namespace

TEST(WindowList, ANewStoreHasNoRows) {
  WndStore s;
  EXPECT_TRUE(s.Active().empty());
  std::vector<DATA_REC_TXT> rows;
  s.db.ReadAll(rows);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(s.db.FindClass(L"Notepad"), 0);
  EXPECT_EQ(s.db.FileName(L""), s.dir / L"wnd.qdb");
}

TEST(WindowList, RowsAreWrittenFoundAndListed) {
  WndStore s;
  ASSERT_TRUE(s.db.WriteRow(1, L"Notepad", -1, L"Untitled - Notepad"));
  ASSERT_TRUE(s.db.WriteRow(1, L"O'Brien's Class", -1, L"quote"));
  ASSERT_TRUE(s.db.WriteRow(0, L"Inactive", -1, L""));
  ASSERT_TRUE(s.db.WriteRow(0, L"Notepad", -1, L"second"));  // the class is not unique

  EXPECT_EQ(s.db.FindClass(L"  Notepad\t"), 1) << "blanks around are ignored; the first row wins";
  EXPECT_EQ(s.db.FindClass(L"O'Brien's Class"), 2);
  EXPECT_EQ(s.db.FindClass(L"notepad "), 0) << "letter case counts";
  EXPECT_EQ(s.db.FindClass(L"x' OR '1'='1"), 0) << "quotes cannot widen the query";
  EXPECT_EQ(s.Active(), (std::vector<std::wstring>{L"Notepad", L"O'Brien's Class"}));

  ASSERT_TRUE(s.db.WriteRow(1, L"Inactive", 3, L"now hidden"));
  ASSERT_TRUE(s.db.WriteRow(0, L"Notepad", 1, L"Untitled - Notepad"));
  EXPECT_EQ(s.Active(), (std::vector<std::wstring>{L"O'Brien's Class", L"Inactive"}));

  std::vector<DATA_REC_TXT> rows;
  s.db.ReadAll(rows);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2].Id, 3);
  EXPECT_EQ(rows[2].Active, 1);
  EXPECT_EQ(rows[2].Class, L"Inactive");
  EXPECT_EQ(rows[2].Title, L"now hidden");
  EXPECT_EQ(rows[3].Title, L"second");

  DATA_REC_TXT row{9, 9, L"keep", L"me"};
  EXPECT_TRUE(s.db.ReadRow(row, 77));
  EXPECT_EQ(row.Id, 9);
  EXPECT_EQ(row.Class, L"keep");

  EXPECT_TRUE(s.db.Delete(2));
  EXPECT_EQ(s.db.FindClass(L"O'Brien's Class"), 0);
  s.db.Close();
  EXPECT_TRUE(s.Active().empty()) << "a closed store lists nothing";
  EXPECT_FALSE(s.db.WriteRow(1, L"Closed", -1, L""));
}

TEST(WindowList, WritesFailInAnUnwritablePlaceAndAReadOnlyStoreSendsTheNotice) {
  WndStore s;
  storekit::NoticeWindow notices;
  s.owner.SetMainWindow(notices.get());
  s.db.ReadOnly(true, true);
  EXPECT_FALSE(s.db.WriteRow(1, L"Notepad", -1, L""));
  EXPECT_EQ(notices.notices(), 1);
  EXPECT_EQ(s.db.Count(), 0);
  s.db.Close();

  const std::wstring unwritable = storekit::UnwritableFolder();
  if (unwritable.empty()) GTEST_SKIP() << "no read-only location on this system";
  // The folder check does not mark this store, so SQLite itself refuses, without a notice.
  Wnd_DB other;
  other.SetMainWindow(notices.get());
  EXPECT_TRUE(other.CheckReadOnly(unwritable));
  other.SetFileName(unwritable + L"\\wnd.qdb");
  other.WndList.Open(false);
  EXPECT_FALSE(other.WndList.WriteRow(1, L"Notepad", -1, L""));
  EXPECT_EQ(other.WndList.FindClass(L"Notepad"), 0);
  other.WndList.Close();
  EXPECT_EQ(notices.notices(), 1);
}

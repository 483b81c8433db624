// The demo stores that the build writes beside the programs: the real stores read every record,
// and writing those records again through the real stores gives the same database: the same
// file header (encoding, page size, format, counters) and the same schema and column bytes.
// (Byte for byte the files differ only in unused page space, which SQLite leaves as it finds it.)
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include "store/Database.h"
#include "store/StorageFolder.h"
#include "support/Desktop.h"
#include "support/TempFolder.h"

namespace {

using testsupport::BinFolder;
using testsupport::ReadFileBytes;
using testsupport::TempFolder;

// The plain text a rich-edit control makes of an RTF document, as the text list shows it.
std::wstring PlainText(const std::string& rtf) {
  static HMODULE lib = LoadLibraryW(L"msftedit.dll");
  EXPECT_NE(lib, nullptr);
  HWND edit = CreateWindowExW(0, MSFTEDIT_CLASS, L"", ES_MULTILINE, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(edit, nullptr);
  struct Source {
    const std::string* text;
    std::size_t pos;
  } source{&rtf, 0};
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  es.pfnCallback = [](DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* got) -> DWORD {
    auto* s = reinterpret_cast<Source*>(cookie);
    const std::size_t n = std::min<std::size_t>(cb, s->text->size() - s->pos);
    memcpy(buf, s->text->data() + s->pos, n);
    s->pos += n;
    *got = static_cast<LONG>(n);
    return 0;
  };
  SendMessageW(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
  std::wstring text(GetWindowTextLengthW(edit) + 1, L'\0');
  text.resize(GetWindowTextW(edit, text.data(), static_cast<int>(text.size())));
  DestroyWindow(edit);
  return text;
}

// The file header and every row of every table, column by column, in hexadecimal.
std::string Dump(const std::wstring& path) {
  std::string out = ReadFileBytes(path).substr(0, 100);
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open16(path.c_str(), &db), SQLITE_OK);
  auto rows = [&](const std::string& sql) {
    std::vector<std::string> result;
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* t = sqlite3_column_text(st, i);
        row += (t ? reinterpret_cast<const char*>(t) : "<null>") + std::string("|");
      }
      result.push_back(row);
    }
    sqlite3_finalize(st);
    return result;
  };
  for (const std::string& table : rows("SELECT name, sql FROM sqlite_master ORDER BY name")) {
    out += table + "\n";
    const std::string name = table.substr(0, table.find('|'));
    auto columns = rows("SELECT name FROM pragma_table_info('" + name + "')");
    std::string select = "SELECT ";
    for (const std::string& c : columns) select += "quote(" + c.substr(0, c.size() - 1) + "),";
    select.back() = ' ';
    for (const std::string& row : rows(select + "FROM " + name)) out += row + "\n";
  }
  sqlite3_close(db);
  return out;
}

template <class Store>
std::vector<std::int64_t> IdsOf(Store& store) {
  std::vector<std::int64_t> ids;
  store.GetIds(ids);
  return ids;
}

TEST(DemoStores, TextStoresReadBackAndRewriteToTheSameBytes) {
  const struct {
    const wchar_t* file;
    std::wstring newest;  // start of the newest clip, which the list shows first
  } cases[] = {{L"text_en.qdb", L"Welcome to Quillet!"},
               {L"text_ru.qdb", L"\u0414\u043e\u0431\u0440\u043e \u043f\u043e\u0436\u0430\u043b\u043e\u0432\u0430\u0442\u044c"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.file, c.file + wcslen(c.file)));
    const std::wstring demo = qstore::JoinPath(BinFolder(), c.file);
    ASSERT_TRUE(qstore::FileExists(demo));
    TempFolder dir(L"demo");
    ASSERT_TRUE(CopyFileW(demo.c_str(), (dir / L"copy.qdb").c_str(), FALSE));
    qstore::Text_DB source, rewritten;
    source.FileName(dir / L"copy.qdb");
    rewritten.FileName(dir / L"text.qdb");
    source.Open(false);
    rewritten.Open(false);
    const auto ids = IdsOf(source);
    ASSERT_EQ(ids.size(), 5u);
    for (std::int64_t id : ids) {
      qstore::SINGLE_DATA_REC rec(false);
      ASSERT_TRUE(source.Read(rec, true, id));
      ASSERT_GT(rec.Body.Size(), 0u);
      ASSERT_TRUE(rewritten.Write(rec.Body, rec.Catg, -1, nullptr, nullptr));
      if (id == ids.back()) {
        EXPECT_EQ(PlainText(rec.Body.Bytes()).rfind(c.newest, 0), 0u) << "newest clip";
      }
    }
    source.Close();
    rewritten.Close();
    EXPECT_TRUE(Dump(dir / L"text.qdb") == Dump(demo));
  }
}

TEST(DemoStores, PictureStoreReadsBackAndRewritesToTheSameBytes) {
  const std::wstring demo = qstore::JoinPath(BinFolder(), L"img.qdb");
  TempFolder dir(L"demo");
  ASSERT_TRUE(CopyFileW(demo.c_str(), (dir / L"copy.qdb").c_str(), FALSE));
  qstore::Img_DB source, rewritten;
  source.FileName(dir / L"copy.qdb");
  rewritten.FileName(dir / L"img.qdb");
  source.Open(false);
  rewritten.Open(false);
  const auto ids = IdsOf(source);
  ASSERT_EQ(ids.size(), 3u);
  for (std::int64_t id : ids) {
    qstore::SINGLE_DATA_REC rec(true);
    ASSERT_TRUE(source.Read(rec, true, id));
    EXPECT_EQ(rec.Thumbnail->Width(), 48);
    EXPECT_EQ(rec.Thumbnail->Height(), 48);
    EXPECT_EQ(rec.SizeText.substr(0, rec.SizeText.find(L'\n')),
              std::to_wstring(rec.Picture->Width()) + L"x" + std::to_wstring(rec.Picture->Height()));
    ASSERT_TRUE(rewritten.Write(rec.Body, rec.Catg, -1, rec.Picture.get(), rec.Thumbnail.get()));
  }
  source.Close();
  rewritten.Close();
  EXPECT_TRUE(Dump(dir / L"img.qdb") == Dump(demo));
}

}  // namespace

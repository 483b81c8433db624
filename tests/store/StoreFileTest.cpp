// What another program finds in the store files: schemas, encoding and column bytes.
#include "store/Database.h"
#include "store/Databaseext.h"
#include "store/StoreKit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace qstore;
using storekit::RawDb;
using testsupport::TempFolder;

namespace {

std::uint32_t U32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
  return v;
}

std::string Utf16(const std::wstring& w) {
  return std::string(reinterpret_cast<const char*>(w.data()), w.size() * 2);
}

// The BMP file header and info header a 24-bit bottom-up image of this size must start with.
std::string ExpectedHeaders(int width, int height) {
  const std::uint32_t stride = (width * 3 + 3) / 4 * 4, pixels = stride * height;
  std::string h;
  auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) h.push_back(static_cast<char>(v >> (8 * i))); };
  auto put16 = [&](std::uint16_t v) { h.push_back(static_cast<char>(v)); h.push_back(static_cast<char>(v >> 8)); };
  h += "BM";
  put32(54 + pixels);
  put32(0);
  put32(54);
  put32(40);
  put32(width);
  put32(height);
  put16(1);
  put16(24);
  put32(0);
  put32(pixels);
  put32(0);
  put32(0);
  put32(0);
  put32(0);
  return h;
}

}  // namespace

TEST(StoreFiles, PlainSqliteFindsTheSchemasEncodingAndColumnBytes) {
  TempFolder dir;
  ui::Bitmap picture = storekit::Picture(13, 7), thumbnail = storekit::Picture(48, 48);
  {
    All_DB all;
    all.TextDb.FileName(dir / L"text.qdb");
    all.ImgDb.FileName(dir / L"img.qdb");
    all.TextDb.Open(false);
    ui::MemoryStream rtf("{\\rtf1 hi}");
    ASSERT_TRUE(all.TextDb.Write(rtf, L"", -1, nullptr, nullptr));
    all.TextDb.Close();
    all.ImgDb.Open(false);
    ui::MemoryStream comment = CommentBody(L" Caf\u00e9 ");
    ASSERT_TRUE(all.ImgDb.Write(comment, L"", -1, &picture, &thumbnail));
    ui::MemoryStream none;
    ASSERT_TRUE(all.ImgDb.Write(none, L"", -1, &picture, &thumbnail));
    all.ImgDb.Close();
    Wnd_DB wnd;
    wnd.SetFileName(dir / L"wnd.qdb");
    wnd.WndList.Open(false);
    ASSERT_TRUE(wnd.WndList.WriteRow(1, L"Notepad", -1, L"Untitled"));
    wnd.WndList.Close();
  }

  struct Schema { const wchar_t* file; const char* sql; };
  for (const Schema& s : {
           Schema{L"text.qdb", "CREATE TABLE text(id INTEGER PRIMARY KEY AUTOINCREMENT,text BLOB, catg TEXT)"},
           Schema{L"img.qdb", "CREATE TABLE img(id INTEGER PRIMARY KEY AUTOINCREMENT,text BLOB, size TEXT, "
                              "catg TEXT, small BLOB, big BLOB)"},
           Schema{L"wnd.qdb", "CREATE TABLE wnd(id INTEGER PRIMARY KEY AUTOINCREMENT,active INTEGER, class "
                              "TEXT, title TEXT)"}}) {
    SCOPED_TRACE(testing::Message() << s.file);
    RawDb raw(dir / s.file);
    // SQLite keeps a CREATE TABLE IF NOT EXISTS without its IF NOT EXISTS clause.
    const auto tables = raw.Rows("SELECT sql FROM sqlite_master WHERE type='table' AND name<>'sqlite_sequence'");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0][0], s.sql);
    EXPECT_EQ(raw.Rows("PRAGMA encoding")[0][0], "UTF-16le");
  }

  RawDb text(dir / L"text.qdb");
  auto rows = text.Rows("SELECT id, text, typeof(text), catg, typeof(catg) FROM text");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "{\\rtf1 hi}", "blob", "", "text"}));

  RawDb img(dir / L"img.qdb");
  rows = img.Rows("SELECT text, typeof(text), CAST(size AS BLOB), catg, small, big FROM img ORDER BY id");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], " Caf\xe9 ") << "ANSI bytes, untrimmed, no mark, no terminator";
  EXPECT_EQ(rows[0][1], "blob");
  EXPECT_EQ(rows[0][2], Utf16(L"13x7\nCaf\u00e9")) << "UTF-16LE size text";
  EXPECT_EQ(rows[0][3], "");
  EXPECT_EQ(rows[1][1], "null") << "no comment: NULL";
  EXPECT_EQ(rows[1][2], Utf16(L"13x7\n"));
  for (const auto& row : rows) {
    const std::string& small = row[4];
    const std::string& big = row[5];
    ASSERT_GE(small.size(), 54u);
    ASSERT_GE(big.size(), 54u);
    EXPECT_EQ(small.substr(0, 54), ExpectedHeaders(48, 48));
    EXPECT_EQ(big.substr(0, 54), ExpectedHeaders(13, 7));
    EXPECT_EQ(big.size(), U32(big, 2));
    EXPECT_EQ(big, storekit::BmpImage(picture)) << "rows stored bottom-up, as in a BMP file";
    EXPECT_EQ(small, storekit::BmpImage(thumbnail));
  }

  RawDb wnd(dir / L"wnd.qdb");
  rows = wnd.Rows("SELECT id, active, typeof(active), class, title FROM wnd");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "1", "integer", "Notepad", "Untitled"}));
}

#include "store/StoreKit.h"

#include "shared/Protocol.h"
#include "ui/MemoryStream.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>

namespace storekit {

ui::Bitmap Picture(int width, int height, ui::PixelFormat format, int seed) {
  ui::Bitmap b(width, height, format);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int i = 0; i < b.Stride(); ++i) row[i] = static_cast<std::uint8_t>(seed * 13 + y * 7 + i * 3);
  }
  return b;
}

bool SamePixels(const ui::Bitmap& a, const ui::Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Format() != b.Format()) return false;
  const std::size_t bytes = static_cast<std::size_t>(a.Width()) * a.BitsPerPixel() / 8;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.ScanLine(y), b.ScanLine(y), bytes) != 0) return false;
  return true;
}

std::string BmpImage(const ui::Bitmap& b) {
  ui::MemoryStream s;
  b.SaveToStream(s);
  return s.Bytes();
}

namespace {
int g_notices = 0;
LRESULT CALLBACK NoticeProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == qbar::QBM_READ_ONLY) {
    ++g_notices;
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}
}  // namespace

NoticeWindow::NoticeWindow() {
  static const ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = NoticeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"StoreTestNotice";
    return RegisterClassW(&wc);
  }();
  (void)cls;
  g_notices = 0;
  hwnd_ = CreateWindowExW(0, L"StoreTestNotice", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
}

NoticeWindow::~NoticeWindow() { DestroyWindow(hwnd_); }

int NoticeWindow::notices() const { return g_notices; }

std::wstring UnwritableFolder() {
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  const wchar_t* folder = L"Z:\\sys";
  const DWORD attrs = GetFileAttributesW(folder);
  if (!wine || attrs == INVALID_FILE_ATTRIBUTES || !(attrs & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return folder;
}

RawDb::RawDb(const std::wstring& path) {
  if (sqlite3_open16(path.c_str(), &db_) != SQLITE_OK) ADD_FAILURE() << sqlite3_errmsg(db_);
}

RawDb::~RawDb() { sqlite3_close(db_); }

void RawDb::Exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << (error ? error : "?");
    sqlite3_free(error);
  }
}

std::vector<std::vector<std::string>> RawDb::Rows(const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
    return rows;
  }
  while (sqlite3_step(st) == SQLITE_ROW) {
    auto& row = rows.emplace_back();
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
      if (sqlite3_column_type(st, c) == SQLITE_NULL) {
        row.push_back("<null>");
      } else if (sqlite3_column_type(st, c) == SQLITE_BLOB) {
        const void* p = sqlite3_column_blob(st, c);
        row.emplace_back(static_cast<const char*>(p), sqlite3_column_bytes(st, c));
      } else {
        const unsigned char* p = sqlite3_column_text(st, c);
        row.emplace_back(reinterpret_cast<const char*>(p), sqlite3_column_bytes(st, c));
      }
    }
  }
  sqlite3_finalize(st);
  return rows;
}

}  // namespace storekit

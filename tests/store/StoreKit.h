// Fixtures shared by the store tests: pictures drawn in code, a window that counts read-only
// notices, an unwritable folder, and plain SQLite access to a store file.
#pragma once

#include "ui/Bitmap.h"

#include <windows.h>

#include <string>
#include <vector>

struct sqlite3;

namespace storekit {

ui::Bitmap Picture(int width, int height, ui::PixelFormat format = ui::PixelFormat::Bits24, int seed = 1);
bool SamePixels(const ui::Bitmap& a, const ui::Bitmap& b);
std::string BmpImage(const ui::Bitmap& b);

// A message-only window counting QBM_READ_ONLY.
class NoticeWindow {
 public:
  NoticeWindow();
  ~NoticeWindow();
  HWND get() const { return hwnd_; }
  int notices() const;

 private:
  HWND hwnd_ = nullptr;
};

// An existing folder in which nothing can be created: under Wine the Linux /sys, which refuses
// new files even to root. Empty when there is none (not under Wine).
std::wstring UnwritableFolder();

// Plain SQLite on a store file, outside the stores.
class RawDb {
 public:
  explicit RawDb(const std::wstring& path);
  ~RawDb();
  void Exec(const std::string& sql);
  // Every column of every row as bytes (text as UTF-8, NULL as "<null>").
  std::vector<std::vector<std::string>> Rows(const std::string& sql);

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace storekit

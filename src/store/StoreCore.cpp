#include "store/StoreCore.h"

#include "shared/Protocol.h"
#include "store/Statement.h"

#include <sqlite3.h>

#include <exception>

namespace qstore {

using detail::Statement;

std::int64_t ParseId(const std::wstring& text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == L'-';
  if (negative) ++i;
  if (i == text.size()) throw std::invalid_argument("Not an integer");
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') throw std::invalid_argument("Not an integer");
    const unsigned digit = text[i] - L'0';
    if (value > (std::uint64_t{1} << 63) / 10 || value * 10 + digit > (std::uint64_t{1} << 63) - (negative ? 0 : 1))
      throw std::out_of_range("Integer out of range");
    value = value * 10 + digit;
  }
  return negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
}

Base_DB::~Base_DB() {
  try {
    Close();
  } catch (...) {
  }
}

bool Base_DB::Open(bool recreate) {
  try {
    Close();
    if (recreate && !readOnly_ && GetFileAttributesW(fileName_.c_str()) != INVALID_FILE_ATTRIBUTES) {
      SetFileAttributesW(fileName_.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(fileName_.c_str());
    }
  } catch (const std::exception&) {
    throw StoreError("Can't open database");
  }
  return true;
}

void Base_DB::SetTable(const std::vector<std::wstring>& statements) {
  try {
    // Without a file SQLite creates one, in UTF-16LE because it is opened through the UTF-16 API.
    if (sqlite3_open16(fileName_.c_str(), &handle_) == SQLITE_OK)
      for (const std::wstring& sql : statements) Query(sql);
  } catch (const std::exception&) {
    throw StoreError("Can't set table");
  }
}

void Base_DB::Close() {
  if (!handle_) return;
  try {
    // Every statement is finalized by its owner, so close cannot be kept busy.
    sqlite3_close(handle_);
    handle_ = nullptr;
  } catch (const std::exception&) {
    handle_ = nullptr;
    throw StoreError("Can't close database");
  }
}

std::wstring Base_DB::FileName(const std::wstring& newName) {
  if (newName.empty()) return fileName_;
  fileName_ = newName;
  return {};
}

QueryRows Base_DB::Query(const std::wstring& sql) {
  QueryRows rows;
  Statement st(handle_, sql, Statement::Prepare::Legacy);
  if (!st) return rows;
  const int columns = sqlite3_column_count(st.get());
  while (sqlite3_step(st.get()) == SQLITE_ROW) {
    std::vector<std::wstring>& row = rows.emplace_back();
    for (int c = 0; c < columns; ++c) row.push_back(st.Text(c));
  }
  return rows;
}

int Base_DB::Count() {
  if (!handle_ || tableName_.empty()) return -1;
  const QueryRows rows = Query(L"SELECT Count(*) FROM " + tableName_);
  if (rows.empty() || rows[0].empty()) return -1;
  return static_cast<int>(ParseId(rows[0][0]));
}

bool Base_DB::GetIds(std::vector<std::int64_t>& ids) {
  if (!handle_ || tableName_.empty()) return true;
  // No ORDER BY: a rowid table is scanned in ascending id, which the lists rely on.
  for (const auto& row : Query(L"SELECT id FROM " + tableName_))
    if (!row.empty()) ids.push_back(ParseId(row[0]));
  return true;
}

bool Base_DB::Delete(std::int64_t id) {
  if (RefuseWrite()) return false;
  if (!handle_ || tableName_.empty()) return false;
  Statement st(handle_, L"DELETE FROM " + tableName_ + L" WHERE id=" + std::to_wstring(id),
               Statement::Prepare::Legacy);
  if (!st) return false;
  const int step = sqlite3_step(st.get());
  return step == SQLITE_DONE && st.Finalize() == SQLITE_OK;
}

bool Base_DB::Write(ui::MemoryStream&, const std::wstring&, std::int64_t, ui::Bitmap*, ui::Bitmap*) { return false; }

bool Base_DB::Read(SINGLE_DATA_REC&, bool, std::int64_t) { return false; }

bool Base_DB::ReadOnly(bool set, bool value) {
  if (set) readOnly_ = value;
  return readOnly_;
}

bool Base_DB::RefuseWrite() {
  if (!readOnly_) return false;
  if (notifyWindow_) SendMessageW(notifyWindow_, qbar::QBM_READ_ONLY, 0, 0);
  return true;
}

bool DB_Dir::CheckReadOnly(const std::wstring& folder) {
  try {
    std::wstring probe = folder;
    if (!probe.empty() && probe.back() != L'\\' && probe.back() != L'/') probe += L'\\';
    probe += L"readonly.tmp";
    if (GetFileAttributesW(probe.c_str()) != INVALID_FILE_ATTRIBUTES) {
      if (!SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL)) return true;
      if (!DeleteFileW(probe.c_str())) return true;
    }
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    return !DeleteFileW(probe.c_str());
  } catch (...) {
    return true;
  }
}

}  // namespace qstore

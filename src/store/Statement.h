// A prepared statement that is finalized on every path, so that a failed read (a bitmap that
// does not load, for instance) never leaves the connection unable to close.
#pragma once

#include <sqlite3.h>

#include <string>

namespace qstore::detail {

class Statement {
 public:
  enum class Prepare { Legacy, V2 };
  Statement(sqlite3* db, const std::wstring& sql, Prepare how = Prepare::V2) {
    if (!db) return;
    const int rc = how == Prepare::V2 ? sqlite3_prepare16_v2(db, sql.c_str(), -1, &stmt_, nullptr)
                                      : sqlite3_prepare16(db, sql.c_str(), -1, &stmt_, nullptr);
    if (rc != SQLITE_OK && stmt_) Finalize();
  }
  ~Statement() { if (stmt_) sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  explicit operator bool() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() const { return stmt_; }
  int Finalize() {
    const int rc = sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return rc;
  }

  bool BindText(int index, const std::wstring& text) {
    return sqlite3_bind_text16(stmt_, index, text.c_str(), static_cast<int>(text.size() * sizeof(wchar_t)),
                               SQLITE_TRANSIENT) == SQLITE_OK;
  }
  // No data binds SQL NULL.
  bool BindBlob(int index, const void* data, std::size_t size) {
    if (size > 0x7FFFFFFF) return false;
    return sqlite3_bind_blob(stmt_, index, size ? data : nullptr, static_cast<int>(size), SQLITE_TRANSIENT) ==
           SQLITE_OK;
  }

  std::wstring Text(int column) const {
    const void* p = sqlite3_column_text16(stmt_, column);
    if (!p) return {};
    return std::wstring(static_cast<const wchar_t*>(p), sqlite3_column_bytes16(stmt_, column) / sizeof(wchar_t));
  }
  std::string_view Blob(int column) const {
    const void* p = sqlite3_column_blob(stmt_, column);
    const int n = sqlite3_column_bytes(stmt_, column);
    return p && n > 0 ? std::string_view(static_cast<const char*>(p), n) : std::string_view();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace qstore::detail

// The store interface every record store implements, its SQLite-backed base, and the folder
// writability check of the store owners.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace ui {
class Bitmap;
class MemoryStream;
}  // namespace ui

namespace qstore {

struct SINGLE_DATA_REC;

// Raised only for unexpected failures (exhausted memory and the like) while opening or closing;
// SQLite's own failures are reported through results.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses a decimal integer as SQLite prints it; anything else throws std::invalid_argument.
std::int64_t ParseId(const std::wstring& text);

class ISQLite_Base {
 public:
  virtual bool Open(bool recreate) = 0;
  virtual void Close() = 0;
  // Empty newName: returns the current name. Otherwise sets it and returns an empty string.
  virtual std::wstring FileName(const std::wstring& newName) = 0;
  virtual int Count() = 0;
  virtual bool GetIds(std::vector<std::int64_t>& ids) = 0;
  virtual bool Delete(std::int64_t id) = 0;
  // A negative id inserts a new row.
  virtual bool Write(ui::MemoryStream& body, const std::wstring& catg, std::int64_t id, ui::Bitmap* picture,
                     ui::Bitmap* thumbnail) = 0;
  virtual bool Read(SINGLE_DATA_REC& record, bool full, std::int64_t id) = 0;
  virtual bool ReadOnly(bool set, bool value) = 0;

 protected:
  ~ISQLite_Base() = default;  // stores are destroyed through Base_DB
};

using QueryRows = std::vector<std::vector<std::wstring>>;

class Base_DB : public ISQLite_Base {
 public:
  Base_DB() = default;
  virtual ~Base_DB();
  Base_DB(const Base_DB&) = delete;
  Base_DB& operator=(const Base_DB&) = delete;

  // Closes, and with recreate deletes the file unless the store is read-only. A concrete store
  // also opens the connection and creates its table.
  bool Open(bool recreate) override;
  void Close() override;
  std::wstring FileName(const std::wstring& newName) override;
  int Count() override;
  bool GetIds(std::vector<std::int64_t>& ids) override;
  bool Delete(std::int64_t id) override;
  bool Write(ui::MemoryStream& body, const std::wstring& catg, std::int64_t id, ui::Bitmap* picture,
             ui::Bitmap* thumbnail) override;
  bool Read(SINGLE_DATA_REC& record, bool full, std::int64_t id) override;
  bool ReadOnly(bool set, bool value) override;

  // Opens the connection on the file name and runs each statement in turn.
  void SetTable(const std::vector<std::wstring>& statements);
  // All result rows of one statement as text; no rows when it cannot be prepared.
  QueryRows Query(const std::wstring& sql);

  // The window that receives the read-only notice; null sends none.
  void SetNotifyWindow(HWND window) { notifyWindow_ = window; }
  bool IsOpen() const { return handle_ != nullptr; }
  const std::wstring& TableName() const { return tableName_; }

 protected:
  // True (after sending the notice) when the store must not write.
  bool RefuseWrite();

  std::wstring fileName_;
  std::wstring tableName_;
  sqlite3* handle_ = nullptr;
  bool readOnly_ = false;
  HWND notifyWindow_ = nullptr;
};

// Base of the store owners.
class DB_Dir {
 public:
  virtual ~DB_Dir() = default;
  // True when no file can be created and deleted in the folder (probe file "readonly.tmp").
  virtual bool CheckReadOnly(const std::wstring& folder);

  bool ReadOnly = false;
};

}  // namespace qstore

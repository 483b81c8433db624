// The window visibility list store: one row per window class on which the bar is hidden.
#pragma once

#include "store/StoreCore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qstore {

struct DATA_REC_TXT {
  std::int64_t Id = 0;
  std::int64_t Active = 0;  // 1: the bar is hidden on windows of this class
  std::wstring Class;
  std::wstring Title;       // window on which the class was recorded
};

class ISQLite_WndList {
 public:
  // A negative id inserts a row.
  virtual bool WriteRow(int active, const std::wstring& windowClass, std::int64_t id, const std::wstring& title) = 0;
  // A missing id leaves the row unchanged and still succeeds.
  virtual bool ReadRow(DATA_REC_TXT& row, std::int64_t id) = 0;
  // Id of a row with that class (blanks around it ignored); 0 for none.
  virtual std::int64_t FindClass(const std::wstring& windowClass) = 0;
  virtual void ActiveClasses(std::vector<std::wstring>& classes) = 0;
  virtual void ReadAll(std::vector<DATA_REC_TXT>& rows) = 0;

 protected:
  ~ISQLite_WndList() = default;
};

class WndList_DB : public Base_DB, public ISQLite_WndList {
 public:
  static constexpr const wchar_t* kDefaultFile = L"wnd.qdb";
  static constexpr const wchar_t* kTableDefinition =
      L"CREATE TABLE IF NOT EXISTS wnd(id INTEGER PRIMARY KEY AUTOINCREMENT,active INTEGER, class TEXT, title TEXT)";

  bool Open(bool recreate) override;
  bool WriteRow(int active, const std::wstring& windowClass, std::int64_t id, const std::wstring& title) override;
  bool ReadRow(DATA_REC_TXT& row, std::int64_t id) override;
  std::int64_t FindClass(const std::wstring& windowClass) override;
  void ActiveClasses(std::vector<std::wstring>& classes) override;
  void ReadAll(std::vector<DATA_REC_TXT>& rows) override;
};

// Owner of the window list store.
class Wnd_DB : public DB_Dir {
 public:
  void SetFileName(const std::wstring& path) { WndList.FileName(path); }
  void SetMainWindow(HWND window) { WndList.SetNotifyWindow(window); }

  WndList_DB WndList;
};

}  // namespace qstore

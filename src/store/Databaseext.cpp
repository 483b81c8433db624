#include "store/Databaseext.h"

#include "shared/TextCodec.h"
#include "store/Statement.h"

#include <sqlite3.h>

namespace qstore {

using detail::Statement;

bool WndList_DB::Open(bool recreate) {
  try {
    if (fileName_.empty()) fileName_ = kDefaultFile;
    Base_DB::Open(recreate);
    if (tableName_.empty()) tableName_ = L"wnd";
    SetTable({kTableDefinition});
  } catch (...) {
  }
  return true;
}

bool WndList_DB::WriteRow(int active, const std::wstring& windowClass, std::int64_t id, const std::wstring& title) {
  if (RefuseWrite()) return false;
  if (!handle_) return false;
  Statement st(handle_, id < 0 ? std::wstring(L"INSERT INTO wnd(active, class, title) VALUES(?,?,?)")
                               : L"UPDATE wnd SET active=?, class=?, title=? WHERE id=" + std::to_wstring(id));
  if (!st) return false;
  bool bound = sqlite3_bind_int(st.get(), 1, active) == SQLITE_OK;
  bound &= st.BindText(2, windowClass);
  bound &= st.BindText(3, title);
  const int step = sqlite3_step(st.get());
  return st.Finalize() == SQLITE_OK && bound && step == SQLITE_DONE;
}

bool WndList_DB::ReadRow(DATA_REC_TXT& row, std::int64_t id) {
  if (!handle_) return false;
  Statement st(handle_, L"SELECT id, active, class, title FROM wnd WHERE id=" + std::to_wstring(id));
  if (!st) return false;
  const int step = sqlite3_step(st.get());
  if (step != SQLITE_ROW) return st.Finalize() == SQLITE_OK && step == SQLITE_DONE;
  const bool ok = sqlite3_column_count(st.get()) >= 4;
  if (ok) {
    row.Id = sqlite3_column_int64(st.get(), 0);
    row.Active = sqlite3_column_int64(st.get(), 1);
    row.Class = st.Text(2);
    row.Title = st.Text(3);
  }
  return st.Finalize() == SQLITE_OK && ok;
}

std::int64_t WndList_DB::FindClass(const std::wstring& windowClass) {
  if (!handle_ || tableName_.empty()) return 0;
  std::wstring quoted;
  for (wchar_t c : qtext::Trim(windowClass)) {
    quoted += c;
    if (c == L'\'') quoted += L'\'';
  }
  const QueryRows rows = Query(L"SELECT id FROM " + tableName_ + L" WHERE class='" + quoted + L"'");
  if (rows.empty() || rows[0].empty()) return 0;
  try {
    return ParseId(rows[0][0]);
  } catch (const std::exception&) {
    return 0;
  }
}

void WndList_DB::ActiveClasses(std::vector<std::wstring>& classes) {
  for (const auto& row : Query(L"SELECT class FROM wnd WHERE active>0"))
    if (!row.empty()) classes.push_back(row[0]);
}

void WndList_DB::ReadAll(std::vector<DATA_REC_TXT>& rows) {
  std::vector<std::int64_t> ids;
  GetIds(ids);
  DATA_REC_TXT row;
  for (std::int64_t id : ids) {
    ReadRow(row, id);
    rows.push_back(row);
  }
}

}  // namespace qstore

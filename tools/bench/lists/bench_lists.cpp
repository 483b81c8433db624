// How long a list refill takes for 10,000 text clips and for 2,000 picture clips, as a ratio to
// reading the same rows with raw SQLite (prepare, step, column blob per id) in the same run.
#include <windows.h>
#include <commctrl.h>

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>

#include "editor/ExtendEdit.h"
#include "main/CurInsWindow.h"
#include "store/Database.h"
#include "support/TempFolder.h"
#include "ui/Application.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void FillText(const std::wstring& file, int count) {
  qstore::Text_DB store;
  store.FileName(file);
  store.Open(false);
  sqlite3* db = nullptr;
  sqlite3_open16(file.c_str(), &db);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);  // fixture only: one transaction
  for (int i = 1; i <= count; ++i) {
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Tahoma;}}\\f0\\fs17 Clip number " + std::to_string(i) +
                            ", a line of text as people keep them\\par}";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO text(text, catg) VALUES(?, '')", -1, &st, nullptr);
    sqlite3_bind_blob(st, 1, rtf.data(), static_cast<int>(rtf.size()), SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_finalize(st);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  store.Close();
}

void FillPictures(const std::wstring& file, int count) {
  qstore::Img_DB store;
  store.FileName(file);
  store.Open(false);
  ui::Bitmap picture(640, 480), thumbnail(48, 48);
  ui::MemoryStream small, big;
  thumbnail.SaveToStream(small);
  picture.SaveToStream(big);
  store.Close();
  sqlite3* db = nullptr;
  sqlite3_open16(file.c_str(), &db);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (int i = 0; i < count; ++i) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO img(text, size, catg, small, big) VALUES(NULL, '640x480\n', '', ?, ?)", -1, &st,
                       nullptr);
    sqlite3_bind_blob(st, 1, small.Data(), static_cast<int>(small.Size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(st, 2, big.Data(), static_cast<int>(big.Size()), SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_finalize(st);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// The same rows read the plainest way: ids, then one SELECT per id, as the store does.
double RawRead(const std::wstring& file, const char* table, const char* columns) {
  const double start = Now();
  sqlite3* db = nullptr;
  sqlite3_open16(file.c_str(), &db);
  std::vector<long long> ids;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, (std::string("SELECT id FROM ") + table).c_str(), -1, &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(st, 0));
  sqlite3_finalize(st);
  std::size_t bytes = 0;
  for (long long id : ids) {
    const std::string sql = std::string("SELECT ") + columns + " FROM " + table + " WHERE id=" + std::to_string(id);
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    if (sqlite3_step(st) == SQLITE_ROW) bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, 0));
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  volatile std::size_t sink = bytes;
  (void)sink;
  return (Now() - start) * 1000.0;
}

double TimedRefill(TCurInsWindow& w, ui::ListView* list) {
  w.ActiveList = list;
  list->NeedUpdate = true;
  const double start = Now();
  w.Refill();
  return (Now() - start) * 1000.0;
}

}  // namespace

// Optional arguments: the numbers of text and picture clips (default 10000 and 2000).
int wmain(int argc, wchar_t** argv) {
  testsupport::TempFolder folder(L"bench");
  const int texts = argc > 1 ? _wtoi(argv[1]) : 10000, pictures = argc > 2 ? _wtoi(argv[2]) : 2000;
  FillText(folder / L"text.qdb", texts);
  FillPictures(folder / L"img.qdb", pictures);

  auto root = std::make_unique<ui::Component>(nullptr, L"Application");
  auto* w = root->Make<TCurInsWindow>();
  w->FormCreate();
  w->ExtendEdit = root->Make<TF_ExtendEdit>(*w);
  w->UserDBFolder = folder.path();

  const double rawText = RawRead(folder / L"text.qdb", "text", "text");
  const double text = TimedRefill(*w, w->LV_Text);
  const int textItems = ListView_GetItemCount(w->LV_Text->Handle());
  const double rawImg = RawRead(folder / L"img.qdb", "img", "text, size, catg, small");
  const double img = TimedRefill(*w, w->LV_Img);
  const int imgItems = ListView_GetItemCount(w->LV_Img->Handle());

  std::printf("refill of %d text clips: %.0f ms (%d items); raw SQLite read %.0f ms; ratio %.1f\n", texts, text,
              textItems, rawText, text / rawText);
  std::printf("refill of %d picture clips: %.0f ms (%d items); raw SQLite read %.0f ms; ratio %.1f\n", pictures, img,
              imgItems, rawImg, img / rawImg);
  root.reset();
  return 0;
}

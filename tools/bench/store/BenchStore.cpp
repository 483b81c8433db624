// Times the stores on their two heavy paths, each against plain SQLite doing the same statements
// in the same run: writing records one statement at a time (as saves do) and reading them back
// as a list refill does (text bodies only; pictures without the full image).
//   bench_store.exe [texts N] [pictures N] [rawfirst]
#include "store/Database.h"

#include <sqlite3.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

using namespace qstore;

namespace {

bool g_rawFirst = false;

// Runs the store's and plain SQLite's halves in the order asked for, to show the order's effect.
void InOrder(const std::function<void()>& store, const std::function<void()>& raw) {
  if (g_rawFirst) { raw(); store(); } else { store(); raw(); }
}

double Seconds(const std::function<void()>& work) {
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  work();
  QueryPerformanceCounter(&b);
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

std::string Rtf(int i) {
  std::string s = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Tahoma;}}\\viewkind4\\uc1\\pard\\f0\\fs22 ";
  s += "Record " + std::to_string(i) + " ";
  while (s.size() < 2040) s += "The quick brown fox jumps over the lazy dog. \\par ";
  return s + "}";
}

ui::Bitmap Picture(int w, int h, int seed) {
  ui::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < b.Stride(); ++x) row[x] = static_cast<std::uint8_t>(x * 3 + y * 5 + seed);
  }
  return b;
}

std::string Image(const ui::Bitmap& b) {
  ui::MemoryStream s;
  b.SaveToStream(s);
  return s.Bytes();
}

void Exec(sqlite3* db, const wchar_t* sql) {
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare16(db, sql, -1, &st, nullptr);
  sqlite3_step(st);
  sqlite3_finalize(st);
}

std::vector<std::int64_t> RawIds(sqlite3* db, const wchar_t* sql) {
  std::vector<std::int64_t> ids;
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare16(db, sql, -1, &st, nullptr);
  while (sqlite3_step(st) == SQLITE_ROW) ids.push_back(_wtoi64(static_cast<const wchar_t*>(sqlite3_column_text16(st, 0))));
  sqlite3_finalize(st);
  return ids;
}

void Report(const char* what, double store, double raw) {
  std::printf("%-44s store %8.3f s   raw SQLite %8.3f s   ratio %.3f\n", what, store, raw, raw > 0 ? store / raw : 0.0);
  std::fflush(stdout);
}

struct Folder {
  std::wstring path;
  Folder() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    path = std::wstring(tmp) + L"qbench" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
  }
  ~Folder() { RemoveDirectoryW(path.c_str()); }
  std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }
};

void BenchTexts(const Folder& dir, int count) {
  std::vector<std::string> bodies;
  for (int i = 0; i < count; ++i) bodies.push_back(Rtf(i));
  const std::wstring storeFile = dir.File(L"text.qdb"), rawFile = dir.File(L"raw_text.qdb");

  Text_DB db;
  db.FileName(storeFile);
  double storeWrite = 0, storeRead = 0, rawWrite = 0, rawRead = 0;
  std::size_t storeBytes = 0, rawBytes = 0;
  sqlite3* raw = nullptr;
  InOrder([&] {
  storeWrite = Seconds([&] {
    db.Open(false);
    for (const std::string& b : bodies) {
      ui::MemoryStream s(b);
      db.Write(s, L"", -1, nullptr, nullptr);
    }
    db.Close();
  });
  storeRead = Seconds([&] {
    db.Open(false);
    std::vector<std::int64_t> ids;
    db.GetIds(ids);
    SINGLE_DATA_REC rec(false);
    for (std::int64_t id : ids) {
      db.Read(rec, false, id);
      storeBytes += rec.Body.Size();
      rec.Reset();
    }
    db.Close();
  });
  }, [&] {
  rawWrite = Seconds([&] {
    sqlite3_open16(rawFile.c_str(), &raw);
    Exec(raw, Text_DB::kTableDefinition);
    for (const std::string& b : bodies) {
      sqlite3_stmt* st = nullptr;
      sqlite3_prepare16_v2(raw, L"INSERT INTO text(text, catg) VALUES(?,?)", -1, &st, nullptr);
      sqlite3_bind_blob(st, 1, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text16(st, 2, L"", 0, SQLITE_TRANSIENT);
      sqlite3_step(st);
      sqlite3_finalize(st);
    }
    sqlite3_close(raw);
  });
  rawRead = Seconds([&] {
    sqlite3_open16(rawFile.c_str(), &raw);
    for (std::int64_t id : RawIds(raw, L"SELECT id FROM text")) {
      sqlite3_stmt* st = nullptr;
      sqlite3_prepare16_v2(raw, (L"SELECT text FROM text WHERE id=" + std::to_wstring(id)).c_str(), -1, &st, nullptr);
      if (sqlite3_step(st) == SQLITE_ROW) {
        std::string body(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
        rawBytes += body.size();
      }
      sqlite3_finalize(st);
    }
    sqlite3_close(raw);
  });
  });
  char what[80];
  std::snprintf(what, sizeof what, "text: insert %d records of %zu bytes", count, bodies[0].size());
  Report(what, storeWrite, rawWrite);
  std::snprintf(what, sizeof what, "text: read %d bodies (%zu / %zu bytes)", count, storeBytes, rawBytes);
  Report(what, storeRead, rawRead);
  DeleteFileW(storeFile.c_str());
  DeleteFileW(rawFile.c_str());
}

void BenchPictures(const Folder& dir, int count) {
  const ui::Bitmap picture = Picture(640, 480, 1);
  const ui::Bitmap thumbnail = Picture(48, 48, 2);
  const std::wstring storeFile = dir.File(L"img.qdb"), rawFile = dir.File(L"raw_img.qdb");

  Img_DB db;
  db.FileName(storeFile);
  ui::Bitmap pic, thumb;
  pic.Assign(picture);
  thumb.Assign(thumbnail);
  double storeWrite = 0, storeRead = 0, rawWrite = 0, rawRead = 0;
  int storeThumbs = 0, rawThumbs = 0;
  // Plain SQLite binds images serialised once beforehand and reads the blobs without decoding.
  const std::string big = Image(picture), small = Image(thumbnail), comment = "A picture comment";
  const std::wstring size = L"640x480\nA picture comment";
  sqlite3* raw = nullptr;
  InOrder([&] {
  storeWrite = Seconds([&] {
    db.Open(false);
    for (int i = 0; i < count; ++i) {
      ui::MemoryStream comment("A picture comment");
      db.Write(comment, L"", -1, &pic, &thumb);
    }
    db.Close();
  });
  storeRead = Seconds([&] {
    db.Open(false);
    std::vector<std::int64_t> ids;
    db.GetIds(ids);
    SINGLE_DATA_REC rec(true);
    for (std::int64_t id : ids) {
      db.Read(rec, false, id);
      storeThumbs += !rec.Thumbnail->Empty();
      rec.Reset();
    }
    db.Close();
  });
  }, [&] {
  rawWrite = Seconds([&] {
    sqlite3_open16(rawFile.c_str(), &raw);
    Exec(raw, Img_DB::kTableDefinition);
    for (int i = 0; i < count; ++i) {
      sqlite3_stmt* st = nullptr;
      sqlite3_prepare16_v2(raw, L"INSERT INTO img(text, size, catg, small, big) VALUES(?,?,?,?,?)", -1, &st, nullptr);
      sqlite3_bind_blob(st, 1, comment.data(), static_cast<int>(comment.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text16(st, 2, size.c_str(), static_cast<int>(size.size() * 2), SQLITE_TRANSIENT);
      sqlite3_bind_text16(st, 3, L"", 0, SQLITE_TRANSIENT);
      sqlite3_bind_blob(st, 4, small.data(), static_cast<int>(small.size()), SQLITE_TRANSIENT);
      sqlite3_bind_blob(st, 5, big.data(), static_cast<int>(big.size()), SQLITE_TRANSIENT);
      sqlite3_step(st);
      sqlite3_finalize(st);
    }
    sqlite3_close(raw);
  });
  rawRead = Seconds([&] {
    sqlite3_open16(rawFile.c_str(), &raw);
    for (std::int64_t id : RawIds(raw, L"SELECT id FROM img")) {
      sqlite3_stmt* st = nullptr;
      sqlite3_prepare16_v2(raw, (L"SELECT text, size, catg, small FROM img WHERE id=" + std::to_wstring(id)).c_str(),
                           -1, &st, nullptr);
      if (sqlite3_step(st) == SQLITE_ROW) {
        std::string text(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
        std::wstring sizeText(static_cast<const wchar_t*>(sqlite3_column_text16(st, 1)));
        std::wstring catg(static_cast<const wchar_t*>(sqlite3_column_text16(st, 2)));
        std::string thumb(static_cast<const char*>(sqlite3_column_blob(st, 3)), sqlite3_column_bytes(st, 3));
        rawThumbs += !thumb.empty();
      }
      sqlite3_finalize(st);
    }
    sqlite3_close(raw);
  });
  });
  char what[80];
  std::snprintf(what, sizeof what, "pictures: insert %d of 640x480 + 48x48", count);
  Report(what, storeWrite, rawWrite);
  std::snprintf(what, sizeof what, "pictures: list read %d (%d / %d thumbnails)", count, storeThumbs, rawThumbs);
  Report(what, storeRead, rawRead);
  DeleteFileW(storeFile.c_str());
  DeleteFileW(rawFile.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int texts = 10000, pictures = 2000;
  for (int i = 1; i < argc; ++i)
    if (std::wcscmp(argv[i], L"rawfirst") == 0) g_rawFirst = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::wcscmp(argv[i], L"texts") == 0) texts = _wtoi(argv[i + 1]);
    if (std::wcscmp(argv[i], L"pictures") == 0) pictures = _wtoi(argv[i + 1]);
  }
  std::printf("Record stores against plain SQLite with the same statements (ratio = store / raw, %s first)\n",
              g_rawFirst ? "plain SQLite" : "store");
  Folder dir;
  if (texts > 0) BenchTexts(dir, texts);
  if (pictures > 0) BenchPictures(dir, pictures);
  return 0;
}

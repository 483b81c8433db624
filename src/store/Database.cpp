#include "store/Database.h"

#include "shared/TextCodec.h"
#include "store/Statement.h"

#include <sqlite3.h>

namespace qstore {

using detail::Statement;

SINGLE_DATA_REC::SINGLE_DATA_REC(bool isPicture) : IsPicture(isPicture) {
  if (isPicture) {
    Picture = std::make_unique<ui::Bitmap>();
    Thumbnail = std::make_unique<ui::Bitmap>();
  }
}

SINGLE_DATA_REC::~SINGLE_DATA_REC() = default;

void SINGLE_DATA_REC::Reset() {
  if (Thumbnail) Thumbnail->Clear();
  if (Picture) Picture->Clear();
  Body.Clear();
  SizeText.clear();
  Catg.clear();
}

ui::MemoryStream CommentBody(std::wstring_view comment) { return ui::MemoryStream(qtext::WideToAnsi(comment)); }

std::wstring CommentText(const ui::MemoryStream& body) {
  std::wstring joined;
  bool first = true;
  for (const std::wstring& line : qtext::TextToLines(body.View())) {
    if (!first) joined += L"\r\n";
    joined += line;
    first = false;
  }
  return qtext::Trim(joined);
}

std::wstring SizeTextFor(const ui::Bitmap& picture, const ui::MemoryStream& body) {
  return std::to_wstring(picture.Width()) + L"x" + std::to_wstring(picture.Height()) + L"\n" + CommentText(body);
}

namespace {

bool OpenStore(Base_DB& store, std::wstring& fileName, std::wstring& tableName, bool recreate,
               const wchar_t* defaultFile, const wchar_t* table, const wchar_t* definition) {
  // Opening never fails visibly: a store left without a usable connection reads nothing and
  // refuses writes through its results.
  try {
    if (fileName.empty()) fileName = defaultFile;
    store.Base_DB::Open(recreate);
    if (tableName.empty()) tableName = table;
    store.SetTable({definition});
  } catch (...) {
  }
  return true;
}

std::wstring UpdateOrInsert(std::int64_t id, const wchar_t* insert, const wchar_t* update) {
  return id < 0 ? std::wstring(insert) : std::wstring(update) + std::to_wstring(id);
}

// Copies the blob into the body from its start; the body ends where the blob ends.
void FillBody(ui::MemoryStream& body, std::string_view blob) {
  body.Clear();
  body.Write(blob);
  body.SetPosition(0);
}

}  // namespace

bool Text_DB::Open(bool recreate) {
  return OpenStore(*this, fileName_, tableName_, recreate, kDefaultFile, L"text", kTableDefinition);
}

bool Text_DB::Write(ui::MemoryStream& body, const std::wstring& catg, std::int64_t id, ui::Bitmap*, ui::Bitmap*) {
  if (RefuseWrite()) return false;
  if (!handle_) return false;
  Statement st(handle_, UpdateOrInsert(id, L"INSERT INTO text(text, catg) VALUES(?,?)",
                                       L"UPDATE text SET text=?, catg=? WHERE id="));
  if (!st) return false;
  const bool bound = st.BindBlob(1, body.Data(), body.Size()) & st.BindText(2, catg);
  const int step = sqlite3_step(st.get());
  return st.Finalize() == SQLITE_OK && bound && step == SQLITE_DONE;
}

bool Text_DB::Read(SINGLE_DATA_REC& record, bool full, std::int64_t id) {
  if (!handle_) return false;
  Statement st(handle_, (full ? L"SELECT text, catg FROM text WHERE id=" : L"SELECT text FROM text WHERE id=") +
                            std::to_wstring(id));
  if (!st) return false;
  const int step = sqlite3_step(st.get());
  if (step != SQLITE_ROW) return st.Finalize() == SQLITE_OK && step == SQLITE_DONE;  // no such id: unchanged
  bool ok = sqlite3_column_count(st.get()) >= 1;
  if (ok) {
    FillBody(record.Body, st.Blob(0));
    if (full) record.Catg = st.Text(1);
  }
  return st.Finalize() == SQLITE_OK && ok;
}

bool Img_DB::Open(bool recreate) {
  return OpenStore(*this, fileName_, tableName_, recreate, kDefaultFile, L"img", kTableDefinition);
}

bool Img_DB::Write(ui::MemoryStream& body, const std::wstring& catg, std::int64_t id, ui::Bitmap* picture,
                   ui::Bitmap* thumbnail) {
  if (RefuseWrite()) return false;
  if (!handle_ || !thumbnail || thumbnail->Empty() || !picture || picture->Empty()) return false;
  Statement st(handle_,
               UpdateOrInsert(id, L"INSERT INTO img(text, size, catg, small, big) VALUES(?,?,?,?,?)",
                              L"UPDATE img SET text=?,size=?,catg=?,small=?,big=? WHERE id="));
  if (!st) return false;
  ui::MemoryStream big, small;
  picture->SaveToStream(big);
  thumbnail->SaveToStream(small);
  const std::wstring size = SizeTextFor(*picture, body);
  bool bound = st.BindBlob(1, body.Data(), body.Size());
  bound &= st.BindText(2, size);
  bound &= st.BindText(3, catg);
  bound &= st.BindBlob(4, small.Data(), small.Size());
  bound &= st.BindBlob(5, big.Data(), big.Size());
  const int step = sqlite3_step(st.get());
  return st.Finalize() == SQLITE_OK && bound && step == SQLITE_DONE;
}

bool Img_DB::Read(SINGLE_DATA_REC& record, bool full, std::int64_t id) {
  if (!handle_ || !record.Picture || !record.Thumbnail) return false;
  Statement st(handle_, (full ? L"SELECT text, size, catg, small, big FROM img WHERE id="
                              : L"SELECT text, size, catg, small FROM img WHERE id=") +
                            std::to_wstring(id));
  if (!st) return false;
  const int step = sqlite3_step(st.get());
  if (step != SQLITE_ROW) return st.Finalize() == SQLITE_OK && step == SQLITE_DONE;
  bool ok = sqlite3_column_count(st.get()) >= 4;
  if (ok) {
    FillBody(record.Body, st.Blob(0));
    record.SizeText = st.Text(1);
    record.Catg = st.Text(2);
    // The statement owns the blob memory until the next step; the bitmap reads it in place.
    record.Thumbnail->LoadFromMemory(st.Blob(3));
    if (full) record.Picture->LoadFromMemory(st.Blob(4));
  }
  return st.Finalize() == SQLITE_OK && ok;
}

All_DB::All_DB() { Select(0); }

void All_DB::Select(int index) {
  if (static_cast<unsigned>(index) > 1) return;
  activeIndex_ = index;
  CurrentRecordId = 0;
}

Base_DB* All_DB::ActiveStore() {
  if (activeIndex_ == 0) return &TextDb;
  if (activeIndex_ == 1) return &ImgDb;
  return nullptr;
}

bool All_DB::CheckReadOnly(const std::wstring& folder) {
  ReadOnly = DB_Dir::CheckReadOnly(folder);
  TextDb.ReadOnly(true, ReadOnly);
  ImgDb.ReadOnly(true, ReadOnly);
  return ReadOnly;
}

std::wstring All_DB::ActiveFileName() { return ActiveStore()->FileName(L""); }

void All_DB::SetActiveFileName(const std::wstring& path) { ActiveStore()->FileName(path); }

void All_DB::SetMainWindow(HWND window) {
  TextDb.SetNotifyWindow(window);
  ImgDb.SetNotifyWindow(window);
}

}  // namespace qstore

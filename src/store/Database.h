// The text clip and picture clip stores, the record they read and write, and their owner.
#pragma once

#include "store/StoreCore.h"
#include "ui/Bitmap.h"
#include "ui/MemoryStream.h"

#include <memory>
#include <string_view>

namespace qstore {

// One text or picture record in memory.
struct SINGLE_DATA_REC {
  explicit SINGLE_DATA_REC(bool isPicture);
  ~SINGLE_DATA_REC();
  SINGLE_DATA_REC(const SINGLE_DATA_REC&) = delete;
  SINGLE_DATA_REC& operator=(const SINGLE_DATA_REC&) = delete;

  // Empties the record for the next read and frees the bitmaps' GDI objects at once.
  void Reset();

  std::unique_ptr<ui::Bitmap> Picture;    // null in a text record
  std::unique_ptr<ui::Bitmap> Thumbnail;  // null in a text record
  ui::MemoryStream Body;  // RTF document, or the picture's comment in the ANSI code page
  std::wstring SizeText;
  std::wstring Catg;
  bool IsPicture;
};

// A picture comment as the store keeps it: ANSI bytes, no byte-order mark, no terminator.
ui::MemoryStream CommentBody(std::wstring_view comment);
// The comment of a body: decoded (byte-order mark, else ANSI), lines joined by CR LF, trimmed.
std::wstring CommentText(const ui::MemoryStream& body);

class Text_DB : public Base_DB {
 public:
  static constexpr const wchar_t* kDefaultFile = L"text.qdb";
  static constexpr const wchar_t* kTableDefinition =
      L"CREATE TABLE IF NOT EXISTS text(id INTEGER PRIMARY KEY AUTOINCREMENT,text BLOB, catg TEXT)";

  bool Open(bool recreate) override;
  bool Write(ui::MemoryStream& body, const std::wstring& catg, std::int64_t id, ui::Bitmap* picture,
             ui::Bitmap* thumbnail) override;
  bool Read(SINGLE_DATA_REC& record, bool full, std::int64_t id) override;
};

class Img_DB : public Base_DB {
 public:
  static constexpr const wchar_t* kDefaultFile = L"img.qdb";
  static constexpr const wchar_t* kTableDefinition =
      L"CREATE TABLE IF NOT EXISTS img(id INTEGER PRIMARY KEY AUTOINCREMENT,text BLOB, size TEXT, catg TEXT, "
      L"small BLOB, big BLOB)";

  bool Open(bool recreate) override;
  // Needs a picture and a thumbnail, neither empty.
  bool Write(ui::MemoryStream& body, const std::wstring& catg, std::int64_t id, ui::Bitmap* picture,
             ui::Bitmap* thumbnail) override;
  // Needs a picture record. A stored image that is not a valid bitmap throws ui::BitmapError.
  bool Read(SINGLE_DATA_REC& record, bool full, std::int64_t id) override;
};

// "<width>x<height>\n<comment>", the size column of a picture.
std::wstring SizeTextFor(const ui::Bitmap& picture, const ui::MemoryStream& body);

// Owner of the two clip stores; one of them is the active store of the open panel.
class All_DB : public DB_Dir {
 public:
  All_DB();
  ~All_DB() override = default;

  // 0 = text store, 1 = picture store; forgets CurrentRecordId. Other values change nothing.
  void Select(int index);
  int ActiveIndex() const { return activeIndex_; }
  Base_DB* ActiveStore();
  // Checks the folder and makes both stores read-only or writable accordingly.
  bool CheckReadOnly(const std::wstring& folder) override;
  std::wstring ActiveFileName();
  void SetActiveFileName(const std::wstring& path);
  // The main window, which shows the read-only notice.
  void SetMainWindow(HWND window);

  Text_DB TextDb;
  Img_DB ImgDb;
  // Id of the record open in an editor; 0 for none or a new record.
  std::int64_t CurrentRecordId = 0;

 private:
  int activeIndex_ = 0;
};

}  // namespace qstore

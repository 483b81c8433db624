// The real quilletmain.exe fills its lists from the stores in the storage folder; the lists are
// read from the test's side through memory allocated in the program's process.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "main/Miscutils.h"
#include "shared/Protocol.h"
#include "store/Database.h"
#include "store/StorageFolder.h"
#include "support/Desktop.h"

using namespace std::chrono_literals;
using testsupport::ChildProcess;
using testsupport::WaitUntil;

namespace {

// A list view of another process, read through a buffer in that process.
class RemoteList {
 public:
  RemoteList(HWND list, DWORD pid) : list_(list) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) buffer_ = VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteList() {
    if (buffer_) VirtualFreeEx(process_, buffer_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  bool Ready() const { return buffer_ != nullptr; }
  int Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

  std::wstring Text(int index) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = 512;
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(buffer_) + sizeof(LVITEMW));
    Put(item);
    const int n = static_cast<int>(SendMessageW(list_, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(buffer_)));
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    ReadProcessMemory(process_, item.pszText, text.data(), n * sizeof(wchar_t), nullptr);
    return text;
  }
  LVITEMW Item(int index) {
    LVITEMW item{};
    item.mask = LVIF_PARAM | LVIF_IMAGE;
    item.iItem = index;
    Put(item);
    SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer_));
    ReadProcessMemory(process_, buffer_, &item, sizeof item, nullptr);
    return item;
  }
  POINT Position(int index) {
    POINT p{};
    SendMessageW(list_, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(buffer_));
    ReadProcessMemory(process_, buffer_, &p, sizeof p, nullptr);
    return p;
  }

 private:
  static constexpr SIZE_T kSize = 4096;
  template <class T>
  void Put(const T& value) {
    WriteProcessMemory(process_, buffer_, &value, sizeof value, nullptr);
  }
  HWND list_;
  HANDLE process_ = nullptr;
  void* buffer_ = nullptr;
};

std::string Rtf(const std::string& text) { return "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0 " + text + "\\par}"; }

class Lists : public ::testing::Test {
 protected:
  void SetUp() override {
    // A companion left running would start a main program of its own on the old stores.
    testsupport::KillProcessesNamed(L"qlt_bar.exe");
    testsupport::KillProcessesNamed(L"quilletmain.exe");
    folder_ = DocumentsSubfolder(L"Quillet", false);
    ASSERT_FALSE(folder_.empty());
    RemoveStores();
  }
  void TearDown() override {
    main_.terminate();
    testsupport::KillProcessesNamed(L"qlt_bar.exe");
    testsupport::KillProcessesNamed(L"quilletmain.exe");
    RemoveStores();
  }
  void RemoveStores() {
    for (const wchar_t* name : {L"text.qdb", L"img.qdb", L"wnd.qdb"})
      DeleteFileW(qstore::JoinPath(folder_, name).c_str());
  }

  // Text records with exactly these ids: rows are written up to the highest, the others deleted.
  void MakeTextStore(const std::vector<std::int64_t>& ids) {
    qstore::Text_DB store;
    store.FileName(qstore::JoinPath(folder_, L"text.qdb"));
    store.Open(false);
    const std::int64_t top = ids.empty() ? 0 : *std::max_element(ids.begin(), ids.end());
    for (std::int64_t id = 1; id <= top; ++id) {
      ui::MemoryStream body(Rtf("clip " + std::to_string(id)));
      ASSERT_TRUE(store.Write(body, L"", -1, nullptr, nullptr));
    }
    for (std::int64_t id = 1; id <= top; ++id)
      if (std::find(ids.begin(), ids.end(), id) == ids.end()) store.Delete(id);
    store.Close();
  }

  void MakePictureStore(int count) {
    qstore::Img_DB store;
    store.FileName(qstore::JoinPath(folder_, L"img.qdb"));
    store.Open(false);
    for (int i = 0; i < count; ++i) {
      ui::Bitmap picture(60 + i, 50), thumbnail(48, 48);
      ui::MemoryStream body;
      ASSERT_TRUE(store.Write(body, L"", -1, &picture, &thumbnail));
    }
    store.Close();
  }

  void Start() {
    main_ = ChildProcess(L"\"" + testsupport::BinFolder() + L"quilletmain.exe\"");
    ASSERT_TRUE(main_.started());
    ASSERT_TRUE(WaitUntil([&] { return (window_ = FindWindowA(qbar::kMainWindowClass, qbar::kMainWindowTitle)); }));
    DWORD pid = 0;
    GetWindowThreadProcessId(window_, &pid);
    ASSERT_EQ(pid, main_.id()) << "another main program was running";
    ASSERT_TRUE(WaitUntil([&] {
      EnumChildWindows(
          window_,
          [](HWND child, LPARAM self) -> BOOL {
            auto* t = reinterpret_cast<Lists*>(self);
            wchar_t cls[64] = {};
            GetClassNameW(child, cls, 64);
            if (wcscmp(cls, WC_LISTVIEWW) == 0)
              ((GetWindowLongW(child, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT ? t->text_ : t->img_) = child;
            if (wcscmp(cls, PROGRESS_CLASSW) == 0) t->progress_ = child;
            return TRUE;
          },
          reinterpret_cast<LPARAM>(this));
      return text_ && img_ && progress_;
    }));
  }

  // The panel of a list: the child of the panel group (itself a child of the main window).
  HWND PanelOf(HWND list) const {
    HWND w = list;
    while (w && GetParent(GetParent(w)) != window_) w = GetParent(w);
    return w;
  }
  void ClickHeader(HWND panel) { PostMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(20, 5)); }

  std::wstring folder_;
  ChildProcess main_;
  HWND window_ = nullptr, text_ = nullptr, img_ = nullptr, progress_ = nullptr;
};

TEST_F(Lists, TextListShowsTheNewestRecordFirst) {
  MakeTextStore({3, 7, 12});
  Start();
  RemoteList list(text_, main_.id());
  ASSERT_TRUE(list.Ready());
  ASSERT_TRUE(WaitUntil([&] { return list.Count() == 3 && !list.Text(2).empty(); }));
  const std::pair<std::wstring, LPARAM> expected[] = {{L"clip 12", 12}, {L"clip 7", 7}, {L"clip 3", 3}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(list.Text(i), expected[i].first) << i;
    EXPECT_EQ(list.Item(i).lParam, expected[i].second) << i;
  }
  EXPECT_FALSE(IsWindowVisible(progress_));
}

// No text store yet: an empty list and no progress bar. Collapsing the open text panel opens the
// picture panel, whose grid puts five pictures in a row of a 296-pixel list.
TEST_F(Lists, CollapsingTheTextPanelOpensThePictureGrid) {
  MakePictureStore(6);
  Start();
  RemoteList pictures(img_, main_.id());
  RemoteList texts(text_, main_.id());
  ASSERT_TRUE(pictures.Ready());
  // The start-up refill of the text list creates its store file (after the panel has opened).
  ASSERT_TRUE(WaitUntil([&] { return qstore::FileExists(qstore::JoinPath(folder_, L"text.qdb")); }));
  ClickHeader(PanelOf(text_));
  ASSERT_TRUE(WaitUntil([&] { return pictures.Count() == 6 && pictures.Item(5).lParam == 1; }));
  EXPECT_EQ(texts.Count(), 0);
  EXPECT_FALSE(IsWindowVisible(progress_));
  RECT client{};
  GetClientRect(img_, &client);
  ASSERT_EQ(client.right, 296);
  const POINT expected[] = {{-20, 0}, {28, 0}, {76, 0}, {124, 0}, {172, 0}, {-20, 48}};
  for (int i = 0; i < 6; ++i) {
    const POINT p = pictures.Position(i);
    EXPECT_EQ(p.x, expected[i].x) << i;
    EXPECT_EQ(p.y, expected[i].y) << i;
    EXPECT_EQ(pictures.Item(i).lParam, 6 - i);
    EXPECT_GE(pictures.Item(i).iImage, 0);
  }
}

TEST_F(Lists, APictureWithACorruptThumbnailKeepsItsCellAndTheOthersShow) {
  MakePictureStore(3);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open16(qstore::JoinPath(folder_, L"img.qdb").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE img SET small=x'424D0011223344' WHERE id=2", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  Start();
  RemoteList pictures(img_, main_.id());
  ASSERT_TRUE(WaitUntil([&] { return qstore::FileExists(qstore::JoinPath(folder_, L"text.qdb")); }));
  ClickHeader(PanelOf(text_));
  ASSERT_TRUE(WaitUntil([&] { return pictures.Count() == 3 && pictures.Item(2).lParam == 1; }));
  EXPECT_EQ(pictures.Item(0).lParam, 3);
  EXPECT_GE(pictures.Item(0).iImage, 0);
  EXPECT_EQ(pictures.Item(1).lParam, 0) << "the corrupt record has no id";
  EXPECT_LT(pictures.Item(1).iImage, 0) << "and no thumbnail";
  EXPECT_EQ(pictures.Position(1).x, 28);
  EXPECT_GE(pictures.Item(2).iImage, 0);
}

}  // namespace

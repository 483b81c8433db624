// Clips between the real quilletmain.exe and Wine's notepad: inserting puts the clip on the
// clipboard and pastes it with synthesized keys into the window the user came from; capturing
// makes that window copy its selection into a new record. Stores are prepared in the program's
// storage folder of this Wine prefix; everything else is the user's route: tray, keys, buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/Miscutils.h"
#include "shared/Protocol.h"
#include "store/Database.h"
#include "store/StorageFolder.h"
#include "support/Desktop.h"
#include "support/MainProgram.h"

using namespace std::chrono_literals;
using testsupport::WaitUntil;

namespace {

std::string Rtf(const std::string& body) { return "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0 " + body + "}"; }

// A window of the system's dialog class, which the main program never takes as its target.
class ExcludedWindow {
 public:
  ExcludedWindow() {
    struct {
      DLGTEMPLATE header;
      WORD menu, windowClass, title;
    } tpl{};
    tpl.header.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    tpl.header.x = tpl.header.y = 10;
    tpl.header.cx = 120;
    tpl.header.cy = 40;
    window_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tpl.header, nullptr,
                                         [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  }
  ~ExcludedWindow() {
    if (window_) DestroyWindow(window_);
  }
  HWND get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

class Clips : public ::testing::Test {
 protected:
  void SetUp() override {
    // A companion left running would start a main program of its own.
    testsupport::KillProcessesNamed(L"qlt_bar.exe");
    testsupport::KillProcessesNamed(L"quilletmain.exe");
    folder_ = DocumentsSubfolder(L"Quillet", false);
    ASSERT_FALSE(folder_.empty());
    RemoveStores();
  }
  void TearDown() override {
    main_.Stop();
    notepad_.Stop();
    testsupport::KillProcessesNamed(L"quilletmain.exe");
    RemoveStores();
  }
  void RemoveStores() {
    for (const wchar_t* name : {L"text.qdb", L"img.qdb", L"wnd.qdb"})
      DeleteFileW(qstore::JoinPath(folder_, name).c_str());
  }

  // Written oldest first: the list shows the last one at the top.
  void MakeTextStore(const std::vector<std::string>& bodies) {
    qstore::Text_DB store;
    store.FileName(qstore::JoinPath(folder_, L"text.qdb"));
    ASSERT_TRUE(store.Open(false));
    for (const std::string& rtf : bodies) {
      ui::MemoryStream body(rtf);
      ASSERT_TRUE(store.Write(body, L"", -1, nullptr, nullptr));
    }
    store.Close();
  }

  void MakePictureStore(int width, int height) {
    qstore::Img_DB store;
    store.FileName(qstore::JoinPath(folder_, L"img.qdb"));
    ASSERT_TRUE(store.Open(false));
    ui::Bitmap picture(width, height), thumbnail(48, 48);
    ui::MemoryStream body;
    ASSERT_TRUE(store.Write(body, L"", -1, &picture, &thumbnail));
    store.Close();
  }

  void StartMain(int textItems) {
    ASSERT_TRUE(main_.Start());
    ASSERT_TRUE(WaitUntil([&] { return main_.Count(main_.textList) == textItems; }));
  }

  void ShowMain() {
    main_.ClickTray();
    ASSERT_TRUE(WaitUntil([&] { return main_.Shown() && GetForegroundWindow() == main_.window; }));
  }

  // With the window shown, the user goes to `front` and then selects a list item. The Insert
  // button follows the selection at the program's next idle turn, which has also seen `front`
  // in the foreground and taken it as the target (unless it is one of the excluded windows).
  // Then the user comes back to the window.
  void SelectWhileInFront(HWND front, HWND list, int index) {
    ASSERT_TRUE(testsupport::ActivateAndWait(front));
    ASSERT_TRUE(WaitUntil([&] { return !main_.InsertEnabled(list); })) << "nothing is selected yet";
    ASSERT_TRUE(main_.Select(list, index));
    ASSERT_TRUE(WaitUntil([&] { return main_.InsertEnabled(list); }));
    ASSERT_TRUE(testsupport::ActivateAndWait(main_.window));
    ASSERT_TRUE(main_.Shown());
  }

  // What the title-bar capture button sends: the window and a point near its caret, synchronously.
  void SendCapture(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    SendMessageA(main_.window, qbar::QBM_CAPTURE, reinterpret_cast<WPARAM>(window),
                 static_cast<LPARAM>(qbar::PackCaretPoint(r.left + 40, r.top + 60)));
  }

  std::wstring folder_;
  testsupport::MainProgram main_;
  testsupport::Notepad notepad_;
};

TEST_F(Clips, InsertingATextClipPastesItAtTheCaretAndLeavesItOnTheClipboard) {
  ASSERT_NO_FATAL_FAILURE(MakeTextStore({Rtf("al\\b pha\\b0"), Rtf("bravo")}));  // listed: bravo, alpha
  ASSERT_NO_FATAL_FAILURE(StartMain(2));
  ASSERT_TRUE(notepad_.Start());
  notepad_.SetText(L"[]");
  notepad_.Select(1, 1);
  ASSERT_TRUE(testsupport::SetClipboardText(L"older text"));
  ASSERT_NO_FATAL_FAILURE(ShowMain());
  ASSERT_NO_FATAL_FAILURE(SelectWhileInFront(notepad_.window, main_.textList, 1));

  main_.PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return notepad_.Text() == L"[alpha]"; })) << "notepad holds: " << testing::PrintToString(notepad_.Text());
  EXPECT_FALSE(main_.Shown());
  EXPECT_EQ(GetForegroundWindow(), notepad_.window);
  EXPECT_EQ(testsupport::ClipboardText(), L"alpha");
  const std::string rtf = testsupport::ClipboardRichText();
  EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;
  EXPECT_NE(rtf.find("\\b"), std::string::npos) << "the bold part stays bold: " << rtf;
}

// The record went from the store after the list was filled: nothing reaches the clipboard, so
// Ctrl+V must not paste the older clipboard text in its place.
TEST_F(Clips, AClipThatCannotBeReadPastesNothingInItsPlace) {
  ASSERT_NO_FATAL_FAILURE(MakeTextStore({Rtf("gone")}));
  ASSERT_NO_FATAL_FAILURE(StartMain(1));
  ASSERT_TRUE(notepad_.Start());
  notepad_.SetText(L"[]");
  notepad_.Select(1, 1);
  ASSERT_TRUE(testsupport::SetClipboardText(L"older text"));
  ASSERT_NO_FATAL_FAILURE(ShowMain());
  ASSERT_NO_FATAL_FAILURE(SelectWhileInFront(notepad_.window, main_.textList, 0));
  {
    qstore::Text_DB store;
    store.FileName(qstore::JoinPath(folder_, L"text.qdb"));
    ASSERT_TRUE(store.Open(false));
    ASSERT_TRUE(store.Delete(1));
    store.Close();
  }

  main_.PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !main_.Shown() && GetForegroundWindow() == notepad_.window; }));
  EXPECT_FALSE(WaitUntil([&] { return notepad_.Text() != L"[]"; }, 1500ms))
      << "pasted: " << testing::PrintToString(notepad_.Text());
  EXPECT_EQ(testsupport::ClipboardText(), L"older text");
}

// A double click on the item inserts as well. Here the user came from a window the program never
// targets, so the window hides and nothing is pasted into the notepad behind it; the clip waits
// on the clipboard.
TEST_F(Clips, WithoutATargetTheWindowHidesAndPastesNowhere) {
  ASSERT_NO_FATAL_FAILURE(MakeTextStore({Rtf("charlie")}));
  ASSERT_TRUE(notepad_.Start());
  notepad_.SetText(L"untouched");
  ExcludedWindow excluded;
  ASSERT_TRUE(excluded.get());
  ASSERT_TRUE(testsupport::ActivateAndWait(excluded.get()));
  ASSERT_NO_FATAL_FAILURE(StartMain(1));
  ASSERT_NO_FATAL_FAILURE(ShowMain());
  ASSERT_NO_FATAL_FAILURE(SelectWhileInFront(excluded.get(), main_.textList, 0));

  PostMessageW(main_.textList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 8));
  PostMessageW(main_.textList, WM_LBUTTONUP, 0, MAKELPARAM(40, 8));
  PostMessageW(main_.textList, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 8));
  PostMessageW(main_.textList, WM_LBUTTONUP, 0, MAKELPARAM(40, 8));
  ASSERT_TRUE(WaitUntil([&] { return !main_.Shown() && testsupport::ClipboardText() == L"charlie"; }));
  EXPECT_FALSE(WaitUntil([&] { return notepad_.Text() != L"untouched"; }, 1500ms))
      << "pasted into notepad: " << testing::PrintToString(notepad_.Text());
}

TEST_F(Clips, InsertingAPictureClipPutsABitmapOfItsSizeOnTheClipboard) {
  ASSERT_NO_FATAL_FAILURE(MakePictureStore(70, 40));
  ASSERT_NO_FATAL_FAILURE(StartMain(0));
  // The start-up refill of the text list creates its store; then the picture panel can open.
  ASSERT_TRUE(WaitUntil([&] { return qstore::FileExists(qstore::JoinPath(folder_, L"text.qdb")); }));
  // Start-up hides the window and opens the active (text) panel at an idle turn of its own; a
  // click handled before that is undone by it, so the click is repeated until the picture panel
  // stays open.
  ASSERT_TRUE(WaitUntil([&] {
    if (!main_.PanelOpen(main_.pictureList)) main_.ClickTextPanelHeader();
    return main_.Count(main_.pictureList) == 1;
  }));
  ASSERT_TRUE(testsupport::SetClipboardText(L"older text"));
  ASSERT_TRUE(main_.Select(main_.pictureList, 0));
  ASSERT_TRUE(WaitUntil([&] { return main_.InsertEnabled(main_.pictureList); }));

  main_.ClickInsert(main_.pictureList);
  ASSERT_TRUE(WaitUntil([&] { return testsupport::ClipboardBitmapSize().cx != 0; }));
  const SIZE size = testsupport::ClipboardBitmapSize();
  EXPECT_EQ(size.cx, 70);
  EXPECT_EQ(size.cy, 40);
  EXPECT_FALSE(testsupport::ClipboardHas(CF_UNICODETEXT)) << "the older text is gone";
}

// The older clipboard text is emptied first, so the new record holds exactly what notepad copied.
TEST_F(Clips, CapturingNotepadsSelectionOpensANewRecordThatSavesAsItemZero) {
  ASSERT_NO_FATAL_FAILURE(MakeTextStore({Rtf("kept")}));
  ASSERT_NO_FATAL_FAILURE(StartMain(1));
  ASSERT_TRUE(notepad_.Start());
  notepad_.SetText(L"one two three");
  notepad_.Select(4, 7);
  ASSERT_TRUE(testsupport::SetClipboardText(L"older text"));

  SendCapture(notepad_.window);
  HWND editor = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return main_.Shown() && (editor = main_.ShownTextEditor()); }))
      << "no new record opened";
  EXPECT_EQ(testsupport::Notepad::TextOf(editor), L"two");
  EXPECT_EQ(testsupport::ClipboardText(), L"two");
  EXPECT_EQ(notepad_.Text(), L"one two three") << "a copy leaves the target as it was";

  main_.ClickToolButton(main_.textList, 1);  // Save
  ASSERT_TRUE(WaitUntil([&] { return main_.Count(main_.textList) == 2 && main_.Selected(main_.textList) == 0; }));
  EXPECT_EQ(main_.ItemText(main_.textList, 0), L"two");
  EXPECT_EQ(main_.ItemText(main_.textList, 1), L"kept");
  EXPECT_FALSE(main_.ShownTextEditor());
}

TEST_F(Clips, CapturingWithNothingSelectedMakesNoRecordFromTheOlderText) {
  ASSERT_NO_FATAL_FAILURE(MakeTextStore({Rtf("kept")}));
  ASSERT_NO_FATAL_FAILURE(StartMain(1));
  ASSERT_TRUE(notepad_.Start());
  notepad_.SetText(L"no selection here");
  notepad_.Select(3, 3);
  ASSERT_TRUE(testsupport::SetClipboardText(L"older text"));

  SendCapture(notepad_.window);  // returns once the copy has been taken or found empty
  EXPECT_FALSE(testsupport::ClipboardHas(CF_UNICODETEXT)) << "the older text was emptied";
  EXPECT_FALSE(WaitUntil([&] { return main_.Shown() || main_.ShownTextEditor(); }, 1000ms)) << "a record opened";
  EXPECT_EQ(main_.Count(main_.textList), 1);
}

}  // namespace

// The target window on the real main window: what an insertion and a capture do with it, and
// the keystrokes synthesized for them.
#include "main/CurInsWindow.h"
#include "LiveWindow.h"
#include "records/TargetWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/ExtendEdit.h"
#include "shared/Protocol.h"
#include "store/Database.h"
#include "support/Desktop.h"
#include "support/MainProgram.h"
#include "support/TempFolder.h"
#include "ui/Application.h"

namespace {

TEST(KeySequence, CtrlAroundTheLetterWithScanCodesAndTimeTen) {
  for (WORD letter : {WORD{'V'}, WORD{'C'}}) {
    const records::KeySequence keys = records::MakeKeySequence(letter);
    const struct {
      WORD key;
      DWORD flags;
    } expected[] = {{VK_CONTROL, 0}, {letter, 0}, {letter, KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
    ASSERT_EQ(keys.size(), 4u);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      SCOPED_TRACE(testing::Message() << static_cast<char>(letter) << " event " << i);
      EXPECT_EQ(keys[i].type, static_cast<DWORD>(INPUT_KEYBOARD));
      EXPECT_EQ(keys[i].ki.wVk, expected[i].key);
      EXPECT_EQ(keys[i].ki.wScan, MapVirtualKeyA(expected[i].key, MAPVK_VK_TO_VSC));
      EXPECT_NE(keys[i].ki.wScan, 0) << "a real scan code";
      EXPECT_EQ(keys[i].ki.dwFlags, expected[i].flags);
      EXPECT_EQ(keys[i].ki.time, 10u);
      EXPECT_EQ(keys[i].ki.dwExtraInfo, 0u);
    }
  }
}

// A top-level edit window of the test, standing in for another program: activating it gives
// it the keyboard focus.
class EditWindow {
 public:
  EditWindow() {
    edit_ = CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400, 100, 300, 200, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  }
  ~EditWindow() { DestroyWindow(edit_); }
  HWND get() const { return edit_; }
  std::wstring Text() const { return testsupport::Notepad::TextOf(edit_); }

 private:
  HWND edit_ = nullptr;
};

class TargetWindow : public LiveWindow {
 protected:
  void SetUp() override {
    OpenWindow(dir.path());
    qstore::Text_DB store;
    store.FileName(dir / L"text.qdb");
    ASSERT_TRUE(store.Open(false));
    ui::MemoryStream body(std::string("{\\rtf1\\ansi clip}"));
    ASSERT_TRUE(store.Write(body, L"", -1, nullptr, nullptr));
    store.Close();
    Settle();
    ASSERT_EQ(w->LV_Text->ItemCount(), 1);
  }
  testsupport::TempFolder dir{L"target"};
};

// An insertion uses the target up: a second one pastes nowhere until the foreground is taken
// as the target again.
TEST_F(TargetWindow, InsertingPastesIntoTheTargetAndClearsIt) {
  EditWindow target;
  ASSERT_TRUE(target.get());
  w->SetTargetWindow(target.get());
  w->LV_Text->SelectItem(0);
  ASSERT_TRUE(w->A_VurivuZu->Execute());
  EXPECT_EQ(w->TargetWindow, nullptr);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return target.Text() == L"clip"; })) << testing::PrintToString(target.Text());
  EXPECT_FALSE(IsWindowVisible(w->Handle()));
}

TEST_F(TargetWindow, CaptureWithTheExtendedEditorOpenOnlyRemembersTheWindowAndPlacesTheMain) {
  EditWindow target;
  SetWindowTextW(target.get(), L"selected");
  SendMessageW(target.get(), EM_SETSEL, 0, -1);
  ASSERT_TRUE(testsupport::ActivateAndWait(target.get()));
  ASSERT_TRUE(testsupport::SetClipboardText(L"older"));
  w->A_SwWindowOnCursor->SetChecked(true);
  w->TTB_ExpandTextEdit->SetDown(true);
  RECT before{};
  GetWindowRect(w->Handle(), &before);

  SendMessageW(w->Handle(), qbar::QBM_CAPTURE, reinterpret_cast<WPARAM>(target.get()), qbar::PackCaretPoint(450, 150));
  EXPECT_EQ(w->TargetWindow, target.get());
  RECT after{};
  GetWindowRect(w->Handle(), &after);
  EXPECT_TRUE(after.left != before.left || after.top != before.top) << "placed near the point";
  testsupport::PumpMessages();
  EXPECT_EQ(testsupport::ClipboardText(), L"older") << "neither emptied nor copied into";
  EXPECT_FALSE(w->AREDB_Text->Visible()) << "no new record";
  EXPECT_FALSE(IsWindowVisible(w->Handle()));
  w->TTB_ExpandTextEdit->SetDown(false);
}

}  // namespace

// The foreign window that receives and gives clips. Clips always travel through the system
// clipboard: to insert, the clip is put there and the target is made to paste it; to capture,
// the target is made to copy and the clipboard's new content becomes a record.
#include "records/TargetWindow.h"

#include "main/CurInsWindow.h"

#include <richedit.h>

#include "records/ClipboardData.h"
#include "records/RichText.h"
#include "shared/Protocol.h"
#include "store/Database.h"
#include "ui/Application.h"

namespace records {

KeySequence MakeKeySequence(WORD letter) {
  KeySequence keys{};
  MakeKeyInput(keys[0], VK_CONTROL, false);
  MakeKeyInput(keys[1], letter, false);
  MakeKeyInput(keys[2], letter, true);
  MakeKeyInput(keys[3], VK_CONTROL, true);
  return keys;
}

bool SendKeySequence(WORD letter) {
  KeySequence keys = MakeKeySequence(letter);
  return SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) == keys.size();
}

}  // namespace records

namespace {

// The target gets this long to come to the front before keys are sent to it. Activation is
// asynchronous; keys sent before it has taken effect reach whatever window was in front.
constexpr DWORD kForegroundTimeoutMs = 1000;
// Given the target to become active and, after Ctrl+C, to place its data on the clipboard.
constexpr DWORD kCopyPauseMs = 190;

// Blocks the user-interface thread, answering only messages that other threads send to it: a
// program that is being activated, or that asks for clipboard data we own, must not hang on us,
// while the user's input waits in the queue.
void Pause(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

bool TargetIsInFront(HWND target) {
  HWND front = GetForegroundWindow();
  return front && GetWindowThreadProcessId(front, nullptr) == GetWindowThreadProcessId(target, nullptr);
}

// Waits until the foreground belongs to the target's thread: synthesized keys go to that thread's
// focus window then.
bool WaitForForeground(HWND target, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (!TargetIsInFront(target)) {
    if (!IsWindow(target) || GetTickCount64() >= end) return false;
    Pause(10);
  }
  return true;
}

}  // namespace

void TCurInsWindow::SetTargetWindow(HWND window) { TargetWindow = window; }

void TCurInsWindow::BindTargetActions() {
  A_VurivuZu->OnExecute = [this](ui::Action&) { PasteIntoTarget(); };
  for (ui::ListView* list : {LV_Text, LV_Img}) list->OnDblClick = [this](ui::ListView& l) { LV_TextDblClick(l); };
}

void TCurInsWindow::LV_TextDblClick(ui::ListView& sender) {
  A_VurivuZu->Update();
  if (!A_VurivuZu->Enabled()) return;
  A_VurivuZu->ActionComponent = &sender;
  A_VurivuZu->Execute();
}

bool TCurInsWindow::CopyRecordToClipboard() {
  const std::int64_t id = SelectedRecordId(ActiveList);
  if (id == 0 || !AllDb || !AllDb->ActiveStore()) return false;
  qstore::Base_DB& store = *AllDb->ActiveStore();
  if (ActiveList == LV_Text) {
    qstore::SINGLE_DATA_REC record(false);
    // A record that has gone from the store reads as an empty body.
    if (!store.Read(record, false, id) || record.Body.Size() == 0) return false;
    HWND edit = ActiveTextEditor->Handle();
    records::LoadRichText(edit, record.Body.View());
    ActiveTextEditor->SetModified(false);
    ActiveTextEditor->Repaint();
    // An empty clip is nothing to copy (copying an empty selection would empty the clipboard).
    if (GetWindowTextLengthW(edit) == 0) return false;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return records::PutTextOnClipboard(hwnd_, records::SelectedRichText(edit), records::PlainText(edit));
  }
  qstore::SINGLE_DATA_REC record(true);
  if (!store.Read(record, true, id) || !record.Picture || record.Picture->Empty()) return false;
  IDB_Img->SetBitmap(static_cast<HBITMAP>(CopyImage(record.Picture->Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return records::PutPictureOnClipboard(hwnd_, *record.Picture);
}

void TCurInsWindow::PasteIntoTarget() {
  bool copied = false;
  try {
    if (BindStoreForList(ActiveList) && AllDb && AllDb->ActiveStore() && AllDb->ActiveStore()->Open(false))
      copied = CopyRecordToClipboard();
  } catch (...) {
    // An unreadable record leaves the clipboard as it was.
    copied = false;
  }
  try {
    if (AllDb && AllDb->ActiveStore()) AllDb->ActiveStore()->Close();
  } catch (...) {
  }
  ui::Application::Instance().ProcessMessages();
  HideWindow();
  ui::Application::Instance().ProcessMessages();
  HWND target = TargetWindow;
  if (!target) return;  // the clip stays on the clipboard for the user
  SetForegroundWindow(target);
  SetTargetWindow(nullptr);
  // Ctrl+V only pastes the chosen clip: when it could not be put on the clipboard, whatever
  // older content is there must not land in the target instead. Nor may the keys reach another
  // window when the target does not come to the front.
  if (copied && WaitForForeground(target, kForegroundTimeoutMs)) records::SendKeySequence('V');
}

void TCurInsWindow::CopyFromTarget(HWND window, POINT point) {
  SetTargetWindow(window);
  if (A_SwWindowOnCursor->Checked()) PlaceNearPoint(point);
  ui::Application::Instance().ProcessMessages();
  if (TTB_ExpandTextEdit->Down()) return;
  HWND target = TargetWindow;
  // Without a window of its own the copy would reach whatever is in front.
  if (!target || !IsWindow(target)) return;
  // A text left on the clipboard would be taken again if the target copies nothing.
  try {
    if (IsClipboardFormatAvailable(CF_TEXT) && OpenClipboard(target)) {
      EmptyClipboard();
      CloseClipboard();
    }
  } catch (...) {
  }
  SetForegroundWindow(target);
  Pause(kCopyPauseMs);
  if (!WaitForForeground(target, kForegroundTimeoutMs)) return;
  if (!records::SendKeySequence('C')) return;
  Pause(kCopyPauseMs);
  A_TakeFrom->ActionComponent = nullptr;
  A_TakeFrom->Execute();
}

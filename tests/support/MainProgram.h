// The real quilletmain.exe and Wine's notepad driven from outside, as a user's desktop would:
// windows found by class, list items selected through memory in the program's process, the tray
// icon and tool buttons clicked by their messages, and the clipboard read back.
#pragma once

#include <windows.h>

#include <string>

#include "support/Desktop.h"

namespace testsupport {

// Memory in another process, for messages whose argument points to a structure.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD processId, SIZE_T size = 4096);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Ready() const { return address_ != nullptr; }
  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  bool Put(const void* data, SIZE_T size, SIZE_T offset = 0);
  bool Get(void* data, SIZE_T size, SIZE_T offset = 0) const;

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

class MainProgram {
 public:
  // Starts build\bin\quilletmain.exe and waits for its main window, both lists and its tray
  // window. Fails when another main program answers instead.
  bool Start();
  void Stop() { process.terminate(); }

  int Count(HWND list) const;
  int Selected(HWND list) const;
  std::wstring ItemText(HWND list, int index);
  // Selects and focuses an item the way a click does (the program sees the list's notification).
  bool Select(HWND list, int index);
  // The tool bar showing over a list (the view-mode bar), and its first button, Insert.
  HWND ViewToolBar(HWND list) const;
  bool InsertEnabled(HWND list) const;
  // A click on the Insert button of the list's tool bar.
  void ClickInsert(HWND list);
  // A click on a button of the tool bar showing in the list's panel, by its place from 1 (in
  // edit mode the first is Save).
  void ClickToolButton(HWND list, int place);
  // The compact text editor when it is showing (edit mode of the text panel), else null.
  HWND ShownTextEditor() const;
  // A click on the header of the text panel: it closes and the picture panel opens.
  void ClickTextPanelHeader();
  // Whether the panel holding `list` is open (the main window itself may be hidden).
  bool PanelOpen(HWND list) const;
  // A left click on the tray icon (shows or hides the window).
  void ClickTray();
  // Exit from the tray menu; true when the program ended with code 0.
  bool ExitFromTray();
  bool Shown() const { return IsWindowVisible(window) != FALSE; }
  // A key press as the window's focused control receives it.
  void PressKey(WORD virtualKey);

  ChildProcess process;
  HWND window = nullptr, textList = nullptr, pictureList = nullptr, tray = nullptr;
};

// Wine's notepad with its edit control.
class Notepad {
 public:
  bool Start();
  void Stop() { process.terminate(); }
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  // Window text of any window, read the way another program does.
  static std::wstring TextOf(HWND window);
  void Select(int from, int to);

  ChildProcess process;
  HWND window = nullptr, edit = nullptr;
};

// The clipboard as another program sees it.
bool ClipboardHas(UINT format);
std::wstring ClipboardText();
std::string ClipboardRichText();
// Width and height of the bitmap on the clipboard (CF_BITMAP, synthesized from a DIB if need
// be); 0 x 0 without one.
SIZE ClipboardBitmapSize();
bool SetClipboardText(const std::wstring& text);
bool EmptyTheClipboard();
UINT RichTextFormat();

}  // namespace testsupport

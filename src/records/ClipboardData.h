// Clips put on the clipboard rendered at once: nothing is left for this program to deliver on
// request later, so what the user copied stays on the clipboard after the program has ended.
#pragma once

#include <windows.h>

#include <string>

namespace ui {
class Bitmap;
}

namespace records {

// The clipboard, opened for `owner`; another program may hold it for a moment, so a few short
// tries. False when it stayed busy.
bool OpenClipboardFor(HWND owner);
// Replaces the clipboard's content with rich text and its plain text; false when either is empty
// or the clipboard refused.
bool PutTextOnClipboard(HWND owner, const std::string& rtf, const std::wstring& text);
// Replaces the clipboard's content with the picture as a packed DIB; the system offers CF_BITMAP
// from it as well.
bool PutPictureOnClipboard(HWND owner, const ui::Bitmap& picture);

// The selection of a rich edit as an RTF document and as plain text (CR LF between paragraphs).
std::string SelectedRichText(HWND edit);
std::wstring SelectedPlainText(HWND edit);

}  // namespace records

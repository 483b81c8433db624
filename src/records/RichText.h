// Rich text in and out of a rich-edit control, by the control's own RTF streaming.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace records {

// Replaces the control's content with an RTF document.
void LoadRichText(HWND edit, std::string_view rtf);
// The control's content as plain text, paragraphs separated by CR LF.
std::wstring PlainText(HWND edit);

}  // namespace records

#include "records/ClipboardData.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "ui/Bitmap.h"
#include "ui/MemoryStream.h"

namespace records {

namespace {

HGLOBAL GlobalCopy(const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  if (void* bytes = GlobalLock(memory)) {
    std::memcpy(bytes, data, size);
    GlobalUnlock(memory);
    return memory;
  }
  GlobalFree(memory);
  return nullptr;
}

DWORD CALLBACK CollectRtf(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
  *written = count;
  return 0;
}

}  // namespace

bool OpenClipboardFor(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

bool PutTextOnClipboard(HWND owner, const std::string& rtf, const std::wstring& text) {
  if (rtf.empty() || text.empty()) return false;
  HGLOBAL rich = GlobalCopy(rtf.c_str(), rtf.size() + 1);
  HGLOBAL plain = GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (rich && plain && OpenClipboardFor(owner)) {
    EmptyClipboard();
    put = SetClipboardData(RegisterClipboardFormatW(CF_RTF), rich) != nullptr;
    if (put) rich = nullptr;  // the clipboard owns it now
    put = put && SetClipboardData(CF_UNICODETEXT, plain) != nullptr;
    if (put) plain = nullptr;
    CloseClipboard();
  }
  if (rich) GlobalFree(rich);
  if (plain) GlobalFree(plain);
  return put;
}

bool PutPictureOnClipboard(HWND owner, const ui::Bitmap& picture) {
  if (picture.Empty()) return false;
  ui::MemoryStream bmp;
  picture.SaveToStream(bmp);
  constexpr std::size_t kFileHeader = sizeof(BITMAPFILEHEADER);
  if (bmp.Size() <= kFileHeader) return false;
  HGLOBAL memory = GlobalCopy(bmp.Data() + kFileHeader, bmp.Size() - kFileHeader);
  if (!memory) return false;
  bool put = false;
  if (OpenClipboardFor(owner)) {
    EmptyClipboard();
    put = SetClipboardData(CF_DIB, memory) != nullptr;
    CloseClipboard();
  }
  if (!put) GlobalFree(memory);
  return put;
}

std::string SelectedRichText(HWND edit) {
  std::string rtf;
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
  es.pfnCallback = CollectRtf;
  SendMessageW(edit, EM_STREAMOUT, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&es));
  return rtf;
}

std::wstring SelectedPlainText(HWND edit) {
  CHARRANGE selection{};
  SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  if (selection.cpMax <= selection.cpMin) return {};
  // Every paragraph mark may become CR LF: room for twice the characters.
  std::wstring text(static_cast<std::size_t>(selection.cpMax - selection.cpMin) * 2 + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_SELECTION | GT_USECRLF;
  get.codepage = 1200;
  const LRESULT got =
      SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
  return text;
}

}  // namespace records

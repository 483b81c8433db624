#include "records/RichText.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace records {

void LoadRichText(HWND edit, std::string_view rtf) {
  struct Source {
    std::string_view text;
    std::size_t pos = 0;
  } source{rtf};
  EDITSTREAM es{};
  es.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  es.pfnCallback = [](DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) -> DWORD {
    auto* s = reinterpret_cast<Source*>(cookie);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), s->text.size() - s->pos);
    if (n) std::memcpy(buffer, s->text.data() + s->pos, n);
    s->pos += n;
    *got = static_cast<LONG>(n);
    return 0;
  };
  SendMessageW(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
}

std::wstring PlainText(HWND edit) {
  GETTEXTLENGTHEX len{GTL_NUMCHARS | GTL_USECRLF, 1200};
  const LRESULT n = SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&len), 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GETTEXTEX get{};
  get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  get.flags = GT_USECRLF;
  get.codepage = 1200;
  const LRESULT got = SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
  return text;
}

}  // namespace records

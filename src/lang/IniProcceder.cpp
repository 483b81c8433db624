#include "lang/IniProcceder.h"

#include <string>

#include "shared/TextCodec.h"

void IniProcceder::IndexSections(const HashedStringList& lines, HashedStringList& index) const {
  index.Clear();
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    std::wstring name = lines.Lines()[i];
    const auto open = name.find(L'[');
    if (open == std::wstring::npos) continue;
    name.erase(open, 1);
    if (const auto close = name.find(L']'); close != std::wstring::npos) name.erase(close, 1);
    index.AddPair(qtext::Trim(name), std::to_wstring(i));
  }
}

HashedStringList& IniProcceder::CopySection(const HashedStringList& lines, HashedStringList& target,
                                            std::ptrdiff_t headerLine) const {
  if (headerLine < 0) throw EListError("List index out of bounds (" + std::to_string(headerLine) + ")");
  std::vector<std::wstring> copy;
  const auto& all = lines.Lines();
  for (std::size_t i = static_cast<std::size_t>(headerLine) + 1; i < all.size(); ++i) {
    if (all[i].find(L'[') != std::wstring::npos) break;
    copy.push_back(all[i]);
  }
  // Built aside first so that copying a list onto itself works.
  target.Assign(std::move(copy));
  return target;
}

std::ptrdiff_t IniProcceder::SectionLine(const HashedStringList& index, std::wstring_view name) {
  const std::wstring text = index.Value(name);
  std::ptrdiff_t n = 0;
  bool any = false;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9' || n > 100'000'000) throw ESectionMissing("invalid section line number");
    n = n * 10 + (c - L'0');
    any = true;
  }
  if (!any) throw ESectionMissing("no such section");
  return n;
}

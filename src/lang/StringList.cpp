#include "lang/StringList.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cwctype>
#endif

std::wstring FoldCase(std::wstring_view text) {
  std::wstring out(text);
#ifdef _WIN32
  // CharUpperBuffW knows every script; the C library's towupper under MinGW only ASCII.
  if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
#else
  for (auto& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
#endif
  return out;
}

const std::wstring& HashedStringList::operator[](std::ptrdiff_t i) const {
  if (i < 0 || static_cast<std::size_t>(i) >= lines_.size())
    throw EListError("List index out of bounds (" + std::to_string(i) + ")");
  return lines_[static_cast<std::size_t>(i)];
}

void HashedStringList::Clear() {
  lines_.clear();
  index_.clear();
  indexValid_ = false;
}

void HashedStringList::Add(std::wstring line) {
  lines_.push_back(std::move(line));
  indexValid_ = false;
}

void HashedStringList::AddPair(std::wstring_view name, std::wstring_view value) {
  std::wstring line(name);
  line += L'=';
  line += value;
  Add(std::move(line));
}

void HashedStringList::Assign(std::vector<std::wstring> lines) {
  lines_ = std::move(lines);
  index_.clear();
  indexValid_ = false;
}

std::wstring_view HashedStringList::NameOf(std::wstring_view line) {
  const auto eq = line.find(L'=');
  return eq == std::wstring_view::npos ? line : line.substr(0, eq);
}

std::wstring_view HashedStringList::ValueOf(std::wstring_view line) {
  const auto eq = line.find(L'=');
  return eq == std::wstring_view::npos ? std::wstring_view{} : line.substr(eq + 1);
}

void HashedStringList::BuildIndex() const {
  index_.clear();
  index_.reserve(lines_.size());
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    // Only lines with a name take part, and the first of equal names wins.
    if (lines_[i].find(L'=') == std::wstring::npos) continue;
    index_.emplace(FoldCase(NameOf(lines_[i])), i);
  }
  indexValid_ = true;
}

std::ptrdiff_t HashedStringList::IndexOfName(std::wstring_view name) const {
  if (!indexValid_) BuildIndex();
  const auto it = index_.find(FoldCase(name));
  return it == index_.end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
}

std::wstring HashedStringList::Value(std::wstring_view name) const {
  const auto i = IndexOfName(name);
  return i < 0 ? std::wstring{} : std::wstring(ValueOf(lines_[static_cast<std::size_t>(i)]));
}

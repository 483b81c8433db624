#include "companion/HiddenClasses.h"

#include "shared/Protocol.h"

namespace companion {

HiddenClassList::HiddenClassList() {
  for (const wchar_t* name : qbar::kBuiltInClasses) entries_.emplace_back(name);
  builtInCount_ = entries_.size();
}

bool HiddenClassList::Matches(std::wstring_view className) const { return qbar::ListMatches(entries_, className); }

void HiddenClassList::Append(std::wstring_view className) {
  // An empty name could never match a window; keeping it would only lengthen every scan.
  if (!className.empty()) entries_.emplace_back(className);
}

void HiddenClassList::AppendFromText(const void* data, std::size_t byteCount) {
  for (auto& name : qbar::ParseClassListText(data, byteCount)) entries_.push_back(std::move(name));
}

void HiddenClassList::ResetToBuiltIn() {
  while (entries_.size() > builtInCount_) entries_.pop_back();
}

}  // namespace companion

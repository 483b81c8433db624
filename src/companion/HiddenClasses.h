// The window classes on which the bar stays away: the built-in names first, then the classes the
// main program sends and those the user hides with an Alt-click. Only the additions are ever
// removed again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace companion {

class HiddenClassList {
 public:
  HiddenClassList();

  bool Matches(std::wstring_view className) const;
  void Append(std::wstring_view className);
  // The names of a received class-list text (any bytes, any length; null is nothing).
  void AppendFromText(const void* data, std::size_t byteCount);
  // Drops every addition, keeping the built-in names.
  void ResetToBuiltIn();

  const std::vector<std::wstring>& entries() const { return entries_; }
  std::size_t builtInCount() const { return builtInCount_; }

 private:
  std::vector<std::wstring> entries_;
  std::size_t builtInCount_ = 0;
};

}  // namespace companion

// A list of text lines with "name=value" lookups, as the language texts and the package's table
// of contents use them. Name lookups ignore letter case and go through a hash index that is rebuilt
// lazily after the list changes.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A line number outside the list (the framework's list index error).
class EListError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

// Upper-cases for comparisons that ignore letter case (the system's rules on Windows).
std::wstring FoldCase(std::wstring_view text);

class HashedStringList {
 public:
  HashedStringList() = default;
  explicit HashedStringList(std::size_t capacity) { lines_.reserve(capacity); }

  std::size_t Count() const { return lines_.size(); }
  bool Empty() const { return lines_.empty(); }
  // Raises EListError for a number at or beyond the end.
  const std::wstring& operator[](std::ptrdiff_t i) const;
  const std::vector<std::wstring>& Lines() const { return lines_; }

  void Clear();
  void Add(std::wstring line);
  void AddPair(std::wstring_view name, std::wstring_view value);
  void Assign(std::vector<std::wstring> lines);

  // Number of the first line whose name (the text before its first "=") equals `name`, letter
  // case ignored; -1 when none.
  std::ptrdiff_t IndexOfName(std::wstring_view name) const;
  // Text after the first "=" of the first line named `name`; empty when there is none.
  std::wstring Value(std::wstring_view name) const;
  bool HasName(std::wstring_view name) const { return IndexOfName(name) >= 0; }

  static std::wstring_view NameOf(std::wstring_view line);
  static std::wstring_view ValueOf(std::wstring_view line);

 private:
  void BuildIndex() const;

  std::vector<std::wstring> lines_;
  mutable std::unordered_map<std::wstring, std::size_t> index_;
  mutable bool indexValid_ = false;
};

// Sections of a text in the "[name]" style of desc.txt and the form-text files: a line containing
// "[" anywhere starts a section, and a section's content runs up to the next such line.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string_view>

#include "lang/StringList.h"

// A section asked for by name that the index does not hold.
class ESectionMissing : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IniProcceder {
 public:
  // `index` receives one line "name=line number" per section start, in file order. The name is the
  // line without its first "[" and its first "]", trimmed.
  void IndexSections(const HashedStringList& lines, HashedStringList& index) const;

  // Replaces `target` with the lines after `headerLine` up to, not including, the next line that
  // contains "[", or to the end. Returns `target`.
  HashedStringList& CopySection(const HashedStringList& lines, HashedStringList& target,
                                std::ptrdiff_t headerLine) const;

  // The header line number `index` holds for `name`; raises ESectionMissing when there is none
  // or its number does not convert.
  static std::ptrdiff_t SectionLine(const HashedStringList& index, std::wstring_view name);
};

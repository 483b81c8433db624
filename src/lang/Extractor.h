// The language package reader: our ZIP reader bound to one file, with an entry index whose names
// use "\" as separator and are looked up without regard to letter case.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lang/StringList.h"
#include "lang/ZipReader.h"

// The package's two error notices go through this; by default a plain message box. Tests install
// their own so that no modal box waits for a user. Returns the previous handler; nullptr restores
// the message box.
using ErrorBoxHandler = void (*)(const std::wstring& text);
ErrorBoxHandler SetErrorBoxHandler(ErrorBoxHandler handler);
void ShowErrorBox(const std::wstring& text);

class Extractor {
 public:
  Extractor();

  // Remembers `path` when it names an existing file; the directory is read on first use.
  bool SetPackageFile(const std::wstring& path);
  // Reads the ZIP directory and fills the entry index. On failure shows the read-error notice.
  bool OpenPackage();
  // Replaces `list` with the lines of the entry `entryName` (letter case ignored). False when the
  // package cannot be opened or has no such entry; `list` then keeps its content. A damaged entry
  // raises qzip::ZipError and also leaves `list` as it was.
  bool ExtractToList(HashedStringList& list, std::wstring_view entryName);

  bool IsSet() const { return isSet_; }
  bool IsOpen() const { return isOpen_; }
  const std::wstring& PackageFile() const { return path_; }
  // One line per entry in archive order: entry name = entry number.
  const HashedStringList& EntryIndex() const { return index_; }

 private:
  std::wstring path_;
  bool isSet_ = false;
  bool isOpen_ = false;
  std::vector<qzip::ZipEntry> directory_;
  HashedStringList index_{100};
  // Entry numbers by letter-case-folded name, the first of equal names; unlike the index's
  // "name=number" lines this also finds names that contain "=".
  std::unordered_map<std::wstring, std::size_t> byName_;
};

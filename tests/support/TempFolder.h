// A fresh folder under the temporary directory, removed with everything in it at the end.
#pragma once

#include <string>
#include <string_view>

namespace testsupport {

class TempFolder {
 public:
  explicit TempFolder(std::wstring_view hint = L"qt");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  // path + "\" + name
  std::wstring operator/(std::wstring_view name) const;

 private:
  std::wstring path_;
};

void WriteFileBytes(const std::wstring& path, std::string_view bytes);
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

}  // namespace testsupport

#include "support/TempFolder.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

namespace {

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder(std::wstring_view hint) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::wstring candidate = std::wstring(base) + std::wstring(hint) + L"-" + std::to_wstring(GetCurrentProcessId()) +
                             L"-" + std::to_wstring(++counter) + L"-" + std::to_wstring(GetTickCount());
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring TempFolder::operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

void WriteFileBytes(const std::wstring& path, std::string_view bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write a test file");
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace testsupport

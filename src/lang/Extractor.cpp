#include "lang/Extractor.h"

#include <windows.h>

#include "shared/TextCodec.h"

namespace {

void MessageBoxHandler(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), L"Quillet", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

ErrorBoxHandler g_errorBox = &MessageBoxHandler;

// The archive file, opened for one read; shared with writers so an update never fails on it.
class FileSource final : public qzip::ByteSource {
 public:
  explicit FileSource(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr)) {
    LARGE_INTEGER size{};
    if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size)) {
      if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
      throw qzip::ZipError("cannot open the archive");
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
  }
  ~FileSource() override { CloseHandle(file_); }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::uint64_t Size() const override { return size_; }
  void Read(std::uint64_t offset, void* into, std::size_t count) const override {
    if (offset > size_ || count > size_ - offset) throw qzip::ZipError("read beyond the end of the archive");
    auto* out = static_cast<char*>(into);
    while (count) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(file_, out, want, &got, &at) || got == 0) throw qzip::ZipError("archive read failed");
      out += got;
      offset += got;
      count -= got;
    }
  }

 private:
  HANDLE file_;
  std::uint64_t size_ = 0;
};

bool FileExists(const std::wstring& path) {
  const DWORD attr = GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring EntryName(const qzip::ZipEntry& e) {
  std::wstring name;
  if (e.utf8Name) {
    name = qtext::Utf8ToWide(e.name);
  } else if (!e.name.empty()) {
    const int n = MultiByteToWideChar(CP_OEMCP, 0, e.name.data(), static_cast<int>(e.name.size()), nullptr, 0);
    name.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    if (n > 0) MultiByteToWideChar(CP_OEMCP, 0, e.name.data(), static_cast<int>(e.name.size()), name.data(), n);
  }
  for (auto& c : name)
    if (c == L'/') c = L'\\';
  return name;
}

}  // namespace

ErrorBoxHandler SetErrorBoxHandler(ErrorBoxHandler handler) {
  const ErrorBoxHandler previous = g_errorBox;
  g_errorBox = handler ? handler : &MessageBoxHandler;
  return previous;
}

void ShowErrorBox(const std::wstring& text) { g_errorBox(text); }

Extractor::Extractor() = default;

bool Extractor::SetPackageFile(const std::wstring& path) {
  isOpen_ = false;
  if (FileExists(path)) {
    index_.Clear();
    byName_.clear();
    directory_.clear();
    path_ = path;
    isSet_ = true;
  } else {
    isSet_ = false;
  }
  return isSet_;
}

bool Extractor::OpenPackage() {
  if (!isSet_) return false;
  isOpen_ = false;
  index_.Clear();
  byName_.clear();
  directory_.clear();
  try {
    FileSource file(path_);
    directory_ = qzip::ReadDirectory(file);
    for (std::size_t i = 0; i < directory_.size(); ++i) {
      const std::wstring name = EntryName(directory_[i]);
      index_.AddPair(name, std::to_wstring(i));
      byName_.emplace(FoldCase(name), i);
    }
  } catch (const std::exception&) {
    index_.Clear();
    byName_.clear();
    directory_.clear();
    // A real line break where the notice once carried the two characters "\n".
    ShowErrorBox(L"Ошибка чтения файла: " + path_ + L"\r\nExtractor 55");
    return false;
  }
  isOpen_ = true;
  return true;
}

bool Extractor::ExtractToList(HashedStringList& list, std::wstring_view entryName) {
  if (!isOpen_ && !OpenPackage()) return false;
  const auto at = byName_.find(FoldCase(entryName));
  if (at == byName_.end()) return false;
  const auto& entry = directory_[at->second];
  std::string bytes;
  {
    FileSource file(path_);
    bytes = qzip::ReadEntry(file, entry);
  }
  try {
    list.Assign(qtext::TextToLines(bytes));
  } catch (const std::exception&) {
    ShowErrorBox(L"Extractor 75");
    return false;
  }
  return true;
}

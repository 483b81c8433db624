#include "main/Miscutils.h"

#include <shlobj.h>

#include <climits>
#include <vector>

#include "shared/TextCodec.h"

namespace {

bool IsDelimiter(wchar_t c) { return c == L'\\' || c == L'/'; }

bool DirectoryExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring ProgramFolderOf(std::wstring_view exePath) {
  std::size_t cut = exePath.size();
  while (cut > 0 && !IsDelimiter(exePath[cut - 1]) && exePath[cut - 1] != L':') --cut;
  std::wstring folder(exePath.substr(0, cut));
  if (folder.empty() || !IsDelimiter(folder.back())) folder += L'\\';
  return folder;
}

std::wstring ProgramFolder() {
  // Long paths exceed MAX_PATH: grow until the whole name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return L"\\";
    if (n < buffer.size()) return ProgramFolderOf(std::wstring_view(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring DocumentsSubfolder(std::wstring_view name, bool dontCreate, HWND owner) {
  wchar_t documents[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(owner, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, documents)))
    return {};
  std::wstring folder = documents;
  if (folder.empty() || !DirectoryExists(folder)) return {};
  if (!IsDelimiter(folder.back())) folder += L'\\';
  folder += name;
  if (!dontCreate && !DirectoryExists(folder)) CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

int ParseVersionNumber(std::wstring_view text) {
  std::wstring digits;
  for (wchar_t c : qtext::Trim(text))
    if (c != L'.') digits += c;
  for (wchar_t c : digits)
    if (c < L'0' || c > L'9') return -1;
  if (digits.empty()) throw EConvertError("'' is not a valid integer value");
  long long value = 0;
  for (wchar_t c : digits) {
    value = value * 10 + (c - L'0');
    if (value > INT_MAX) throw EConvertError("version number out of range");
  }
  return static_cast<int>(value);
}

bool IsVersionOlder(std::wstring_view first, std::wstring_view second) {
  int a = -1, b = -1;
  try {
    a = ParseVersionNumber(first);
    b = ParseVersionNumber(second);
  } catch (const EConvertError&) {
    return false;
  }
  return a > 0 && b > 0 && a < b;
}

void MakeKeyInput(INPUT& record, WORD virtualKey, bool keyUp) {
  record = {};
  record.type = INPUT_KEYBOARD;
  record.ki.wVk = virtualKey;
  record.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  record.ki.dwFlags = keyUp ? KEYEVENTF_KEYUP : 0;
  record.ki.time = 10;
  record.ki.dwExtraInfo = 0;
}

HotKeyCode ShortCutToHotKey(TShortCut shortCut) {
  HotKeyCode code;
  code.virtualKey = shortCut & 0xFF;
  if (shortCut & scShift) code.modifiers |= MOD_SHIFT;
  if (shortCut & scAlt) code.modifiers |= MOD_ALT;
  if (shortCut & scCtrl) code.modifiers |= MOD_CONTROL;
  return code;
}

unsigned ShiftToModifiers(TShiftState shift) {
  unsigned bits = 0;
  if (shift & ssAlt) bits |= 1;
  if (shift & ssCtrl) bits |= 2;
  if (shift & ssShift) bits |= 4;
  return bits;
}

TShiftState ModifiersToShift(unsigned bits) {
  TShiftState shift = 0;
  if (bits & 1) shift |= ssAlt;
  if (bits & 2) shift |= ssCtrl;
  if (bits & 4) shift |= ssShift;
  return shift;
}

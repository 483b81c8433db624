// Definitions both programs compile in: the private messages, the window identities, the
// class lists with their match rule, the class-list text of WM_COPYDATA, caret packing and
// the companion's command line. Everything here is pure data or pure computation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qbar {

// Message numbers (sent with SendMessageA, never posted). 32877 is unused; 32879 belongs to the
// main program's update check.
enum : unsigned {
  QBM_SHOW_LIST = 32869,
  QBM_CAPTURE = 32870,
  QBM_HELLO = 32871,
  QBM_SETTINGS = 32872,
  QBM_FORGET_TARGET = 32873,
  QBM_HIDE = 32874,
  QBM_SHOW = 32875,
  QBM_SETTINGS_ACK = 32876,
  QBM_GET_TARGET = 32878,
  QBM_UPDATE_RESULT = 32879,
  QBM_READ_ONLY = 32880,
  QBM_SCREENSHOT = 32881,
  QBM_VISIBILITY = 32882,
};

// Window identities, for FindWindowA with both class and title.
inline constexpr const char* kMainWindowClass = "TCurInsWindow";
inline constexpr const char* kMainWindowTitle = "Quillet";
inline constexpr const char* kBarWindowClass = "qbar_base";
inline constexpr const char* kBarWindowTitle = "qbar_menu_panel";

inline constexpr const char* kMainExeName = "quilletmain.exe";
inline constexpr const char* kBarExeName = "qlt_bar.exe";
inline constexpr const wchar_t* kMainMutexName = L"VurivuzuOneInstMutex1";
inline constexpr const wchar_t* kBarMutexName = L"VurivuzuOneInstMutex";

// QBM_SETTINGS high word.
enum ExtendedViewSelector : unsigned { kExtendedUnchanged = 0, kExtendedOn = 1, kExtendedOff = 2 };

// QBM_VISIBILITY lParam from the companion or the Visibility hot key.
enum VisibilityRequest : long { kVisibilityShow = 1, kVisibilityHide = 2, kVisibilityToggle = 3 };

inline constexpr int kDefaultPosition = 51;
inline constexpr int kClassNameBufferChars = 1024;

// The window classes on which the bar never appears, in the order both programs carry them.
inline constexpr std::size_t kBuiltInClassCount = 23;
extern const wchar_t* const kBuiltInClasses[kBuiltInClassCount];

// The bar position dialog's class; each program treats it specially.
inline constexpr std::size_t kBarDialogClassCount = 1;
extern const wchar_t* const kBarDialogClasses[kBarDialogClassCount];

// A window of class `className` matches `entry` when the entry begins with the whole class name.
// An empty class name never matches (it is no class at all).
bool ClassMatches(std::wstring_view className, std::wstring_view entry);
template <class List>
bool ListMatches(const List& list, std::wstring_view className) {
  for (const auto& entry : list)
    if (ClassMatches(className, entry)) return true;
  return false;
}

inline constexpr std::wstring_view kClassListMarker = L"<[,,,]>";

// Each name followed by the marker, no terminating NUL.
std::wstring BuildClassListText(const std::vector<std::wstring>& names);

// Splits a received payload of `byteCount` bytes at `data` (which may be null). An odd byte count
// drops the last byte; text after the last marker is ignored; an empty name ends the parse.
std::vector<std::wstring> ParseClassListText(const void* data, std::size_t byteCount);

// Caret points travel with x in the high word and y in the low word (the reverse of MAKELPARAM).
struct CaretPoint {
  int x = 0;
  int y = 0;
};
std::intptr_t PackCaretPoint(int x, int y);
CaretPoint UnpackCaretPoint(std::intptr_t lParam);

// The companion's single optional argument.
struct CompanionOptions {
  int position = kDefaultPosition;
  bool clickLog = false;
};
CompanionOptions ParseCompanionArgument(std::wstring_view argument);

// A position outside 1..100 is replaced by the default on every input path.
inline int SanePosition(long long position) {
  return position >= 1 && position <= 100 ? static_cast<int>(position) : kDefaultPosition;
}

// The first argument after the program name in a Windows command line (quotes removed), or empty.
std::wstring FirstCommandLineArgument(std::wstring_view commandLine);

// "qlt_bar.exe" or "qlt_bar.exe 42".
std::string CompanionCommandLine(int position);

}  // namespace qbar

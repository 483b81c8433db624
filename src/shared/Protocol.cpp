#include "shared/Protocol.h"

#include <cstring>

namespace qbar {

const wchar_t* const kBuiltInClasses[kBuiltInClassCount] = {
    L"WorkerW",        L"Progman",           L"Shell_TrayWnd",          L"TCurInsWindow",
    L"TF_HotKeysSet",  L"TF_ExtendEdit",     L"TF_WndListEdit",         L"TfrmMSNPopUp",
    L"qbar_base",      L"#32768",            L"#32769",                 L"#32770",
    L"#32771",         L"#32772",            L"DV2ControlHost",         L"Button",
    L"TApplication",   L"tooltips_class32",  L"CoverWindowClass",       L"DimmedWindowClass",
    L"TaskSwitcherOverlayWnd", L"TaskSwitcherWnd", L"CabinetWClass",
};

const wchar_t* const kBarDialogClasses[kBarDialogClassCount] = {L"TF_SetBarPos"};

bool ClassMatches(std::wstring_view className, std::wstring_view entry) {
  return !className.empty() && entry.substr(0, className.size()) == className;
}

std::wstring BuildClassListText(const std::vector<std::wstring>& names) {
  std::wstring text;
  for (const auto& name : names) {
    text += name;
    text += kClassListMarker;
  }
  return text;
}

std::vector<std::wstring> ParseClassListText(const void* data, std::size_t byteCount) {
  std::vector<std::wstring> names;
  if (!data) return names;
  // Copy rather than alias: the sender's buffer need not be aligned for wchar_t.
  std::wstring text(byteCount / 2, L'\0');
  std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  std::wstring_view rest(text);
  for (;;) {
    const auto at = rest.find(kClassListMarker);
    if (at == std::wstring_view::npos || at == 0) break;
    names.emplace_back(rest.substr(0, at));
    rest.remove_prefix(at + kClassListMarker.size());
  }
  return names;
}

std::intptr_t PackCaretPoint(int x, int y) {
  const std::uint32_t packed = (static_cast<std::uint32_t>(x & 0xFFFF) << 16) | static_cast<std::uint32_t>(y & 0xFFFF);
  return static_cast<std::intptr_t>(packed);
}

CaretPoint UnpackCaretPoint(std::intptr_t lParam) {
  const auto v = static_cast<std::uint32_t>(lParam);
  return {static_cast<int>((v >> 16) & 0xFFFF), static_cast<int>(v & 0xFFFF)};
}

CompanionOptions ParseCompanionArgument(std::wstring_view argument) {
  CompanionOptions options;
  if (argument.empty() || argument.size() > 3) return options;
  if (argument.find(L"de0") != std::wstring_view::npos) {
    options.clickLog = true;
    return options;
  }
  std::size_t i = 0;
  while (i < argument.size() && argument[i] == L' ') ++i;
  bool negative = false;
  if (i < argument.size() && (argument[i] == L'-' || argument[i] == L'+')) negative = argument[i++] == L'-';
  long long value = 0;  // at most three characters: cannot overflow
  while (i < argument.size() && argument[i] >= L'0' && argument[i] <= L'9') value = value * 10 + (argument[i++] - L'0');
  options.position = SanePosition(negative ? -value : value);
  return options;
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Reads one argument as the Windows C runtime does: quotes group, doubled quotes inside quotes
// give one quote. Backslashes are kept as they are: no argument of ours ends in one.
std::wstring_view::size_type ReadArgument(std::wstring_view s, std::wstring_view::size_type i, std::wstring* out) {
  bool quoted = false;
  while (i < s.size()) {
    const wchar_t c = s[i];
    if (c == L'"') {
      if (quoted && i + 1 < s.size() && s[i + 1] == L'"') {
        if (out) out->push_back(L'"');
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    if (!quoted && IsBlank(c)) break;
    if (out) out->push_back(c);
    ++i;
  }
  return i;
}

}  // namespace

std::wstring FirstCommandLineArgument(std::wstring_view commandLine) {
  std::wstring_view::size_type i = 0;
  // The program name: a quoted name ends at the next quote, whatever follows.
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const auto close = commandLine.find(L'"', 1);
    i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
  std::wstring argument;
  ReadArgument(commandLine, i, &argument);
  return argument;
}

std::string CompanionCommandLine(int position) {
  std::string line = kBarExeName;
  if (position != 0) {
    line += ' ';
    line += std::to_string(position);
  }
  return line;
}

}  // namespace qbar

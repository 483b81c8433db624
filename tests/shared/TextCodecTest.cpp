#include "shared/TextCodec.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace qtext;

namespace {
std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}
}  // namespace

TEST(TextCodec, DecodesByByteOrderMark) {
  struct Case { std::string bytes; std::wstring text; };
  const std::vector<Case> cases = {
      {Bytes({0xEF, 0xBB, 0xBF, 'h', 0xC3, 0xA9}), L"h\u00E9"},
      {Bytes({0xFF, 0xFE, 'h', 0, 0x1F, 0x04}), L"h\u041F"},
      {Bytes({0xFE, 0xFF, 0, 'h', 0x04, 0x1F}), L"h\u041F"},
      {Bytes({0xFF, 0xFE, 'h', 0, 'i'}), L"h"},  // odd length: the lone byte is dropped
      {"plain", L"plain"},
      {"", L""},
      {Bytes({0xEF, 0xBB}), L"\u00EF\u00BB"},   // too short for a mark: ANSI (Wine's default code page 1252)
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeText(c.bytes), c.text);
}

TEST(TextCodec, AnsiUsesTheSystemCodePage) {
  // With no mark, byte 0xE9 is whatever the ANSI code page says it is.
  wchar_t expected = 0;
  const char e9 = static_cast<char>(0xE9);
  MultiByteToWideChar(CP_ACP, 0, &e9, 1, &expected, 1);
  EXPECT_EQ(DecodeText(std::string(1, e9)), std::wstring(1, expected));
  EXPECT_EQ(AnsiToWide(WideToAnsi(L"abc")), L"abc");
  // A character outside the code page becomes the default character, never vanishes.
  EXPECT_EQ(WideToAnsi(L"\u4E2D").size(), 1u);
}

TEST(TextCodec, SplitsLinesAtEveryBreak) {
  struct Case { std::wstring text; std::vector<std::wstring> lines; };
  const std::vector<Case> cases = {
      {L"a\r\nb\nc\rd", {L"a", L"b", L"c", L"d"}},
      {L"a\r\n", {L"a"}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"\n", {L""}},
      {L"", {}},
      {L"[x]\r\nkey=[v]", {L"[x]", L"key=[v]"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines);
  EXPECT_EQ(TextToLines(Bytes({0xFF, 0xFE, 'a', 0, '\n', 0, 'b', 0})), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(TextCodec, Utf8RoundTripAndTrim) {
  const std::wstring s = L"Привет, \u00E9t\u00E9";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(s)), s);
  EXPECT_EQ(Trim(L" \t x y \r\n"), L"x y");
  EXPECT_EQ(Trim(L"   "), L"");
}

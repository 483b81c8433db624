#include "shared/Protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qbar;

namespace {

std::vector<std::wstring> Parse(const std::wstring& text) {
  return ParseClassListText(text.data(), text.size() * sizeof(wchar_t));
}

const std::wstring M(kClassListMarker);

}  // namespace

TEST(Protocol, MessageNumbersAreTheAgreedOnes) {
  EXPECT_EQ(QBM_SHOW_LIST, 0x8065u);
  EXPECT_EQ(QBM_CAPTURE, 0x8066u);
  EXPECT_EQ(QBM_HELLO, 0x8067u);
  EXPECT_EQ(QBM_SETTINGS, 0x8068u);
  EXPECT_EQ(QBM_FORGET_TARGET, 0x8069u);
  EXPECT_EQ(QBM_HIDE, 0x806Au);
  EXPECT_EQ(QBM_SHOW, 0x806Bu);
  EXPECT_EQ(QBM_SETTINGS_ACK, 0x806Cu);
  EXPECT_EQ(QBM_GET_TARGET, 0x806Eu);
  EXPECT_EQ(QBM_READ_ONLY, 0x8070u);
  EXPECT_EQ(QBM_SCREENSHOT, 0x8071u);
  EXPECT_EQ(QBM_VISIBILITY, 0x8072u);
}

TEST(Protocol, BuiltInClassListOrder) {
  ASSERT_EQ(kBuiltInClassCount, 23u);
  EXPECT_STREQ(kBuiltInClasses[0], L"WorkerW");
  EXPECT_STREQ(kBuiltInClasses[3], L"TCurInsWindow");
  EXPECT_STREQ(kBuiltInClasses[8], L"qbar_base");
  EXPECT_STREQ(kBuiltInClasses[11], L"#32770");
  EXPECT_STREQ(kBuiltInClasses[22], L"CabinetWClass");
  EXPECT_STREQ(kBarDialogClasses[0], L"TF_SetBarPos");
}

TEST(Protocol, ClassMatchRuleIsEntryBeginsWithClass) {
  struct Case { const wchar_t* cls; const wchar_t* entry; bool match; };
  const Case cases[] = {
      {L"Button", L"Button", true},
      {L"Butt", L"Button", true},          // a class that is a prefix of an entry matches
      {L"ButtonX", L"Button", false},      // an entry that is a prefix of the class does not
      {L"button", L"Button", false},       // letter case counts
      {L"", L"Button", false},
      {L"utton", L"Button", false},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassMatches(c.cls, c.entry), c.match) << c.cls << L" / " << c.entry;
  const std::vector<std::wstring> list(std::begin(kBuiltInClasses), std::end(kBuiltInClasses));
  EXPECT_TRUE(ListMatches(list, L"#3277"));
  EXPECT_FALSE(ListMatches(list, L"Notepad"));
}

TEST(Protocol, ClassListTextRoundTrip) {
  const std::vector<std::wstring> names = {L"Notepad", L"Чат", L"a<b"};
  const std::wstring text = BuildClassListText(names);
  EXPECT_EQ(text, L"Notepad" + M + L"Чат" + M + L"a<b" + M);
  EXPECT_EQ(Parse(text), names);
  EXPECT_EQ(BuildClassListText({}), L"");
}

TEST(Protocol, ClassListParseStopsAsAgreed) {
  struct Case { std::wstring text; std::vector<std::wstring> names; };
  const std::vector<Case> cases = {
      {L"A" + M + L"B" + M + L"C", {L"A", L"B"}},  // text after the last marker is ignored
      {M + L"A" + M, {}},                          // a marker at the start ends the parse
      {L"A" + M + M + L"B" + M, {L"A"}},           // an empty name ends it too
      {L"no markers at all", {}},
      {L"", {}},
      {L"A<[,,,]", {}},                             // half a marker is no marker
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.names);
}

TEST(Protocol, ClassListParseOfHostileBuffers) {
  EXPECT_TRUE(ParseClassListText(nullptr, 100).empty());
  // Odd byte count: the last byte is dropped, here the last half of the final marker's '>'.
  const std::wstring text = L"A" + M + L"B" + M;
  EXPECT_EQ(ParseClassListText(text.data(), text.size() * 2 - 1), std::vector<std::wstring>{L"A"});
  // An unaligned buffer still parses.
  std::string bytes(1, 'x');
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  EXPECT_EQ(ParseClassListText(bytes.data() + 1, text.size() * 2), (std::vector<std::wstring>{L"A", L"B"}));
  // A megabyte of names.
  std::vector<std::wstring> many(100000, L"Cls");
  const std::wstring big = BuildClassListText(many);
  ASSERT_GT(big.size() * 2, 1000000u);
  EXPECT_EQ(ParseClassListText(big.data(), big.size() * 2).size(), many.size());
  // A megabyte without any marker.
  const std::wstring junk(600000, L'x');
  EXPECT_TRUE(ParseClassListText(junk.data(), junk.size() * 2).empty());
}

TEST(Protocol, CaretPointPacking) {
  EXPECT_EQ(PackCaretPoint(300, 40), 19660840);
  const CaretPoint p = UnpackCaretPoint(19660840);
  EXPECT_EQ(p.x, 300);
  EXPECT_EQ(p.y, 40);
  // Negative coordinates travel as their low 16 bits and come back unsigned.
  const CaretPoint n = UnpackCaretPoint(PackCaretPoint(-1, -2));
  EXPECT_EQ(n.x, 0xFFFF);
  EXPECT_EQ(n.y, 0xFFFE);
  EXPECT_EQ(PackCaretPoint(0, 0), 0);
  EXPECT_GE(PackCaretPoint(0xFFFF, 0xFFFF), 0) << "never sign-extended into a negative lParam";
}

TEST(Protocol, CompanionArgument) {
  struct Case { const wchar_t* arg; int position; bool log; };
  const Case cases[] = {
      {L"100", 100, false}, {L"1", 1, false},     {L"0", 51, false},   {L"101", 51, false},
      {L"abc", 51, false},  {L"-5", 51, false},   {L"1000", 51, false}, {L"de0", 51, true},
      {L"", 51, false},     {L" 42", 42, false},  {L"+7", 7, false},    {L"42x", 42, false},
      {L"xde0", 51, false},  // four characters: not looked at
  };
  for (const auto& c : cases) {
    const CompanionOptions o = ParseCompanionArgument(c.arg);
    EXPECT_EQ(o.position, c.position) << c.arg;
    EXPECT_EQ(o.clickLog, c.log) << c.arg;
  }
  const std::wstring huge(1 << 20, L'9');
  EXPECT_EQ(ParseCompanionArgument(huge).position, 51);
}

TEST(Protocol, FirstCommandLineArgument) {
  struct Case { const wchar_t* line; const wchar_t* arg; };
  const Case cases[] = {
      {L"qlt_bar.exe 42", L"42"},
      {L"\"C:\\Program Files\\Q\\qlt_bar.exe\" de0", L"de0"},
      {L"\"C:\\Program Files\\Q\\qlt_bar.exe\"de0", L"de0"},
      {L"qlt_bar.exe", L""},
      {L"qlt_bar.exe    7   8", L"7"},
      {L"qlt_bar.exe \"1 2\"", L"1 2"},
      {L"", L""},
      {L"\"unterminated", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(FirstCommandLineArgument(c.line), c.arg) << c.line;
  const std::wstring huge = L"x.exe " + std::wstring(1 << 20, L'a');
  EXPECT_EQ(FirstCommandLineArgument(huge).size(), 1u << 20);
}

TEST(Protocol, CompanionCommandLineAndPositions) {
  EXPECT_EQ(CompanionCommandLine(0), "qlt_bar.exe");
  EXPECT_EQ(CompanionCommandLine(42), "qlt_bar.exe 42");
  EXPECT_EQ(SanePosition(0), 51);
  EXPECT_EQ(SanePosition(100), 100);
  EXPECT_EQ(SanePosition(101), 51);
  EXPECT_EQ(SanePosition(-70000), 51);
}

#include "companion/HiddenClasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/Protocol.h"

using companion::HiddenClassList;

namespace {

std::vector<std::wstring> BuiltIn() { return {std::begin(qbar::kBuiltInClasses), std::end(qbar::kBuiltInClasses)}; }

void Receive(HiddenClassList& list, const std::vector<std::wstring>& names) {
  const std::wstring text = qbar::BuildClassListText(names);
  list.AppendFromText(text.data(), text.size() * sizeof(wchar_t));
}

}  // namespace

TEST(HiddenClasses, ResetKeepsExactlyTheBuiltInNames) {
  HiddenClassList list;
  EXPECT_EQ(list.entries(), BuiltIn());
  EXPECT_EQ(list.builtInCount(), qbar::kBuiltInClassCount);

  // Several handshakes' worth of additions, duplicates and Alt-clicks included; also an added name
  // equal to a built-in one, which must not survive the reset either.
  for (int round = 0; round < 3; ++round) {
    Receive(list, {L"Notepad", L"WordPadClass", L"Notepad"});
    list.Append(L"Chrome_WidgetWin_1");
    list.Append(L"Button");
    EXPECT_TRUE(list.Matches(L"WordPadClass"));
    EXPECT_EQ(list.entries().size(), qbar::kBuiltInClassCount + 5);
    list.ResetToBuiltIn();
    EXPECT_EQ(list.entries(), BuiltIn()) << "round " << round;
  }
  EXPECT_FALSE(list.Matches(L"Notepad"));
  EXPECT_TRUE(list.Matches(L"CabinetWClass"));
  list.ResetToBuiltIn();  // nothing added: nothing removed
  EXPECT_EQ(list.entries(), BuiltIn());
}

TEST(HiddenClasses, BadPayloadsAddNothingOrOnlyWholeNames) {
  HiddenClassList list;
  list.AppendFromText(nullptr, 1000);
  list.Append(L"");  // the class of a window that is gone
  const std::wstring oneName = L"Notepad" + std::wstring(qbar::kClassListMarker);
  list.AppendFromText(oneName.data(), oneName.size() * 2 - 1);  // cuts the marker short
  EXPECT_EQ(list.entries(), BuiltIn());
  EXPECT_FALSE(list.Matches(L""));
}

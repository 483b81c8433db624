#include "lang/IniProcceder.h"

#include <gtest/gtest.h>

namespace {

HashedStringList List(std::vector<std::wstring> lines) {
  HashedStringList l;
  l.Assign(std::move(lines));
  return l;
}

}  // namespace

TEST(IniProcceder, IndexesEveryLineContainingABracket) {
  const auto lines = List({L"x=1", L"[A]", L"k=v", L"a[b]c", L"  [ C ]  ", L"[D", L"E]", L"[A]", L"second A"});
  HashedStringList index;
  index.Add(L"stale=99");
  IniProcceder().IndexSections(lines, index);
  EXPECT_EQ(index.Lines(), (std::vector<std::wstring>{L"A=1", L"abc=3", L"C=4", L"D=5", L"A=7"}));
  EXPECT_EQ(IniProcceder::SectionLine(index, L"a"), 1) << "names ignore case; the first of a name wins";
  EXPECT_EQ(IniProcceder::SectionLine(index, L"C"), 4);
  EXPECT_THROW(IniProcceder::SectionLine(index, L"E"), ESectionMissing);
  EXPECT_THROW(IniProcceder::SectionLine(List({L"A=x"}), L"A"), ESectionMissing);
}

TEST(IniProcceder, CopiesUpToTheNextBracketLine) {
  const auto lines = List({L"[S]", L"Caption=Text", L"", L"URL=http://x/[y]", L"after", L"[T]", L"Hint=h"});
  IniProcceder ini;
  HashedStringList target = List({L"old"});
  EXPECT_EQ(&ini.CopySection(lines, target, 0), &target);
  // A value containing "[" ends its section.
  EXPECT_EQ(target.Lines(), (std::vector<std::wstring>{L"Caption=Text", L""}));
  ini.CopySection(lines, target, 5);
  EXPECT_EQ(target.Lines(), (std::vector<std::wstring>{L"Hint=h"}));
  ini.CopySection(lines, target, 6);
  EXPECT_TRUE(target.Empty());
  EXPECT_THROW(ini.CopySection(lines, target, -1), EListError);
  auto self = List({L"[S]", L"a", L"b"});
  ini.CopySection(self, self, 0);
  EXPECT_EQ(self.Lines(), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(HashedStringList, LooksUpNamesIgnoringCaseAndFollowsChanges) {
  auto l = List({L"plain line", L"Key=v1", L"KEY=v2", L"Язык=ru\\", L"=empty name", L"a=b=c"});
  EXPECT_EQ(l.Value(L"key"), L"v1");
  EXPECT_EQ(l.Value(L"ЯЗЫК"), L"ru\\");
  EXPECT_EQ(l.Value(L"a"), L"b=c");
  EXPECT_EQ(l.IndexOfName(L"plain line"), -1);
  EXPECT_EQ(l.Value(L"missing"), L"");
  l.Add(L"late=1");
  EXPECT_EQ(l.IndexOfName(L"LATE"), 6);
  l.Clear();
  EXPECT_EQ(l.IndexOfName(L"key"), -1);
  EXPECT_THROW(l[0], EListError);
}

#include "lang/Extractor.h"

#include <gtest/gtest.h>

#include "LangFixture.h"

using namespace langtest;

TEST_F(LangTest, ExtractorOpensLazilyAndIndexesEntriesWithBackslashes) {
  Extractor x;
  HashedStringList list;
  list.Add(L"kept");
  EXPECT_FALSE(x.SetPackageFile(folder_ / L"none.pkg"));
  EXPECT_FALSE(x.IsSet());
  EXPECT_FALSE(x.ExtractToList(list, L"desc.txt"));

  const std::wstring path = WritePackage({{"desc.txt", "d"}, {"Ru/Сообщения.txt", Utf8Bom(L"строка")}, {"a=b.txt", "x"}});
  ASSERT_TRUE(x.SetPackageFile(path));
  EXPECT_TRUE(x.IsSet());
  EXPECT_FALSE(x.IsOpen());
  EXPECT_FALSE(x.ExtractToList(list, L"ru/сообщения.txt"));
  EXPECT_TRUE(x.IsOpen());
  EXPECT_EQ(x.EntryIndex().Lines(), (std::vector<std::wstring>{L"desc.txt=0", L"Ru\\Сообщения.txt=1", L"a=b.txt=2"}));
  EXPECT_EQ(list.Lines(), (std::vector<std::wstring>{L"kept"})) << "a name not found leaves the list alone";
  ASSERT_TRUE(x.ExtractToList(list, L"RU\\СООБЩЕНИЯ.TXT"));
  EXPECT_EQ(list.Lines(), (std::vector<std::wstring>{L"строка"}));
  ASSERT_TRUE(x.ExtractToList(list, L"A=B.TXT"));
  EXPECT_EQ(list.Lines(), (std::vector<std::wstring>{L"x"}));

  // Setting the file again forgets the directory until it is read anew.
  ASSERT_TRUE(x.SetPackageFile(path));
  EXPECT_FALSE(x.IsOpen());
  EXPECT_TRUE(x.EntryIndex().Empty());
  EXPECT_TRUE(ShownErrors().empty());
}

#include "lang/LangPARAM.h"

#include <gtest/gtest.h>

#include "LangFixture.h"

using namespace langtest;
using testsupport::MakeZip;
using testsupport::ZipItem;

namespace {

void ExpectBuiltInTexts(const LangPARAM& lang) {
  ASSERT_EQ(lang.DynamicList.Count(), 27u);
  for (int n = 0; n < 27; ++n) EXPECT_EQ(lang.MessageText(n), BuiltInMessage(n)) << n;
}

}  // namespace

TEST_F(LangTest, WithoutPackageTheBuiltInEnglishTextsServe) {
  LangPARAM lang(folder_ / L"lang.pkg");
  EXPECT_FALSE(lang.PackageLoaded);
  EXPECT_TRUE(lang.PackagePath.empty());
  ExpectBuiltInTexts(lang);
  for (int unused : {0, 1, 2, 10, 11, 18}) EXPECT_EQ(lang.MessageText(unused), L"");
  EXPECT_EQ(lang.MessageText(9), L"This keys combination already in use. Rechoice another one.");
  EXPECT_EQ(lang.MessageText(12), L"QuilletApp-en.chm");
  EXPECT_EQ(lang.MessageText(23), L"JPEG|*.jpg;*.jpeg|BMP|*.bmp|PNG|*.png|GIF|*.gif");
  EXPECT_EQ(lang.MessageText(26), L"Window title");
  EXPECT_THROW(lang.MessageText(27), EListError);
  EXPECT_THROW(lang.MessageText(-1), EListError);
  EXPECT_FALSE(lang.SelectLanguage(L"German"));
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(LangTest, ProcessWideMessageTextFollowsTheInstalledLanguage) {
  ASSERT_EQ(ProcessLang(), nullptr);
  EXPECT_EQ(MessageText(22), L"Saving is not possible. Only reading.");
  {
    LangPARAM lang(WritePackage(StandardPackage()));
    SetProcessLang(&lang);
    ASSERT_TRUE(lang.SelectLanguage(L"German"));
    EXPECT_EQ(MessageText(22), L"de 22");  // looked up at each call, so a switch shows at once
    ASSERT_TRUE(lang.SelectLanguage(L"Russian"));
    EXPECT_EQ(MessageText(22), L"ru 22");
    SetProcessLang(nullptr);
  }
  EXPECT_EQ(MessageText(5), L"Confirmation");
}

TEST_F(LangTest, WellFormedPackageLoadsWithSectionsInAnyOrder) {
  const std::vector<std::vector<std::wstring>> descs = {
      {L"[Files]", L"dynamic=messages.txt", L"static=forms.txt", L"[Stuff]", L"English=en\\", L"German=de\\",
       L"[Trans]", L"t1", L"t2"},
      {L"; header comment", L"  [ Trans ]  ", L"t1", L"t2", L"[Stuff]", L"English=en\\", L"German=de\\", L"",
       L"[Files]", L"static=forms.txt", L"dynamic=messages.txt"},
  };
  for (const auto& desc : descs) {
    auto items = StandardPackage();
    items[0].data = JoinLines(desc);
    const std::wstring path = WritePackage(items);
    LangPARAM lang(path);
    ASSERT_TRUE(lang.PackageLoaded);
    EXPECT_EQ(lang.PackagePath, path);
    EXPECT_EQ(lang.DynamicFileName, L"messages.txt");
    EXPECT_EQ(lang.StaticFileName, L"forms.txt");
    EXPECT_EQ(lang.LanguageList.Value(L"German"), L"de\\");
    EXPECT_FALSE(lang.LanguageList.HasName(L"dynamic"));  // the [Stuff] lines replace the [Files] lines
    EXPECT_EQ(lang.TransList.Lines(), (std::vector<std::wstring>{L"t1", L"t2"}));
    ExpectBuiltInTexts(lang);  // loading the package alone changes no text

    ASSERT_TRUE(lang.SelectLanguage(L"German"));
    EXPECT_EQ(lang.LangFolder, L"de\\");
    EXPECT_EQ(lang.MessageText(20), L"de 20");
    EXPECT_EQ(lang.StaticList.Lines(),
              (std::vector<std::wstring>{L"[CurInsWindow]", L"Caption=Quillet DE", L"[A_VurivuZu]", L"Caption=Einfügen"}));
    EXPECT_FALSE(lang.SelectLanguage(L"Spanish"));  // not listed: nothing changes
    EXPECT_EQ(lang.LangFolder, L"de\\");
    EXPECT_EQ(lang.MessageText(20), L"de 20");
  }
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(LangTest, IncompletePackagesAreNotLoaded) {
  struct Case { const char* what; std::vector<std::wstring> desc; bool withDesc; };
  const std::vector<Case> cases = {
      {"no [Files]", {L"[Stuff]", L"German=de\\", L"[Trans]"}, true},
      {"no [Stuff]", {L"[Files]", L"dynamic=messages.txt", L"[Trans]"}, true},
      {"no [Trans]", {L"[Files]", L"dynamic=messages.txt", L"[Stuff]", L"German=de\\"}, true},
      {"empty desc.txt", {}, true},
      {"no desc.txt", {}, false},
  };
  for (const auto& c : cases) {
    auto items = StandardPackage();
    if (c.withDesc) items[0].data = JoinLines(c.desc); else items.erase(items.begin());
    LangPARAM lang(WritePackage(items));
    EXPECT_FALSE(lang.PackageLoaded) << c.what;
    EXPECT_TRUE(lang.PackagePath.empty()) << c.what;
    EXPECT_FALSE(lang.SelectLanguage(L"German")) << c.what;
    ExpectBuiltInTexts(lang);
  }
  EXPECT_TRUE(ShownErrors().empty()) << "a package without its table of contents is refused silently";
}

TEST_F(LangTest, EntryNamesIgnoreCaseButNotTheSeparator) {
  auto items = StandardPackage();
  items[0].data = JoinLines({L"[Files]", L"dynamic=Messages.TXT", L"static=FORMS.txt", L"[Stuff]",
                             L"German=DE\\", L"French=fr/", L"[Trans]"});
  items.push_back({"fr/messages.txt", Messages(L"fr", 27)});
  LangPARAM lang(WritePackage(items));
  ASSERT_TRUE(lang.PackageLoaded);
  EXPECT_TRUE(lang.SelectLanguage(L"german"));
  EXPECT_EQ(lang.MessageText(3), L"de 3");
  // Entry names carry "\" once read, so a prefix written with "/" finds nothing: the texts stay.
  EXPECT_TRUE(lang.SelectLanguage(L"French"));
  EXPECT_EQ(lang.MessageText(3), L"de 3");
}

TEST_F(LangTest, MessageFilesAreNotCutIntoSectionsAndMayBeShort) {
  auto items = StandardPackage();
  items[3].data = JoinLines({L"m0", L"[m1] brackets are text here", L"m2", L"m3", L"m4", L"m5", L"m6", L"m7", L"m8", L"m9"});
  LangPARAM lang(WritePackage(items));
  ASSERT_TRUE(lang.SelectLanguage(L"German"));
  EXPECT_EQ(lang.DynamicList.Count(), 10u);
  EXPECT_EQ(lang.MessageText(1), L"[m1] brackets are text here");
  EXPECT_EQ(lang.MessageText(9), L"m9");
  EXPECT_THROW(lang.MessageText(20), EListError);
}

TEST_F(LangTest, MissingOrDamagedLanguageFilesKeepThePreviousTexts) {
  struct Case { const char* what; bool keepEntry; bool stored; std::uint32_t crcXor; };
  const std::vector<Case> cases = {
      {"missing", false, false, 0},
      {"stored, not deflated", true, true, 0},
      {"CRC mismatch", true, false, 0x1},
  };
  for (const auto& c : cases) {
    auto items = StandardPackage();
    items.erase(items.begin() + 4);  // de/forms.txt
    if (c.keepEntry) {
      items[3].stored = c.stored;    // de/messages.txt
      items[3].crcXor = c.crcXor;
    } else {
      items.erase(items.begin() + 3);
    }
    LangPARAM lang(WritePackage(items));
    ASSERT_TRUE(lang.SelectLanguage(L"Russian")) << c.what;
    lang.SelectLanguage(L"German");
    EXPECT_EQ(lang.MessageText(4), L"ru 4") << c.what;
    EXPECT_EQ(lang.StaticList[0], L"[CurInsWindow]") << c.what;
    EXPECT_EQ(lang.StaticList[1], L"Caption=Квиллет") << c.what;
  }
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(LangTest, TextEncodingFollowsTheByteOrderMark) {
  const std::wstring text = L"Grüße, Привет";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (wchar_t c : text + L"\r\nsecond") {
    le += static_cast<char>(c & 0xFF);
    le += static_cast<char>(c >> 8);
    be += static_cast<char>(c >> 8);
    be += static_cast<char>(c & 0xFF);
  }
  const std::string ansiBytes = "Caf\xE9";  // no mark: the system's ANSI code page
  struct Case { const char* what; std::string bytes; std::wstring first; };
  const std::vector<Case> cases = {
      {"UTF-8", Utf8Bom(text + L"\r\nsecond"), text},
      {"UTF-16 LE", le, text},
      {"UTF-16 BE", be, text},
      {"ANSI", ansiBytes + "\r\nsecond", qtext::AnsiToWide(ansiBytes)},
  };
  for (const auto& c : cases) {
    auto items = StandardPackage();
    items[3].data = c.bytes;
    // desc.txt in the same encoding shows that the table of contents is decoded the same way.
    if (std::string(c.what) == "UTF-16 LE") {
      std::string desc = "\xFF\xFE";
      for (wchar_t ch : qtext::DecodeText(StandardDesc())) {
        desc += static_cast<char>(ch & 0xFF);
        desc += static_cast<char>(ch >> 8);
      }
      items[0].data = desc;
    }
    LangPARAM lang(WritePackage(items));
    ASSERT_TRUE(lang.SelectLanguage(L"German")) << c.what;
    EXPECT_EQ(lang.MessageText(0), c.first) << c.what;
    EXPECT_EQ(lang.MessageText(1), L"second") << c.what;
  }
}

TEST_F(LangTest, UnreadableArchiveIsReportedOnceThenEnglish) {
  const std::wstring path = WriteBytes("this is not a ZIP archive at all, just some text long enough");
  LangPARAM lang(path);
  EXPECT_FALSE(lang.PackageLoaded);
  ExpectBuiltInTexts(lang);
  EXPECT_FALSE(lang.SelectLanguage(L"German"));
  ASSERT_EQ(ShownErrors().size(), 1u);
  EXPECT_EQ(ShownErrors()[0], L"Ошибка чтения файла: " + path + L"\r\nExtractor 55");
}

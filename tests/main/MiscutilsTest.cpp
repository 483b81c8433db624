#include "main/Miscutils.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

TEST(Miscutils, ProgramFolderEndsWithOneDelimiter) {
  struct Case { const wchar_t* exe; const wchar_t* folder; };
  const Case cases[] = {
      {L"C:\\quilletmain.exe", L"C:\\"},
      {L"C:\\Program Files\\Quillet\\quilletmain.exe", L"C:\\Program Files\\Quillet\\"},
      {L"\\\\server\\share\\q.exe", L"\\\\server\\share\\"},
      {L"C:q.exe", L"C:\\"},
      {L"q.exe", L"\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramFolderOf(c.exe), c.folder) << c.exe;

  const std::wstring own = ProgramFolder();
  ASSERT_FALSE(own.empty());
  EXPECT_EQ(own.back(), L'\\');
  EXPECT_NE(own.substr(0, own.size() - 1).back(), L'\\');
  EXPECT_TRUE(testsupport::FileExists(own + L"main_tests.exe"));
}

TEST(Miscutils, DocumentsSubfolderCreatesOnlyWhenAsked) {
  const std::wstring name = L"QuilletTest-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring path = DocumentsSubfolder(name, true);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.substr(path.size() - name.size()), name);
  EXPECT_NE(path.back(), L'\\');
  EXPECT_FALSE(testsupport::FileExists(path)) << "dontCreate must not create the folder";

  EXPECT_EQ(DocumentsSubfolder(name, false), path);
  EXPECT_TRUE(testsupport::FileExists(path));
  RemoveDirectoryW(path.c_str());
}

TEST(Miscutils, ParseVersionNumber) {
  struct Case { const wchar_t* text; int value; };
  const Case cases[] = {
      {L" 3.0.0 ", 300}, {L"3.0.0b", -1}, {L"3..0", 30}, {L"3.0.10", 3010}, {L"3.1.0", 310},
      {L"x", -1},        {L"-3", -1},     {L"2147483647", 2147483647},     {L"\t4.2\r\n", 42},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseVersionNumber(c.text), c.value) << c.text;
  for (const wchar_t* bad : {L"...", L"", L"  ", L"2147483648", L"99999999999999999999999"})
    EXPECT_THROW(ParseVersionNumber(bad), EConvertError) << bad;
}

TEST(Miscutils, IsVersionOlder) {
  struct Case { const wchar_t* a; const wchar_t* b; bool older; };
  const Case cases[] = {
      {L"3.0.0", L"3.0.0", false}, {L"3.0.0", L"3.0.1", true}, {L"3.0.1", L"3.0.0", false},
      {L"x", L"3.0.0", false},     {L"3.0.0", L"x", false},    {L"3.1.0", L"3.0.10", true},
      {L"0", L"1", false},         {L"...", L"3.0.0", false},  {L"3.0.0", L"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsVersionOlder(c.a, c.b), c.older) << c.a << L" < " << c.b;
}

TEST(Miscutils, MakeKeyInput) {
  INPUT down{}, up{};
  MakeKeyInput(down, VK_CONTROL, false);
  MakeKeyInput(up, 'V', true);
  EXPECT_EQ(down.type, static_cast<DWORD>(INPUT_KEYBOARD));
  EXPECT_EQ(down.ki.wVk, VK_CONTROL);
  EXPECT_EQ(down.ki.wScan, MapVirtualKeyA(VK_CONTROL, MAPVK_VK_TO_VSC));
  EXPECT_EQ(down.ki.dwFlags, 0u);
  EXPECT_EQ(down.ki.time, 10u);
  EXPECT_EQ(down.ki.dwExtraInfo, 0u);
  EXPECT_EQ(up.ki.dwFlags, static_cast<DWORD>(KEYEVENTF_KEYUP));
  EXPECT_EQ(up.ki.wVk, 'V');
}

TEST(Miscutils, HotKeyConversions) {
  const HotKeyCode plain = ShortCutToHotKey('U');
  EXPECT_EQ(plain.virtualKey, static_cast<UINT>('U'));
  EXPECT_EQ(plain.modifiers, 0u);
  const HotKeyCode all = ShortCutToHotKey(static_cast<TShortCut>('J' | scShift | scCtrl | scAlt));
  EXPECT_EQ(all.virtualKey, static_cast<UINT>('J'));
  EXPECT_EQ(all.modifiers, static_cast<UINT>(MOD_SHIFT | MOD_CONTROL | MOD_ALT));
  EXPECT_EQ(ShortCutToHotKey(static_cast<TShortCut>('S' | scCtrl | scAlt)).modifiers,
            static_cast<UINT>(MOD_CONTROL | MOD_ALT));

  EXPECT_EQ(ShiftToModifiers(ssAlt), 1u);
  EXPECT_EQ(ShiftToModifiers(ssCtrl), 2u);
  EXPECT_EQ(ShiftToModifiers(ssShift), 4u);
  for (TShiftState s = 0; s < 8; ++s) {
    const TShiftState combo = (s & 1 ? ssShift : 0) | (s & 2 ? ssCtrl : 0) | (s & 4 ? ssAlt : 0);
    EXPECT_EQ(ModifiersToShift(ShiftToModifiers(combo)), combo) << combo;
  }
  EXPECT_EQ(ModifiersToShift(0xF8), 0u) << "bits above 4 are ignored";
}

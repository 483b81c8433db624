// The keystrokes the main program synthesizes to make another program copy or paste.
#include "records/TargetWindow.h"

#include <gtest/gtest.h>

namespace {

TEST(KeySequence, CtrlAroundTheLetterWithScanCodesAndTimeTen) {
  for (WORD letter : {WORD{'V'}, WORD{'C'}}) {
    const records::KeySequence keys = records::MakeKeySequence(letter);
    const struct {
      WORD key;
      DWORD flags;
    } expected[] = {{VK_CONTROL, 0}, {letter, 0}, {letter, KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
    ASSERT_EQ(keys.size(), 4u);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      SCOPED_TRACE(testing::Message() << static_cast<char>(letter) << " event " << i);
      EXPECT_EQ(keys[i].type, static_cast<DWORD>(INPUT_KEYBOARD));
      EXPECT_EQ(keys[i].ki.wVk, expected[i].key);
      EXPECT_EQ(keys[i].ki.wScan, MapVirtualKeyA(expected[i].key, MAPVK_VK_TO_VSC));
      EXPECT_NE(keys[i].ki.wScan, 0) << "a real scan code";
      EXPECT_EQ(keys[i].ki.dwFlags, expected[i].flags);
      EXPECT_EQ(keys[i].ki.time, 10u);
      EXPECT_EQ(keys[i].ki.dwExtraInfo, 0u);
    }
  }
}

}  // namespace

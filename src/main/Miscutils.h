// Small stateless helpers several parts of the main program share.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

// A version or number text that cannot be converted (the class library's EConvertError).
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Shift state as the framework's ShortCut and key events carry it.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;

// ShortCut: key code in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using TShortCut = unsigned short;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

struct HotKeyCode {
  UINT virtualKey = 0;
  UINT modifiers = 0;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT as RegisterHotKey wants them
};

// Folder of the running executable, ending with exactly one path delimiter.
std::wstring ProgramFolder();
std::wstring ProgramFolderOf(std::wstring_view exePath);

// `name` under the user's Documents folder, without a trailing delimiter; created unless
// `dontCreate`. Empty when there is no Documents folder.
std::wstring DocumentsSubfolder(std::wstring_view name, bool dontCreate, HWND owner = nullptr);

// "3.0.0" -> 300; -1 when a character other than digits and points remains. Raises
// EConvertError for an empty remainder or a number outside the 32-bit range.
int ParseVersionNumber(std::wstring_view text);

// True when both texts parse to numbers above 0 and the first is smaller. A text that
// cannot be converted counts as no version.
bool IsVersionOlder(std::wstring_view first, std::wstring_view second);

void MakeKeyInput(INPUT& record, WORD virtualKey, bool keyUp);

HotKeyCode ShortCutToHotKey(TShortCut shortCut);
unsigned ShiftToModifiers(TShiftState shift);
TShiftState ModifiersToShift(unsigned bits);

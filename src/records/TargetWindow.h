// The keystrokes that make another program copy or paste: Ctrl plus a letter, synthesized.
#pragma once

#include <windows.h>

#include <array>

namespace records {

// Ctrl press, letter press, letter release, Ctrl release.
using KeySequence = std::array<INPUT, 4>;

KeySequence MakeKeySequence(WORD letter);

// Puts the four events into the input queue in one call, so no real key can come between them.
// True when all four were taken.
bool SendKeySequence(WORD letter);

}  // namespace records

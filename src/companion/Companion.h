// The companion's process-wide state and the pieces its entry point wires together: the bar
// window with its two buttons, the tracking of the foreground window and the clicks.
#pragma once

#include <windows.h>

#include "companion/HiddenClasses.h"
#include "shared/Protocol.h"

namespace companion {

inline constexpr int kInsertButtonId = 200;
inline constexpr int kCaptureButtonId = 201;
inline constexpr UINT_PTR kTrackingTimerId = 2;
inline constexpr UINT kTrackingIntervalMs = 3;
inline constexpr int kFirstIconId = 402;
inline constexpr int kIconCount = 6;

// Faces, by their place in State::icons (resources 402..407 in this order).
enum Face { kFaceUp, kFaceDown, kFaceUpPressed, kFaceDownPressed, kFaceCamera, kFaceEye };

// What the capture button does on its next press.
enum CaptureMode { kCaptureNormal = 0, kCaptureScreenshot = 1, kCaptureHideClass = 2 };

struct State {
  HWND mainWindow = nullptr;
  HWND target = nullptr;
  HWND bar = nullptr;
  HWND insertButton = nullptr;
  HWND captureButton = nullptr;
  WNDPROC savedInsertProc = nullptr;
  WNDPROC savedCaptureProc = nullptr;
  int position = qbar::kDefaultPosition;
  bool extendedView = false;
  int captureMode = kCaptureNormal;
  bool clickBusy = false;
  bool activatedOnce = false;
  bool clickLog = false;
  int bw = 0;
  int bh = 0;
  HiddenClassList hidden;
  HICON icons[kIconCount] = {};
};

extern State g;

// Registers "qbar_base" and creates the bar window with its buttons; null on failure.
HWND CreateBarWindow(HINSTANCE instance, int showCommand);
// Replaces both buttons' window procedures with the companion's, and puts them back.
void SubclassButtons();
void RestoreButtons();

// Re-places the bar on the foreground window (or hides it); run at every timer tick.
void Track();

}  // namespace companion

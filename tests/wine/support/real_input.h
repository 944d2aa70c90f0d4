// Real input through the system, as a person gives it: each call goes to
// the X server and comes back as genuine window messages to whichever
// window is under the pointer or has the focus, in whatever process.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace real_input {

// Each call waits until the system has taken the event in (the pointer is
// there, the key or button is down or up), then pumps this thread's
// messages for `settleMs`.
void MoveTo(HWND hwnd, int clientX, int clientY, DWORD settleMs = 30);
void ButtonDown(DWORD settleMs = 30);
void ButtonUp(DWORD settleMs = 30);
void Click(HWND hwnd, int clientX, int clientY, DWORD settleMs = 30);
void DoubleClick(HWND hwnd, int clientX, int clientY, DWORD settleMs = 60);
void Key(WORD vk, bool down, DWORD settleMs = 20);
void Tap(WORD vk, DWORD settleMs = 30);
// `vk` tapped while the modifier keys `held` (VK_SHIFT, VK_CONTROL) are down.
void Chord(std::initializer_list<WORD> held, WORD vk, DWORD settleMs = 30);
// Letters, digits and spaces, as key presses.
void Type(const char* text, DWORD settleMs = 20);
// Any characters, as a keyboard that has them all types them: one
// KEYEVENTF_UNICODE press and release per UTF-16 unit.
void TypeUnicode(const wchar_t* text, DWORD settleMs = 20);
void Wheel(int distance, DWORD settleMs = 50);
// Delivers this thread's messages for `ms` milliseconds.
void Settle(DWORD ms);
// Delivers this thread's messages until `done` holds, for `timeoutMs` at
// most; whether it came to hold. For what input leads to: a slow machine
// takes longer, and a fixed wait would then look too early.
template <typename Done>
bool WaitUntil(Done done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Settle(20);
  }
  return true;
}
// Until it is set back to null, Settle offers every message to
// IsDialogMessage for this modeless dialog first, as a dialog's own message
// loop does.
void SetDialog(HWND dialog);

// The mouse through the X server itself (xdotool's XTEST), as a person's
// hand reaches a program under Wine: X sees the button go down and up, and
// its grab of the pressed button decides which window hears the release.
// (SendInput hands the buttons to Wine directly, past X.) Screen
// coordinates are X's.
namespace x11 {
bool Available();  // xdotool is installed
void MoveTo(HWND hwnd, int clientX, int clientY, DWORD settleMs = 30);
void MoveToScreen(int x, int y, DWORD settleMs = 30);
void ButtonDown(DWORD settleMs = 30);
void ButtonUp(DWORD settleMs = 30);
void Click(DWORD settleMs = 30);
void DoubleClick(DWORD settleMs = 60);
// Wheel notches, positive away from the user (X buttons 4 and 5).
void Wheel(int notches, DWORD settleMs = 50);
}  // namespace x11

}  // namespace real_input

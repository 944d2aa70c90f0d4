#include "real_input.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace real_input {

namespace {

// How long the system may take to take an event in: on a loaded machine
// input through the X server can come back late.
constexpr DWORD kArrivalMs = 5000;

// Delivers this thread's messages until `arrived` holds (or kArrivalMs
// have passed): the event has reached the system, so the window it is for
// has it in its queue.
template <typename Arrived>
void AwaitArrival(Arrived arrived) {
  const DWORD start = GetTickCount();
  while (!arrived() && GetTickCount() - start < kArrivalMs) Settle(0);
}

bool KeyIsDown(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// A key event has arrived when the system's state of the key says so, or
// this thread's: in some processes Wine answers GetAsyncKeyState with 0
// (seen in one whose code page is UTF-8), while the key's message, once
// this thread has taken it, sets the thread's state.
bool KeyArrived(int vk, bool down) { return KeyIsDown(vk) == down || (GetKeyState(vk) < 0) == down; }

// Where the pointer is, within the pixel that absolute SendInput can be off.
bool PointerNear(POINT target) {
  POINT at;
  return GetCursorPos(&at) && std::abs(at.x - target.x) <= 1 && std::abs(at.y - target.y) <= 1;
}

// A point of the screen, as far as the pointer can go towards it.
POINT OnScreen(POINT p) {
  p.x = std::max(0L, std::min<LONG>(p.x, GetSystemMetrics(SM_CXSCREEN) - 1));
  p.y = std::max(0L, std::min<LONG>(p.y, GetSystemMetrics(SM_CYSCREEN) - 1));
  return p;
}

}  // namespace

void MoveTo(HWND hwnd, int clientX, int clientY, DWORD settleMs) {
  POINT p{clientX, clientY};
  ClientToScreen(hwnd, &p);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  AwaitArrival([p] { return PointerNear(OnScreen(p)); });
  Settle(settleMs);
}

void Button(DWORD flags, DWORD settleMs) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
  const bool down = flags == MOUSEEVENTF_LEFTDOWN;
  AwaitArrival([down] { return KeyIsDown(VK_LBUTTON) == down; });
  Settle(settleMs);
}

void ButtonDown(DWORD settleMs) { Button(MOUSEEVENTF_LEFTDOWN, settleMs); }
void ButtonUp(DWORD settleMs) { Button(MOUSEEVENTF_LEFTUP, settleMs); }

void Key(WORD vk, bool down, DWORD settleMs) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
  AwaitArrival([vk, down] { return KeyArrived(vk, down); });
  Settle(settleMs);
}

void Tap(WORD vk, DWORD settleMs) {
  Key(vk, true, 10);
  Key(vk, false, settleMs);
}

void Chord(std::initializer_list<WORD> held, WORD vk, DWORD settleMs) {
  for (WORD m : held) Key(m, true, 5);
  Tap(vk, 10);
  for (WORD m : held) Key(m, false, settleMs);
}

void Click(HWND hwnd, int clientX, int clientY, DWORD settleMs) {
  MoveTo(hwnd, clientX, clientY, 20);
  ButtonDown(20);
  ButtonUp(settleMs);
}

void DoubleClick(HWND hwnd, int clientX, int clientY, DWORD settleMs) {
  MoveTo(hwnd, clientX, clientY, 20);
  ButtonDown(10);
  ButtonUp(10);
  ButtonDown(10);
  ButtonUp(settleMs);
}

void Type(const char* text, DWORD settleMs) {
  for (const char* p = text; *p; ++p) {
    const unsigned char ch = static_cast<unsigned char>(*p);
    const bool upper = std::isupper(ch) != 0;
    if (upper) Key(VK_SHIFT, true, 5);
    Tap(static_cast<WORD>(std::toupper(ch)), settleMs);
    if (upper) Key(VK_SHIFT, false, 5);
  }
}

void TypeUnicode(const wchar_t* text, DWORD settleMs) {
  for (const wchar_t* p = text; *p; ++p) {
    INPUT in[2]{};
    for (INPUT& event : in) {
      event.type = INPUT_KEYBOARD;
      event.ki.wScan = static_cast<WORD>(*p);
      event.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Settle(settleMs);
  }
}

void Wheel(int distance, DWORD settleMs) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.mouseData = static_cast<DWORD>(distance);
  in.mi.dwFlags = MOUSEEVENTF_WHEEL;
  SendInput(1, &in, sizeof in);
  Settle(settleMs);
}

namespace {

HWND dialog = nullptr;

void DeliverQueued() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {  // as Pump: a Unicode program's loop
    if (dialog && IsDialogMessageW(dialog, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

}  // namespace

void SetDialog(HWND d) { dialog = d; }

void Settle(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    DeliverQueued();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
  DeliverQueued();
}

namespace x11 {

namespace {

constexpr char kXdotool[] = "/usr/bin/xdotool";

// Runs xdotool with `args` (a Unix program: Wine starts it as it is) and
// waits for it.
void Xdotool(const char* args, DWORD settleMs) {
  char command[256];
  std::snprintf(command, sizeof command, "%s %s", kXdotool, args);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  Settle(settleMs);
}

}  // namespace

bool Available() { return GetFileAttributesA("Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES; }

void MoveToScreen(int x, int y, DWORD settleMs) {
  char args[64];
  std::snprintf(args, sizeof args, "mousemove %d %d", x, y);
  Xdotool(args, 0);
  AwaitArrival([x, y] { return PointerNear(OnScreen(POINT{x, y})); });
  Settle(settleMs);
}

void MoveTo(HWND hwnd, int clientX, int clientY, DWORD settleMs) {
  POINT p{clientX, clientY};
  ClientToScreen(hwnd, &p);
  MoveToScreen(p.x, p.y, settleMs);
}

void ButtonDown(DWORD settleMs) {
  Xdotool("mousedown 1", 0);
  AwaitArrival([] { return KeyIsDown(VK_LBUTTON); });
  Settle(settleMs);
}
void ButtonUp(DWORD settleMs) {
  Xdotool("mouseup 1", 0);
  AwaitArrival([] { return !KeyIsDown(VK_LBUTTON); });
  Settle(settleMs);
}
void Click(DWORD settleMs) { Xdotool("click 1", settleMs); }
void DoubleClick(DWORD settleMs) { Xdotool("click --repeat 2 --delay 40 1", settleMs); }

void Wheel(int notches, DWORD settleMs) {
  if (notches == 0) return;
  char args[64];
  std::snprintf(args, sizeof args, "click --repeat %d --delay 10 %d", notches < 0 ? -notches : notches,
                notches < 0 ? 5 : 4);
  Xdotool(args, settleMs);
}

}  // namespace x11

}  // namespace real_input

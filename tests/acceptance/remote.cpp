#include "remote.h"

#include "high_addresses.h"

#include <cstring>
#include <vector>

namespace remote {

HWND WaitForWindow(const char* cls, const char* caption, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowA(cls, caption)) != nullptr && IsWindowVisible(found); }, timeoutMs);
  return found;
}

std::string CeldraPath() {
  char path[MAX_PATH] = "Celdra.exe";
  GetEnvironmentVariableA("LATTICOR_CELDRA", path, MAX_PATH);
  return path;
}

bool Celdra::Start(const char* exe, DWORD timeoutMs) {
  const std::string path = exe ? exe : CeldraPath();
  return StartProgram(path.c_str(), nullptr, "CeldraClass", "Celdra", timeoutMs);
}

bool Celdra::StartProgram(const char* exe, const char* arguments, const char* frameClass, const char* caption,
                          DWORD timeoutMs) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  char command[2 * MAX_PATH];
  std::snprintf(command, sizeof command, arguments ? "\"%s\" %s" : "%s", exe, arguments);
  // It runs in its own folder: that is where it finds the control library.
  char full[MAX_PATH];
  char* name = nullptr;
  GetFullPathNameA(exe, MAX_PATH, full, &name);
  if (name) *name = '\0';
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, full, &si, &process_)) {
    return false;
  }
  WaitForInputIdle(process_.hProcess, timeoutMs);
  frame_ = WaitForWindow(frameClass, caption, timeoutMs);
  // Its documents and grids come later, from the tests' commands.
  if (frame_ && high_addresses::Requested() && !high_addresses::EnterIn(process())) return false;
  return frame_ != nullptr;
}

Celdra::~Celdra() {
  Kill();
  if (process_.hProcess) CloseHandle(process_.hProcess);
  if (process_.hThread) CloseHandle(process_.hThread);
}

int Celdra::WaitForExit(DWORD timeoutMs) {
  if (!process_.hProcess) return -1;
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<int>(code);
}

void Celdra::Kill() {
  if (process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
}

HWND Celdra::mdiClient() const { return FindWindowExA(frame_, nullptr, "MDICLIENT", nullptr); }

HWND Celdra::Document(int index) const {
  HWND child = nullptr;
  for (int i = 0; i <= index; ++i) {
    child = FindWindowExA(mdiClient(), child, "ChildClass", nullptr);
    if (!child) return nullptr;
  }
  return child;
}

HWND Celdra::GridOf(HWND document) const { return FindWindowExA(document, nullptr, LATTICOR_CLASS_NAME, nullptr); }
HWND Celdra::EditorOf(HWND grid) const { return FindWindowExA(grid, nullptr, "EDIT", nullptr); }

std::string Celdra::CellText(HWND grid, UINT col, UINT row) const {
  constexpr SIZE_T kSize = 64 * 1024;
  void* there = VirtualAllocEx(process(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE);
  if (!there) return "(no memory)";
  SendMessageA(grid, GM_GETCELLTEXT, GRID_CELL(col, row), reinterpret_cast<LPARAM>(there));
  std::vector<char> here(kSize + 1, '\0');
  SIZE_T read = 0;
  ReadProcessMemory(process(), there, here.data(), kSize, &read);
  VirtualFreeEx(process(), there, 0, MEM_RELEASE);
  return here.data();
}

void Celdra::SetCellText(HWND grid, UINT col, UINT row, const std::string& text) const {
  void* there = VirtualAllocEx(process(), nullptr, text.size() + 1, MEM_COMMIT, PAGE_READWRITE);
  if (!there) return;
  WriteProcessMemory(process(), there, text.c_str(), text.size() + 1, nullptr);
  SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(col, row), reinterpret_cast<LPARAM>(there));
  VirtualFreeEx(process(), there, 0, MEM_RELEASE);
}

RECT Celdra::CurrentCellRect(HWND grid) const {
  struct Answer {
    GridCell cell;
    RECT rect;
  };
  void* there = VirtualAllocEx(process(), nullptr, sizeof(Answer), MEM_COMMIT, PAGE_READWRITE);
  auto* remote = static_cast<Answer*>(there);
  SendMessageA(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(&remote->cell), reinterpret_cast<LPARAM>(&remote->rect));
  Answer here{};
  ReadProcessMemory(process(), there, &here, sizeof here, nullptr);
  VirtualFreeEx(process(), there, 0, MEM_RELEASE);
  return here.rect;
}

bool Celdra::Is64Bit() const {
  if (sizeof(void*) == 8) {
    BOOL emulated = FALSE;  // a 32-bit process on 64-bit Windows
    return IsWow64Process(process(), &emulated) && !emulated;
  }
  BOOL self = FALSE, target = FALSE;  // this one is 32-bit: 64-bit only if it is emulated and Celdra not
  return IsWow64Process(GetCurrentProcess(), &self) && self && IsWow64Process(process(), &target) && !target;
}

std::string Celdra::ReadText(ULONG64 address) const {
  std::string text;
  char chunk[256];
  for (SIZE_T read = 0;; address += read) {
    if (address > ~ULONG_PTR{0} || !ReadProcessMemory(process(), reinterpret_cast<const void*>(ULONG_PTR(address)),
                                                      chunk, sizeof chunk, &read) || read == 0) {
      return text;
    }
    const size_t n = strnlen(chunk, read);
    text.append(chunk, n);
    if (n < read) return text;
  }
}

std::string Celdra::CurrentCellText(HWND grid) const {
  // GridCell: font handle, colour, format, text address; the handle and the
  // address are 8 bytes each on 64-bit, so the record is 24 bytes there.
  constexpr SIZE_T kRecord = 24, kRect = sizeof(RECT);
  char* there = static_cast<char*>(VirtualAllocEx(process(), nullptr, kRecord + kRect, MEM_COMMIT, PAGE_READWRITE));
  if (!there) return "(no memory)";
  SendMessageA(grid, GM_GETCURCELL, reinterpret_cast<WPARAM>(there), reinterpret_cast<LPARAM>(there + kRecord));
  unsigned char record[kRecord] = {};
  ReadProcessMemory(process(), there, record, sizeof record, nullptr);
  VirtualFreeEx(process(), there, 0, MEM_RELEASE);
  ULONG64 text = 0;
  if (Is64Bit()) {
    std::memcpy(&text, record + 16, 8);
  } else {
    UINT32 text32;
    std::memcpy(&text32, record + 12, 4);
    text = text32;
  }
  return ReadText(text);
}

std::string Celdra::WindowText(HWND hwnd) const {
  char text[4096] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));  // marshalled for us
  return text;
}

RECT Celdra::AskRect(HWND hwnd, UINT msg, WPARAM wParam) const {
  void* there = VirtualAllocEx(process(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  SendMessageA(hwnd, msg, wParam, reinterpret_cast<LPARAM>(there));
  RECT here{};
  ReadProcessMemory(process(), there, &here, sizeof here, nullptr);
  VirtualFreeEx(process(), there, 0, MEM_RELEASE);
  return here;
}

GUITHREADINFO Celdra::ThreadInfo() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(process_.dwThreadId, &info);
  return info;
}

HWND Celdra::Focus() const { return ThreadInfo().hwndFocus; }
HWND Celdra::Capture() const { return ThreadInfo().hwndCapture; }
bool Celdra::InMenu() const { return (ThreadInfo().flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0; }

HWND Celdra::WaitForDialog(const char* caption, DWORD timeoutMs) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindWindowA("#32770", caption);
        DWORD pid = 0;
        if (found) GetWindowThreadProcessId(found, &pid);
        return found && pid == process_.dwProcessId && IsWindowVisible(found);
      },
      timeoutMs);
  return found;
}

std::string Celdra::StaticTexts(HWND dialog) {
  std::string texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[32] = {}, text[1024] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) continue;
    SendMessageA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (text[0]) texts += std::string(texts.empty() ? "" : "\n") + text;
  }
  return texts;
}

RECT ScreenRectOf(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

RECT ClientScreenRectOf(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace remote

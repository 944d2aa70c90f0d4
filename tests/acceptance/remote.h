// Celdra seen from outside: started as its own process, driven with real
// input, and read back the way another program would — its windows, the
// grid's answers to messages, texts copied out of its memory, and pixels.
#pragma once

#include <windows.h>

#include <string>

#include "capture.h"
#include "latticor.h"
#include "real_input.h"

namespace remote {

// The Celdra.exe to drive: $LATTICOR_CELDRA (another build's, of either
// bitness), else the one beside this program.
std::string CeldraPath();

class Celdra {
 public:
  // Starts `exe` (CeldraPath() when null) and waits for its frame. In the
  // high-address mode it then moves Celdra's later allocations above 4 GiB.
  bool Start(const char* exe = nullptr, DWORD timeoutMs = 20000);
  // The same for another program of the grid's, given its arguments and
  // its frame's class.
  bool StartProgram(const char* exe, const char* arguments, const char* frameClass, const char* caption,
                    DWORD timeoutMs = 20000);
  ~Celdra();
  // Waits for the process to end; its exit code, or -1 on timeout.
  int WaitForExit(DWORD timeoutMs);
  void Kill();

  HWND frame() const { return frame_; }
  HWND mdiClient() const;
  HANDLE process() const { return process_.hProcess; }
  // The documents, newest first, and their grids.
  HWND Document(int index) const;
  HWND GridOf(HWND document) const;
  HWND EditorOf(HWND grid) const;

  // A cell's text, copied out of Celdra's memory.
  std::string CellText(HWND grid, UINT col, UINT row) const;
  // Sets a cell's text as a program would, from memory of Celdra's.
  void SetCellText(HWND grid, UINT col, UINT row, const std::string& text) const;
  // The grid's current cell rectangle, in grid client pixels.
  RECT CurrentCellRect(HWND grid) const;
  // The current cell's text, read through the address in its GM_GETCURCELL
  // record, which is laid out for Celdra's bitness, not this program's.
  std::string CurrentCellText(HWND grid) const;
  std::string WindowText(HWND hwnd) const;
  // A rectangle that a message writes into memory of Celdra's (for
  // example TB_GETITEMRECT); the message's answer is dropped.
  RECT AskRect(HWND hwnd, UINT msg, WPARAM wParam) const;
  // Celdra's window that has the keyboard focus; the one that holds the
  // mouse capture (none while no button is down and no menu is open).
  HWND Focus() const;
  HWND Capture() const;
  // Whether Celdra is in a menu's loop (a menu bar item or a popup open).
  bool InMenu() const;
  // Celdra's message box or dialog with this caption, when it shows.
  HWND WaitForDialog(const char* caption, DWORD timeoutMs = 5000) const;
  // The texts of a dialog's static controls, joined by newlines.
  static std::string StaticTexts(HWND dialog);

 private:
  bool Is64Bit() const;
  GUITHREADINFO ThreadInfo() const;
  std::string ReadText(ULONG64 address) const;
  PROCESS_INFORMATION process_{};
  HWND frame_ = nullptr;
};

// Waits until a top-level window of this class (and caption, if given)
// shows, in any process.
HWND WaitForWindow(const char* cls, const char* caption, DWORD timeoutMs);
// Waits until `done` holds, pumping this thread meanwhile.
using real_input::WaitUntil;

// Rectangles in screen coordinates, as screen::Capture reads them.
RECT ScreenRectOf(HWND hwnd);        // the whole window
RECT ClientScreenRectOf(HWND hwnd);  // its client area

}  // namespace remote

// The pixels of a window's client area or of part of the screen, read back
// through GDI: for tests to measure, and saved as BMP files for people to
// look at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace screen {

class Capture {
 public:
  // A window's client area, once it has painted what it owes.
  explicit Capture(HWND hwnd);
  // The part of `screenArea` (screen coordinates) that lies on the screen:
  // a maximised window's edges stand off it.
  explicit Capture(const RECT& screenArea);

  int width() const { return width_; }
  int height() const { return height_; }
  // Relative to the captured area's top-left; CLR_INVALID outside it.
  COLORREF At(int x, int y) const;
  // Pixels of the rectangle for which `pred` holds.
  int Count(const RECT& r, bool (*pred)(COLORREF)) const;
  // Pixels that differ from `other`'s (of an area the same size).
  int Differences(const Capture& other) const;
  // Writes a 24-bit BMP.
  bool SaveBmp(const std::string& path) const;

 private:
  // Copies `width_` x `height_` pixels at (x, y) of `source`.
  void Read(HDC source, int x, int y);
  int width_ = 0, height_ = 0;
  std::vector<unsigned> pixels_;  // top-down, 0x00RRGGBB
};

// Where the tests leave pictures and other files for people:
// $LATTICOR_SHOTS, or the current folder.
std::string ShotPath(const std::string& name);

}  // namespace screen

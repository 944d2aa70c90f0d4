#include "capture.h"

#include <cstdio>

namespace screen {

Capture::Capture(HWND hwnd) {
  UpdateWindow(hwnd);
  GdiFlush();
  RECT client;
  GetClientRect(hwnd, &client);
  width_ = client.right;
  height_ = client.bottom;
  HDC dc = GetDC(hwnd);
  Read(dc, 0, 0);
  ReleaseDC(hwnd, dc);
}

Capture::Capture(const RECT& screenArea) {
  const RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT area;
  if (!IntersectRect(&area, &screenArea, &screenRect)) return;
  width_ = area.right - area.left;
  height_ = area.bottom - area.top;
  HDC dc = GetDC(nullptr);
  Read(dc, area.left, area.top);
  ReleaseDC(nullptr, dc);
}

void Capture::Read(HDC source, int x, int y) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width_;
  bi.bmiHeader.biHeight = -height_;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP dib = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    width_ = height_ = 0;
    DeleteDC(memory);
    return;
  }
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, width_, height_, source, x, y, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const unsigned*>(bits);
  pixels_.assign(p, p + size_t(width_) * height_);
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
}

COLORREF Capture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const unsigned p = pixels_[size_t(y) * width_ + x];
  return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
}

int Capture::Count(const RECT& r, bool (*pred)(COLORREF)) const {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) n += pred(At(x, y)) ? 1 : 0;
  }
  return n;
}

int Capture::Differences(const Capture& other) const {
  if (width_ != other.width_ || height_ != other.height_) return width_ * height_;
  int n = 0;
  for (size_t i = 0; i < pixels_.size(); ++i) n += pixels_[i] != other.pixels_[i];
  return n;
}

bool Capture::SaveBmp(const std::string& path) const {
  const int rowBytes = (width_ * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width_;
  info.biHeight = height_;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = rowBytes * height_;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&info, sizeof info, 1, f);
  std::vector<unsigned char> row(rowBytes, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    for (int x = 0; x < width_; ++x) {
      const COLORREF c = At(x, y);
      row[x * 3] = GetBValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetRValue(c);
    }
    std::fwrite(row.data(), 1, rowBytes, f);
  }
  std::fclose(f);
  return true;
}

std::string ShotPath(const std::string& name) {
  char dir[MAX_PATH] = ".";
  GetEnvironmentVariableA("LATTICOR_SHOTS", dir, MAX_PATH);
  return std::string(dir) + "\\" + name;
}

}  // namespace screen

#include "dpi.h"

#include "celdra.h"
// After windows.h, which it needs.
#include <commctrl.h>

namespace celdra {

UINT DpiOf(HWND hwnd) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (const UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0) return dpi;
  HDC dc = GetDC(hwnd);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(hwnd, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

HFONT CreateDocumentFont(UINT dpi) {
  return CreateFontA(AtDpi(14, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, FF_SCRIPT,
                     "MS Sans Serif");
}

HBITMAP ToolbarPictures(UINT dpi) {
  if (dpi == 96) return nullptr;
  constexpr int kPicture = 16, kPictures = 16;
  const int side = AtDpi(kPicture, dpi);
  const int factor = side / kPicture > 1 ? side / kPicture : 1;
  const int inset = (side - kPicture * factor) / 2;
  // The resource with the system's button colours, as the toolbar maps it.
  HBITMAP pictures = CreateMappedBitmap(host.instance, kToolbarBitmap, 0, nullptr, 0);
  HDC screen = GetDC(nullptr);
  HBITMAP scaled = pictures ? CreateCompatibleBitmap(screen, side * kPictures, side) : nullptr;
  if (scaled) {
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, pictures), oldTo = SelectObject(to, scaled);
    // Around each picture, its own corner's colour: the button's face.
    const RECT all{0, 0, side * kPictures, side};
    HBRUSH face = CreateSolidBrush(GetPixel(from, 0, 0));
    FillRect(to, &all, face);
    DeleteObject(face);
    SetStretchBltMode(to, COLORONCOLOR);
    for (int i = 0; i < kPictures; ++i) {
      StretchBlt(to, i * side + inset, inset, kPicture * factor, kPicture * factor, from, i * kPicture, 0, kPicture,
                 kPicture, SRCCOPY);
    }
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
  }
  ReleaseDC(nullptr, screen);
  if (pictures) DeleteObject(pictures);
  return scaled;
}

namespace {

BOOL CALLBACK RefontDocument(HWND child, LPARAM dpi) {
  char cls[32] = {};
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpA(cls, kChildClass) != 0) return TRUE;
  auto* data = reinterpret_cast<ChildData*>(GetWindowLongPtrA(child, 0));
  HFONT font = data ? CreateDocumentFont(static_cast<UINT>(dpi)) : nullptr;
  if (!font) return TRUE;  // the document keeps the font it has
  SendMessageA(data->grid, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageA(data->editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  DeleteObject(data->font);
  data->font = font;
  return TRUE;
}

}  // namespace

LRESULT OnDpiChanged(HWND frame, WPARAM wParam, LPARAM lParam) {
  // The new DPI comes from wParam: the window may still answer the old one.
  const UINT dpi = HIWORD(wParam);
  RebuildToolbar(frame, dpi);
  EnumChildWindows(host.mdiClient, RefontDocument, static_cast<LPARAM>(dpi));
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(frame, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return 0;
}

}  // namespace celdra

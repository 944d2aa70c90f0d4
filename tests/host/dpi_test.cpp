// Celdra at the screen's DPI (the test command runs these at 96, 144 and
// 192 DPI): its font, toolbar and dialogs, and a move to a monitor of
// another DPI, sent as Windows sends it.
#include "dpi.h"
#include "host_fixture.h"

namespace {

struct DpiTest : hosttest::HostTest {
  const UINT dpi = celdra::DpiOf(GetDesktopWindow());
  static LONG FontHeight(HFONT font) {
    LOGFONTA f{};
    GetObjectA(font, sizeof f, &f);
    return f.lfHeight;
  }
  static int PictureSide() {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(celdra::host.toolbar, TB_GETIMAGELIST, 0, 0)),
                          &cx, &cy);
    return cx == cy ? cx : -1;
  }
  // The document's font and the toolbar, as drawn for `at`.
  void ExpectDrawnFor(HWND document, UINT at) {
    const celdra::ChildData& data = Data(document);
    EXPECT_EQ(FontHeight(data.font), celdra::AtDpi(14, at)) << at;
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(data.grid, WM_GETFONT, 0, 0)), data.font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(data.editor, WM_GETFONT, 0, 0)), data.font);
    EXPECT_EQ(PictureSide(), celdra::AtDpi(16, at)) << at;
    const auto size = static_cast<DWORD>(SendMessageA(celdra::host.toolbar, TB_GETBUTTONSIZE, 0, 0));
    EXPECT_EQ(LOWORD(size), celdra::AtDpi(23, at)) << at;
    EXPECT_EQ(HIWORD(size), celdra::AtDpi(22, at)) << at;
  }
};

TEST_F(DpiTest, TheDocumentFontAndTheToolbarAreDrawnForTheDpi) {
  std::printf("at %u DPI\n", dpi);
  ExpectDrawnFor(NewDocument(), dpi);
}

// Every control lies inside its dialog, and every text inside its control.
TEST_F(DpiTest, TheDialogsShowWhole) {
  NewDocument();  // the format dialogs show the active grid's figures
  const struct {
    const char* name;
    DLGPROC proc;
  } dialogs[] = {{"FormColsDlg", celdra::FormColsProc}, {"FormRowsDlg", celdra::FormRowsProc},
                 {"AboutDlg", celdra::AboutProc}};
  for (const auto& d : dialogs) {
    HWND dialog = CreateDialogParamA(celdra::host.instance, d.name, frame, d.proc, 0);
    ASSERT_NE(dialog, nullptr) << d.name;
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(c, &r);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << d.name << " control " << GetDlgCtrlID(c);
      char text[256] = {};
      GetWindowTextA(c, text, sizeof text);
      char cls[16] = {};
      GetClassNameA(c, cls, sizeof cls);
      if (!text[0] || lstrcmpiA(cls, "Edit") == 0) continue;
      HDC dc = GetDC(c);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0)));
      RECT need{0, 0, r.right - r.left, 0};
      DrawTextA(dc, text, -1, &need, DT_CALCRECT | DT_WORDBREAK);
      SelectObject(dc, old);
      ReleaseDC(c, dc);
      EXPECT_LE(need.bottom, r.bottom - r.top) << d.name << ": \"" << text << "\" is cut off";
    }
    DestroyWindow(dialog);
  }
}

TEST_F(DpiTest, OnDpiChangedTheFrameMovesAndItsDocumentsAndToolbarFollow) {
  HWND document = NewDocument();
  const UINT next = dpi == 192 ? 144 : 192;
  RECT suggested{10, 20, 910, 620};
  SendMessageA(frame, WM_DPICHANGED, MAKEWPARAM(next, next), reinterpret_cast<LPARAM>(&suggested));
  harness::Pump();
  RECT now;
  GetWindowRect(frame, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  ExpectDrawnFor(document, next);
  EXPECT_TRUE(ButtonEnabled(celdra::kCmdBold)) << "the document buttons as before";
}

}  // namespace

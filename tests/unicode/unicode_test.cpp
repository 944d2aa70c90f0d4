// A program whose code page is UTF-8 (this one carries Celdra's manifest)
// hands the grid UTF-8: the grid draws, prints and, through the host's
// clipboard sequences, exchanges the characters those bytes stand for.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "clipboard.h"
#include "grid_fixture.h"

namespace {

using harness::Ask;

// A font that has all of these scripts (Debian's fonts-wqy-microhei).
constexpr char kFontFace[] = "WenQuanYi Micro Hei";

// Texts as the program hands them to the grid, and their characters.
struct Sample {
  const char* utf8;
  const wchar_t* chars;
};
const Sample kSamples[] = {
    {u8"Grüße", L"Grüße"},
    {u8"Ελληνικά", L"Ελληνικά"},
    {u8"Кириллица", L"Кириллица"},
    {u8"日本語の文字", L"日本語の文字"},
    {u8"e\u0301 a\u0308 n\u0303 o\u0328", L"e\u0301 a\u0308 n\u0303 o\u0328"},  // combining marks
};
constexpr UINT kRows = sizeof kSamples / sizeof kSamples[0];

// Each sample in column 1 in the grid's default format and in column 2
// centred, in blue; row r holds sample r - 1.
struct Utf8Grid : harness::GridFixture {
  HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, kFontFace);
  std::vector<POINT> cells;

  void SetUp() override {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest makes UTF-8 the process's code page";
    ASSERT_EQ(FaceOf(font), kFontFace) << "scripts/setup installs it";
    MakeGrid(harness::GridSetup().Size(400, 200).ExactClient().Unpainted().KeepNotes());
    Ask(grid, WM_SETFONT, reinterpret_cast<WPARAM>(font));
    Ask(grid, GM_ENABLESELECT, 0);
    Ask(grid, GM_SETROWCOUNT, kRows + 1);
    for (UINT c = 1; c <= 2; ++c) {
      Ask(grid, GM_SETCOLWIDTH, c, 140);
      for (UINT r = 1; r <= kRows; ++r) {
        harness::SetCellText(grid, c, r, kSamples[r - 1].utf8);
        cells.push_back(POINT{static_cast<LONG>(c), static_cast<LONG>(r)});
      }
    }
    for (UINT r = 1; r <= kRows; ++r) {
      Ask(grid, GM_SETCELLFORMAT, GRID_CELL(2, r), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      Ask(grid, GM_SETCELLCOLOR, GRID_CELL(2, r), RGB(0, 0, 200));
    }
  }
  void TearDown() override {
    harness::GridFixture::TearDown();
    DeleteObject(font);
  }
  static std::string FaceOf(HFONT f) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof face, face);
    SelectObject(dc, old);
    DeleteDC(dc);
    return face;
  }
};

TEST_F(Utf8Grid, TextsInEveryScriptArePaintedAsDrawTextWDrawsTheirCharacters) {
  const harness::Comparison wide =
      harness::CompareWithRedrawn(grid, font, cells, [](HDC dc, UINT, UINT r, RECT* rect, UINT format) {
        DrawTextW(dc, kSamples[r - 1].chars, -1, rect, format);
      });
  EXPECT_EQ(wide.differing, 0);
  EXPECT_GT(wide.inked, 10 * 40);
  // The reason for it all: the A call reads the same bytes as other
  // characters (the font's character set's).
  const harness::Comparison bytes =
      harness::CompareWithRedrawn(grid, font, cells, [](HDC dc, UINT, UINT r, RECT* rect, UINT format) {
        DrawTextA(dc, kSamples[r - 1].utf8, -1, rect, format);
      });
  EXPECT_GT(bytes.differing, 0);
}

// A buffer the grid fills with a size ends on a whole character.
TEST_F(Utf8Grid, ABoundedCopyEndsBetweenCharacters) {
  struct Case {
    UINT row, size;
    const char* copied;
  };
  const Case cases[] = {
      {1, 4, "Gr"},                      // "ü" takes bytes 2 and 3: no room for its second
      {1, 5, u8"Grü"},
      {4, 6, u8"日"},                    // three bytes a character
      {4, 7, u8"日本"},
      {5, 3, "e"},                       // the combining mark is a character of its own
  };
  for (const Case& c : cases) {
    char buffer[16];
    GridTextBuffer request{buffer, c.size};
    EXPECT_EQ(Ask(grid, GM_GETCELLTEXTN, GRID_CELL(1, c.row), reinterpret_cast<LPARAM>(&request)),
              static_cast<LRESULT>(std::strlen(c.copied)))
        << c.row << " " << c.size;
    EXPECT_STREQ(buffer, c.copied);
  }
}

TEST_F(Utf8Grid, TheyArePrintedAsDrawTextWDrawsThem) {
  UpdateWindow(grid);  // printing uses the positions of the last paint
  harness::Page printed, expected;
  GridPrintRange range{1, 2, 1, kRows, 100};
  Ask(grid, GM_PRINT, reinterpret_cast<WPARAM>(printed.dc()), reinterpret_cast<LPARAM>(&range));
  // The same characters, drawn as the printout draws them: one logical
  // unit a screen pixel, each text in its frame shrunk by one.
  HDC dc = expected.dc();
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), nullptr);
  SetViewportExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), nullptr);
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  int differing = 0, marked = 0;
  for (const POINT& cell : cells) {
    const UINT c = static_cast<UINT>(cell.x), r = static_cast<UINT>(cell.y);
    const RECT paint = harness::CellTextRect(grid, c, r);
    RECT text{paint.left + 1, paint.top + 1, paint.right, paint.bottom};
    SetTextColor(dc, static_cast<COLORREF>(Ask(grid, GM_GETCELLCOLOR, GRID_CELL(c, r))));
    DrawTextW(dc, kSamples[r - 1].chars, -1, &text, static_cast<UINT>(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(c, r))));
    for (int y = text.top; y < text.bottom; ++y) {
      for (int x = text.left; x < text.right; ++x) differing += printed.At(x, y) != expected.At(x, y);
    }
    marked += printed.Marked(text.left, text.top, text.right, text.bottom);
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(marked, 10 * 40);
}

// Runs the clipboard peer (clipboard_peer.cpp), a Unicode program without
// the manifest; its exit code.
DWORD RunPeerCommand(std::string command) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 99;
  DWORD code = 98;
  if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}
DWORD RunPeer(const char* verb, const std::wstring& text) {
  std::string command = std::string("clipboard_peer.exe ") + verb + " ";
  for (wchar_t unit : text) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(unit));
    command += hex;
  }
  return RunPeerCommand(command);
}

TEST_F(Utf8Grid, CopiedTextsReachUnicodeProgramsAndTheirsArePastedBack) {
  Ask(grid, GM_SETCURROW, 2);  // Ελληνικά in both columns
  Ask(grid, GM_SETSELENDCOL, 2);
  Ask(grid, GM_SETSELENDROW, 4);  // to 日本語の文字
  ASSERT_TRUE(celdra::CopyGridSelection(parent.hwnd(), grid));
  std::wstring copied;
  for (UINT r = 2; r <= 4; ++r) copied += std::wstring(kSamples[r - 1].chars) + L"\t" + kSamples[r - 1].chars + L"\r\n";
  EXPECT_EQ(RunPeer("expect", copied), 0u) << "the other program reads the characters";

  ASSERT_EQ(RunPeer("put", std::wstring(kSamples[3].chars) + L"\t" + kSamples[2].chars + L"\r\n"), 0u);
  Ask(grid, GM_SETCURROW, 1);
  Ask(grid, GM_SETSELENDCOL, 1);
  Ask(grid, GM_SETSELENDROW, 1);
  ASSERT_TRUE(celdra::PasteIntoGrid(parent.hwnd(), grid));
  EXPECT_EQ(harness::CellText(grid, 1, 1), kSamples[3].utf8);
  EXPECT_EQ(harness::CellText(grid, 2, 1), kSamples[2].utf8);
}

// The clipboard keys speak to a Unicode program as the host's sequences do,
// and a paste by keys is undone.
TEST_F(Utf8Grid, TheClipboardKeysReachUnicodeProgramsAndTakeTheirTexts) {
  Ask(grid, GM_SETEXSTYLE, 0, GS_EX_SHEETKEYS);
  SetFocus(grid);
  Ask(grid, GM_SETCURROW, 2);
  Ask(grid, GM_SETSELENDCOL, 2);
  Ask(grid, GM_SETSELENDROW, 4);
  harness::input::Chord({VK_CONTROL}, 'C');
  std::wstring copied;
  for (UINT r = 2; r <= 4; ++r) copied += std::wstring(kSamples[r - 1].chars) + L"\t" + kSamples[r - 1].chars + L"\r\n";
  EXPECT_EQ(RunPeer("expect", copied), 0u);

  ASSERT_EQ(RunPeer("put", std::wstring(kSamples[3].chars) + L"\t\xD83D\xDE00\r\n"), 0u);
  Ask(grid, GM_SETCURROW, 1);
  harness::input::Chord({VK_CONTROL}, 'V');
  EXPECT_EQ(harness::CellText(grid, 1, 1), kSamples[3].utf8);
  EXPECT_EQ(harness::CellText(grid, 2, 1), u8"\U0001F600");
  harness::input::Chord({VK_CONTROL}, 'Z');
  EXPECT_EQ(harness::CellText(grid, 1, 1), kSamples[0].utf8);
  EXPECT_EQ(harness::CellText(grid, 2, 1), kSamples[0].utf8);
}

// Puts a block on the clipboard from the peer: SIZE bytes of FORMAT, the
// bytes of `hex` over and over; the peer's exit code.
DWORD PeerBlock(UINT format, SIZE_T size, const char* hex) {
  return RunPeerCommand("clipboard_peer.exe block " + std::to_string(format) + " " + std::to_string(size) + " " + hex);
}

// Another program may put anything on the clipboard: Ctrl+V reads only
// within the block, pastes what can be read (a text without a terminator
// ends with its block; a broken surrogate is U+FFFD) and refuses the rest
// quietly, with GS_NOREFUSALBOX.
TEST_F(Utf8Grid, HostileClipboardBlocksArePastedWithinTheirSizeOrRefused) {
  SetWindowLongPtrA(grid, GWL_STYLE, GetWindowLongPtrA(grid, GWL_STYLE) | GS_NOREFUSALBOX);
  Ask(grid, GM_SETEXSTYLE, 0, GS_EX_SHEETKEYS);
  Ask(grid, GM_SETCOLCOUNT, 4);
  SetFocus(grid);
  // Wine hands another program's text over with a terminator in place of
  // its last unit, where the block has none; Windows hands the block over.
  struct Case {
    const char* what;
    UINT format;
    SIZE_T size;
    const char* bytes;
    const char* pasted;  // cell (1, 1) after the paste; null: refused, or whole
    const char* asWineHandsItOver;
  };
  const Case cases[] = {
      {"CF_TEXT without a terminator", CF_TEXT, 5, "6E6F2D656E", "no-en", "no-e"},
      {"CF_UNICODETEXT without a terminator", CF_UNICODETEXT, 6, "7700E900FC00", u8"w\u00e9\u00fc", u8"w\u00e9"},
      {"an odd size", CF_UNICODETEXT, 7, "6F006B002100", "ok!", "ok"},
      {"lone and reversed surrogates", CF_UNICODETEXT, 14, "610000D8620000DE3DD863000000",
       u8"a\uFFFDb\uFFFD\uFFFDc", u8"a\uFFFDb\uFFFD\uFFFDc"},
      {"a block of size 0", CF_UNICODETEXT, 0, "", nullptr, nullptr},
      {"50 MB in one field", CF_UNICODETEXT, 50u << 20, "7800", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    harness::SetCellText(grid, 1, 1, "before");
    Ask(grid, GM_SETCURCOL, 1);
    Ask(grid, GM_SETCURROW, 1);
    if (PeerBlock(c.format, c.size, c.bytes) != 0) {
      // The system may refuse such a block itself: nothing reaches the grid.
      std::printf("  (%s: the system would not take it)\n", c.what);
      continue;
    }
    parent.Clear();
    harness::input::Chord({VK_CONTROL}, 'V');
    const auto length = static_cast<size_t>(Ask(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(1, 1)));
    const std::string cell = length < 1000 ? harness::CellText(grid, 1, 1) : "";
    if (c.pasted) {
      EXPECT_TRUE(cell == c.pasted || cell == c.asWineHandsItOver) << c.what << ": " << cell;
    } else {
      const size_t whole = c.size / sizeof(wchar_t);
      EXPECT_TRUE(cell == "before" || length == whole || length == whole - 1) << c.what << ": " << length << " bytes";
    }
    EXPECT_EQ(parent.Only(GN_REFUSED).size(), cell == "before" ? 1u : 0u) << c.what;
  }
}

// Through the in-place editor: a text opened and committed unchanged comes
// back byte for byte, malformed bytes too; characters typed in any script,
// the first one (which opens the editor) and one beyond the 16-bit plane
// included, are stored as their UTF-8.
TEST_F(Utf8Grid, TheEditorKeepsEveryByteAndTypesEveryScript) {
  Ask(grid, GM_SETEXSTYLE, 0, GS_EX_EDIT);
  ShowWindow(grid, SW_SHOW);
  SetFocus(grid);
  const char malformed[] = "ab\xC3(\xFF\xE2\x82";
  harness::SetCellText(grid, 1, 2, malformed);
  for (UINT r = 1; r <= 2; ++r) {
    const std::string before = harness::CellText(grid, 1, r);
    ASSERT_NE(Ask(grid, GM_EDITCELL, GRID_CELL(1, r)), 0);
    EXPECT_EQ(Ask(grid, GM_ENDEDIT, TRUE), TRUE);
    EXPECT_EQ(harness::CellText(grid, 1, r), before) << r;
  }
  Ask(grid, GM_SETCURROW, 3);
  harness::input::TypeUnicode(L"\x0436\x4E2D\xD83D\xDE00 \x03B1");
  harness::input::Tap(VK_RETURN);
  EXPECT_EQ(harness::CellText(grid, 1, 3), u8"\u0436\u4E2D\U0001F600 \u03B1");
}

}  // namespace

// Celdra used as a person would: its own process on the virtual display,
// driven only with real input, read back from outside — its windows, the
// grid's answers, texts out of its memory, and the screen's pixels.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <string>

#include "real_input.h"
#include "remote.h"

namespace {

namespace input = real_input;

// Where the pictures of a test's screen go.
std::string ShotPath(const std::string& name) { return screen::ShotPath(name + ".bmp"); }

// The centre of cell (col, row) of a grid not scrolled, with default sizes.
POINT Cell(int col, int row) { return POINT{50 * col + 25, 20 * row + 10}; }

LRESULT Ask(HWND grid, UINT msg, WPARAM w = 0) { return SendMessageA(grid, msg, w, 0); }

struct Acceptance : ::testing::Test {
  remote::Celdra celdra;
  HWND frame = nullptr;

  void SetUp() override {
    ASSERT_TRUE(celdra.Start()) << "Celdra.exe did not show its frame";
    frame = celdra.frame();
    input::Settle(300);
  }
  void TearDown() override {
    if (::testing::Test::HasFailure()) Shot("failed-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    celdra.Kill();
  }
  void Shot(const std::string& name) {
    input::Settle(100);
    screen::Capture(remote::ScreenRectOf(frame)).SaveBmp(ShotPath(name));
  }
  HWND Toolbar() const { return FindWindowExA(frame, nullptr, TOOLBARCLASSNAMEA, nullptr); }
  // Clicks a toolbar button as a person would.
  void ClickButton(int index) {
    const RECT r = celdra.AskRect(Toolbar(), TB_GETITEMRECT, index);
    input::Click(Toolbar(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  HWND OpenDocument() {
    const HWND before = celdra.Document(0);
    ClickButton(0);  // New; the wait below is for the document it opens
    HWND doc = nullptr;
    remote::WaitUntil([&] { return (doc = celdra.Document(0)) != nullptr && doc != before; }, 5000);
    input::Settle(200);
    return doc;
  }
  // Opens a document and maximises it inside the frame, so that its grid
  // shows many rows and columns.
  HWND OpenGrid() {
    HWND doc = OpenDocument();
    SendMessageA(celdra.mdiClient(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(doc), 0);
    input::Settle(300);
    return celdra.GridOf(doc);
  }
  std::string Selection(HWND grid) {
    return std::to_string(Ask(grid, GM_GETCURCOL)) + "," + std::to_string(Ask(grid, GM_GETCURROW)) + "-" +
           std::to_string(Ask(grid, GM_GETSELENDCOL)) + "," + std::to_string(Ask(grid, GM_GETSELENDROW));
  }
  // Waits, however long a loaded machine takes, for what the input before
  // leads to; the checks after it then say whether it came.
  static void Await(const std::function<bool()>& done) { remote::WaitUntil(done, 10000); }
  // Answers a message box of Celdra's by clicking its button.
  void Answer(HWND box, int button) {
    HWND control = GetDlgItem(box, button);
    RECT r;
    GetClientRect(control, &r);
    input::Click(control, r.right / 2, r.bottom / 2, 100);  // the callers wait for the box to go
  }
};

bool Dark(COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100; }

TEST_F(Acceptance, StartsMaximisedAndOpensNumberedDocuments) {
  EXPECT_TRUE(IsZoomed(frame));
  EXPECT_NE(GetMenu(frame), nullptr);
  for (UINT id : {201u, 202u, 235u}) EXPECT_TRUE(SendMessageA(Toolbar(), TB_ISBUTTONENABLED, id, 0)) << id;
  for (UINT id = 208; id <= 220; ++id) EXPECT_FALSE(SendMessageA(Toolbar(), TB_ISBUTTONENABLED, id, 0)) << id;

  HWND first = OpenDocument();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(celdra.WindowText(first), "Spreadsheet1");
  HWND grid = celdra.GridOf(first);
  const char* letters[] = {"", "A", "B", "C", "D"};
  for (UINT c = 1; c <= 4; ++c) EXPECT_EQ(celdra.CellText(grid, c, 0), letters[c]);
  for (UINT r = 1; r <= 3; ++r) EXPECT_EQ(celdra.CellText(grid, 0, r), std::to_string(r));
  EXPECT_TRUE(SendMessageA(Toolbar(), TB_ISBUTTONENABLED, 208, 0)) << "a document is active";

  // The second through the menu, with the keyboard: File, New.
  input::Key(VK_MENU, true);
  input::Tap('F', 100);
  input::Key(VK_MENU, false, 200);
  input::Tap('N', 400);
  Await([&] { return celdra.Document(0) != first; });
  HWND second = celdra.Document(0);
  ASSERT_NE(second, first);
  EXPECT_EQ(celdra.WindowText(second), "Spreadsheet2");
  Shot("acceptance-start");
}

TEST_F(Acceptance, TypingIntoACellAndMovingOnStoresTheText) {
  HWND grid = celdra.GridOf(OpenDocument());
  HWND editor = celdra.EditorOf(grid);
  input::Click(grid, Cell(3, 3).x, Cell(3, 3).y, 200);  // place the editor once
  input::DoubleClick(grid, Cell(2, 2).x, Cell(2, 2).y);
  Await([&] { return IsWindowVisible(editor) && celdra.Focus() == editor; });
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(celdra.Focus(), editor);
  input::Type("hello", 30);
  input::Click(grid, Cell(3, 3).x, Cell(3, 3).y, 400);
  Await([&] { return Selection(grid) == "3,3-3,3" && !IsWindowVisible(editor); });
  EXPECT_EQ(celdra.CellText(grid, 2, 2), "hello");
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(celdra.WindowText(editor), "") << "the editor holds C3's text, which is empty";
  EXPECT_EQ(Selection(grid), "3,3-3,3");
  // On screen: dark text pixels in B2.
  const RECT area = remote::ClientScreenRectOf(grid);
  screen::Capture shot(RECT{area.left + 100, area.top + 40, area.left + 149, area.top + 59});
  int dark = 0;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) dark += Dark(shot.At(x, y));
  }
  EXPECT_GT(dark, 20) << "hello is drawn in B2";
  Shot("acceptance-typing");
  input::Click(grid, Cell(2, 2).x, Cell(2, 2).y);
  Await([&] { return Selection(grid) == "2,2-2,2"; });
  EXPECT_EQ(celdra.CurrentCellText(grid), "hello");
}

// Celdra's manifest makes UTF-8 its code page: characters of any script
// typed into the editor reach the cell as UTF-8 and are drawn as
// themselves.
TEST_F(Acceptance, UnicodeTypedIntoACellIsStoredAsUtf8AndDrawnAsItsCharacters) {
  HWND grid = celdra.GridOf(OpenDocument());
  SendMessageA(grid, GM_SETCOLWIDTH, 2, 150);  // room for the whole text
  input::Click(grid, Cell(3, 3).x, Cell(3, 3).y, 200);  // place the editor once
  const POINT b2{100 + 75, 40 + 10};
  input::DoubleClick(grid, b2.x, b2.y);
  Await([&] { return celdra.Focus() == celdra.EditorOf(grid); });
  ASSERT_EQ(celdra.Focus(), celdra.EditorOf(grid));
  const wchar_t typed[] = L"Grüße αβγ жз";
  input::TypeUnicode(typed, 30);
  input::Click(grid, 325, 70, 400);  // D3, B being wider: its highlight stays off B2
  Await([&] { return Selection(grid) == "4,3-4,3"; });
  EXPECT_EQ(celdra.CellText(grid, 2, 2), u8"Grüße αβγ жз");

  // On screen, B2's text rectangle (100, 40, 249, 59) is exactly what
  // DrawTextW draws of those characters in the document's font and the
  // cell's format on the cell's white.
  const RECT client = remote::ClientScreenRectOf(grid);
  const int width = 149, height = 19;
  screen::Capture shot(RECT{client.left + 100, client.top + 40, client.left + 100 + width, client.top + 40 + height});
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, FF_SCRIPT,
                           "MS Sans Serif");
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT r{0, 0, width, height};
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, typed, -1, &r, GRID_FORMAT_DEFAULT);
  int differing = 0, inked = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      differing += shot.At(x, y) != GetPixel(dc, x, y);
      inked += shot.At(x, y) != GetSysColor(COLOR_WINDOW);
    }
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inked, 50);
  Shot("acceptance-unicode");
}

// A cell passed through gets back what the editor holds, cut to the
// editor's limit of 254 bytes: between two characters.
TEST_F(Acceptance, ALongTextPassingThroughTheEditorIsCutBetweenCharacters) {
  HWND grid = celdra.GridOf(OpenDocument());
  std::string text = "a", kept;
  for (int i = 0; i < 100; ++i) text += u8"\u65E5";  // 301 bytes: "a" and 100 characters of 3
  kept = text.substr(0, 1 + 84 * 3);                // the 85th would end at byte 256
  celdra.SetCellText(grid, 2, 2, text);  // as a program would
  input::Click(grid, Cell(2, 2).x, Cell(2, 2).y, 300);
  input::Click(grid, Cell(3, 3).x, Cell(3, 3).y, 300);
  Await([&] { return Selection(grid) == "3,3-3,3"; });
  EXPECT_EQ(celdra.CellText(grid, 2, 2), kept);
}

TEST_F(Acceptance, ArrowsAndShiftArrowsMoveAndExtendTheSelection) {
  HWND grid = OpenGrid();
  SendMessageA(grid, GM_SETCOLCOUNT, 10, 0);  // room to move: set up as a program would
  SendMessageA(grid, GM_SETROWCOUNT, 20, 0);
  input::Click(grid, Cell(2, 2).x, Cell(2, 2).y, 200);
  input::Tap(VK_RIGHT);
  input::Tap(VK_DOWN);
  Await([&] { return Selection(grid) == "3,3-3,3"; });
  EXPECT_EQ(Selection(grid), "3,3-3,3");
  input::Key(VK_SHIFT, true);
  input::Tap(VK_RIGHT);
  input::Tap(VK_RIGHT);
  input::Tap(VK_DOWN);
  input::Key(VK_SHIFT, false, 200);
  Await([&] { return Selection(grid) == "3,3-5,4"; });
  EXPECT_EQ(Selection(grid), "3,3-5,4");
  const RECT area = remote::ClientScreenRectOf(grid);
  screen::Capture shot(area);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(shot.At(Cell(5, 4).x, Cell(5, 4).y), window ^ 0xFFFFFF) << "E4 is highlighted";
  EXPECT_EQ(shot.At(Cell(4, 3).x, Cell(4, 3).y), window ^ 0xFFFFFF) << "D3 is highlighted";
  EXPECT_EQ(shot.At(Cell(3, 3).x, Cell(3, 3).y), window) << "the anchor's interior is not";
  EXPECT_EQ(shot.At(Cell(6, 4).x, Cell(6, 4).y), window) << "F4 is outside";
  Shot("acceptance-block-selection");
}

TEST_F(Acceptance, DraggingAColumnEdgeChangesItsWidthByTheDistance) {
  HWND grid = OpenGrid();
  input::Click(grid, Cell(1, 1).x, Cell(1, 1).y, 200);  // the grid takes the focus
  // The right edge of column B is the line at x = 149.
  input::MoveTo(grid, 148, 10);
  input::MoveTo(grid, 149, 10);
  input::ButtonDown(50);
  input::MoveTo(grid, 169, 10);
  input::MoveTo(grid, 189, 10, 100);
  input::ButtonUp(100);
  Await([&] { return Ask(grid, GM_GETCOLWIDTH, 2) != 50 && celdra.Capture() == nullptr; });
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 2), 90);
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 3), 50);
  Shot("acceptance-resize");
}

TEST_F(Acceptance, TheEditorLeavesWithItsCellOnScrollingAndComesBack) {
  HWND grid = OpenGrid();
  HWND editor = celdra.EditorOf(grid);
  SendMessageA(grid, GM_SETROWCOUNT, 100, 0);  // the Rows dialog has its own test
  input::Settle(200);
  input::Click(grid, Cell(1, 3).x, Cell(1, 3).y, 200);
  input::DoubleClick(grid, Cell(1, 2).x, Cell(1, 2).y);
  Await([&] { return IsWindowVisible(editor) && celdra.Focus() == editor; });
  ASSERT_TRUE(IsWindowVisible(editor));
  input::Type("draft", 30);
  // The wheel, towards the user: three rows a notch; row 2 leaves the view.
  input::MoveTo(grid, 300, 200);
  input::Wheel(-WHEEL_DELTA, 100);
  Await([&] { return Ask(grid, GM_GETFIRSTROW) != 1 && !IsWindowVisible(editor); });
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 4);
  EXPECT_FALSE(IsWindowVisible(editor));
  // The scroll bar's up arrow, twice: row 2 is the first row shown again.
  const RECT client = remote::ClientScreenRectOf(grid);
  RECT window = remote::ScreenRectOf(grid);
  const int arrowX = client.right + (window.right - client.right) / 2 - window.left;
  for (int i = 0; i < 2; ++i) {
    const LRESULT first = Ask(grid, GM_GETFIRSTROW);
    input::Click(grid, arrowX - (client.left - window.left), 5, 100);
    Await([&] { return Ask(grid, GM_GETFIRSTROW) != first; });
  }
  Await([&] { return IsWindowVisible(editor) && celdra.Focus() == editor; });
  EXPECT_EQ(Ask(grid, GM_GETFIRSTROW), 2);
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(celdra.Focus(), editor);
  EXPECT_EQ(celdra.WindowText(editor), "draft") << "what was typed is still there";
  Shot("acceptance-editor-open");
}

TEST_F(Acceptance, FormatColumnsByKeyboardSetsCountTitlesAndWidth) {
  HWND grid = celdra.GridOf(OpenDocument());  // not maximised: no system menu in the bar
  input::Click(grid, Cell(1, 1).x, Cell(1, 1).y, 200);
  // F10 to the menu bar, right to Format, open it, down to Columns.
  input::Tap(VK_F10, 100);
  for (int i = 0; i < 3; ++i) input::Tap(VK_RIGHT, 60);
  input::Tap(VK_DOWN, 150);
  input::Tap(VK_DOWN, 100);
  input::Tap(VK_RETURN, 100);
  HWND dialog = celdra.WaitForDialog("Celdra");
  ASSERT_NE(dialog, nullptr) << "the Columns dialog";
  input::Type("30", 30);   // the count field has the focus, its text selected
  input::Tap(VK_TAB, 50);  // to the width field
  input::Type("80", 30);
  input::Tap(VK_TAB, 50);  // to OK
  input::Tap(VK_SPACE, 100);
  Await([&] { return !IsWindow(dialog); });
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 30);
  EXPECT_EQ(celdra.CellText(grid, 29, 0), "AC");
  EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, 1), 80);
  Shot("acceptance-columns");
}

TEST_F(Acceptance, ClosingADocumentAsksAndEachAnswerDoesItsPart) {
  HWND doc = OpenDocument();
  struct Round {
    int answer;
    bool staysOpen;
  };
  for (const Round round : {Round{IDYES, true}, Round{IDCANCEL, true}, Round{IDNO, false}}) {
    PostMessageA(doc, WM_CLOSE, 0, 0);
    HWND box = celdra.WaitForDialog("Celdra");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(remote::Celdra::StaticTexts(box), "Do you want to save the changes ?");
    Answer(box, round.answer);
    Await([&] { return !IsWindow(box); });  // the notice has the same caption
    if (round.answer == IDYES) {
      HWND notice = celdra.WaitForDialog("Celdra");
      ASSERT_NE(notice, nullptr);
      EXPECT_EQ(remote::Celdra::StaticTexts(notice), "This does not works for now");
      Answer(notice, IDOK);
      Await([&] { return !IsWindow(notice); });
    }
    Await([&] { return (IsWindow(doc) != FALSE) == round.staysOpen; });
    input::Settle(100);
    EXPECT_EQ(IsWindow(doc) != FALSE, round.staysOpen) << "answer " << round.answer;
  }
  Shot("acceptance-closed");
}

TEST_F(Acceptance, ExitEndsTheProcessWithCodeZero) {
  OpenDocument();
  input::Key(VK_MENU, true);
  input::Tap('F', 100);
  input::Key(VK_MENU, false, 200);
  input::Tap('X', 100);
  EXPECT_EQ(celdra.WaitForExit(5000), 0);
}

TEST(StartUp, WithoutTheControlLibraryCeldraSaysSoAndEndsWithZero) {
  // Celdra alone in a folder of its own.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "celdra-alone";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string exe = folder + "\\Celdra.exe";
  ASSERT_TRUE(CopyFileA(remote::CeldraPath().c_str(), exe.c_str(), FALSE));
  remote::Celdra celdra;
  EXPECT_FALSE(celdra.Start(exe.c_str(), 3000)) << "no frame without the library";
  HWND box = celdra.WaitForDialog("Celdra");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(remote::Celdra::StaticTexts(box), "Latticor.dll does not found !");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(celdra.WaitForExit(10000), 0);
  DeleteFileA(exe.c_str());
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

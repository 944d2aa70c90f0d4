// Documents: titles, activation, the save question, and the in-place editor
// kept in step with the grid's notifications.

#include "host_fixture.h"
#include "titles.h"

namespace {

using harness::Ask;
using harness::CellText;
using harness::MessageBoxCapture;
using hosttest::HostTest;

struct DocumentTest : HostTest {
  void SetUp() override {
    HostTest::SetUp();
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    grid = Data(doc).grid;
    editor = Data(doc).editor;
    SendMessageA(doc, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(doc), 0);
    UpdateWindow(grid);
    harness::Pump();
  }
  RECT EditorRect() {
    RECT r;
    GetWindowRect(editor, &r);
    MapWindowPoints(nullptr, grid, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  std::string EditorText() { return Title(editor); }
  // The second press of a double click, as the grid reports it.
  void DoubleClickCurrent() {
    const RECT r = EditorRect();
    Ask(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELONG(r.left + 60, r.top + 25));
    harness::Pump();
  }
  void MoveTo(UINT col, UINT row) {
    Ask(grid, GM_SETCURCOL, col);
    Ask(grid, GM_SETCURROW, row);
    UpdateWindow(grid);  // the paint announces the new cell
    harness::Pump();
  }
  HWND doc = nullptr, grid = nullptr, editor = nullptr;
};

TEST_F(HostTest, DocumentsAreNumberedByTheirWindowIdentifiers) {
  HWND first = NewDocument();
  HWND second = NewDocument();
  EXPECT_EQ(Title(first), "Spreadsheet1");
  EXPECT_EQ(Title(second), "Spreadsheet2");
  EXPECT_EQ(GetDlgCtrlID(first), 401);
  EXPECT_EQ(GetDlgCtrlID(Data(first).grid), 401) << "the grid carries its document's identifier";
  MessageBoxCapture boxes({IDNO});
  SendMessageA(first, WM_CLOSE, 0, 0);
  harness::Pump();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(Title(NewDocument()), "Spreadsheet2") << "the client hands identifiers out again";
}

TEST_F(DocumentTest, ANewDocumentShowsLettersAndNumbersCentred) {
  const char* letters[] = {"", "A", "B", "C", "D"};
  for (UINT c = 1; c <= 4; ++c) {
    EXPECT_EQ(CellText(grid, c, 0), letters[c]);
    EXPECT_EQ(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(c, 0)), GRID_FORMAT_TITLE);
  }
  for (UINT r = 1; r <= 3; ++r) {
    EXPECT_EQ(CellText(grid, 0, r), std::to_string(r));
    EXPECT_EQ(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(0, r)), GRID_FORMAT_TITLE);
  }
  EXPECT_EQ(CellText(grid, 0, 0), "");
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 5);
  EXPECT_EQ(GetParent(editor), grid);
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(editor, GWL_STYLE)) & 0x40000004u, 0x40000004u);
  EXPECT_EQ(GetWindowLongA(grid, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageA(editor, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
  EXPECT_EQ(lf.lfHeight, 14);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(lf.lfPitchAndFamily, FF_SCRIPT);
}

TEST_F(DocumentTest, ActivationSwitchesMenusAndButtons) {
  EXPECT_EQ(GetMenu(frame), celdra::host.childMenu);
  for (UINT id = 208; id <= 220; ++id) EXPECT_TRUE(ButtonEnabled(id)) << id;
  EXPECT_EQ(GetFocus(), grid) << "the active document's grid takes the focus";
  HWND second = NewDocument();
  EXPECT_EQ(GetMenu(frame), celdra::host.childMenu) << "switching documents keeps menu 102";
  EXPECT_TRUE(ButtonEnabled(208));
  MessageBoxCapture boxes({IDNO});
  SendMessageA(second, WM_CLOSE, 0, 0);
  SendMessageA(doc, WM_CLOSE, 0, 0);
  harness::Pump();
  EXPECT_EQ(GetMenu(frame), celdra::host.frameMenu) << "the last one gone, menu 101 is back";
  for (UINT id = 208; id <= 220; ++id) EXPECT_FALSE(ButtonEnabled(id)) << id;
}

TEST_F(DocumentTest, TheSaveQuestionsThreeAnswers) {
  {
    MessageBoxCapture boxes({IDCANCEL});
    SendMessageA(doc, WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you want to save the changes ?");
    EXPECT_EQ(boxes.boxes[0].caption, "Celdra");
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(boxes.boxes[0].owner, nullptr);
    EXPECT_TRUE(IsWindow(doc));
  }
  {
    // Nothing can be saved: Yes says so and keeps the document and its cells.
    MessageBoxCapture boxes({IDYES, IDOK});
    SendMessageA(doc, WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "This does not works for now");
    EXPECT_EQ(boxes.boxes[1].style, static_cast<UINT>(MB_OK));
    EXPECT_TRUE(IsWindow(doc));
  }
  {
    MessageBoxCapture boxes({IDNO});
    Command(celdra::kCmdClose);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_FALSE(IsWindow(doc));
    EXPECT_FALSE(IsWindow(grid));
  }
}

TEST_F(DocumentTest, AnEditorNeverPlacedOpensInTheCornerAndStoresIntoTheFirstCell) {
  DoubleClickCurrent();
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(GetFocus(), editor);
  RECT r = EditorRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, 24);
  EXPECT_EQ(r.bottom - r.top, 19);
  EXPECT_EQ(EditorText(), "");
  SetWindowTextA(editor, "typed");
  MoveTo(2, 1);
  EXPECT_EQ(CellText(grid, 1, 1), "typed");
  EXPECT_FALSE(IsWindowVisible(editor));
}

TEST_F(DocumentTest, TheEditorFollowsTheCurrentCellAndStoresWhatWasTyped) {
  harness::SetCellText(grid, 3, 2, "before");
  MoveTo(2, 2);
  RECT r = EditorRect();
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right, 150);
  EXPECT_EQ(r.bottom, 60);
  DoubleClickCurrent();
  ASSERT_TRUE(IsWindowVisible(editor));
  SetWindowTextA(editor, "hello");
  MoveTo(3, 2);
  EXPECT_EQ(CellText(grid, 2, 2), "hello");
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(EditorText(), "before") << "the hidden editor holds the new cell's text";
  EXPECT_EQ(EditorRect().left, 150);
  // Passing through without a double click changes no cell's text.
  MoveTo(4, 2);
  MoveTo(4, 3);
  EXPECT_EQ(CellText(grid, 3, 2), "before");
  EXPECT_EQ(CellText(grid, 4, 2), "");
}

TEST_F(DocumentTest, WhatTheEditorStoresIsCutTo254Characters) {
  MoveTo(2, 1);
  DoubleClickCurrent();
  SetWindowTextA(editor, std::string(300, 'k').c_str());
  MoveTo(2, 2);
  EXPECT_EQ(CellText(grid, 2, 1), std::string(254, 'k'));
}

TEST_F(DocumentTest, AVeryLongCellTextReachesTheEditorCutButSafely) {
  harness::SetCellText(grid, 3, 3, std::string(50000, 'z').c_str());
  MoveTo(3, 3);
  // The host's buffer holds 1,023 of them; the editor keeps what it shows.
  const std::string shown = EditorText();
  EXPECT_FALSE(shown.empty());
  EXPECT_LE(shown.size(), 1023u);
  EXPECT_EQ(shown, std::string(shown.size(), 'z'));
  EXPECT_EQ(CellText(grid, 3, 3).size(), 50000u) << "the cell itself is untouched";
}

TEST_F(DocumentTest, WhileEditingAScrollHidesAndBringsBackTheEditor) {
  Ask(grid, GM_SETROWCOUNT, 100);
  MoveTo(1, 3);
  DoubleClickCurrent();
  ASSERT_TRUE(IsWindowVisible(editor));
  SetFocus(grid);
  Ask(grid, GM_SETFIRSTROW, 6);  // row 3 scrolled out above
  harness::Pump();
  EXPECT_FALSE(IsWindowVisible(editor));
  Ask(grid, GM_SETFIRSTROW, 2);  // row 3 is inside, not first or last: stays hidden
  harness::Pump();
  EXPECT_FALSE(IsWindowVisible(editor));
  Ask(grid, GM_SETFIRSTROW, 3);  // row 3 first again
  harness::Pump();
  EXPECT_TRUE(IsWindowVisible(editor));
  EXPECT_EQ(GetFocus(), editor);
  EXPECT_EQ(EditorRect().top, 20) << "moved onto the cell";
}

TEST_F(DocumentTest, TheContextMenuIsNotAvailable) {
  MessageBoxCapture boxes;
  Ask(grid, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(grid), MAKELONG(100, 100));
  harness::Pump();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "This does not works for now");
}

TEST_F(DocumentTest, ResizingTheDocumentTellsTheGrid) {
  SendMessageA(doc, WM_MDIRESTORE, reinterpret_cast<WPARAM>(doc), 0);
  RECT drag{0, 0, 300, 200};
  EXPECT_EQ(SendMessageA(doc, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&drag)), TRUE);
  SetWindowPos(doc, nullptr, 0, 0, 420, 330, SWP_NOZORDER | SWP_NOMOVE);
  harness::Pump();
  RECT client, gridRect;
  GetClientRect(doc, &client);
  GetWindowRect(grid, &gridRect);
  EXPECT_EQ(gridRect.right - gridRect.left, client.right) << "the grid fills the document";
  EXPECT_EQ(gridRect.bottom - gridRect.top, client.bottom);
}

TEST_F(HostTest, ColumnTitlesRunToIS) {
  HWND grid = Data(NewDocument()).grid;
  Ask(grid, GM_SETCOLCOUNT, 254);
  celdra::SetColumnTitles(grid, 254);
  EXPECT_EQ(CellText(grid, 27, 0), "AA");
  EXPECT_EQ(CellText(grid, 52, 0), "AZ");
  EXPECT_EQ(CellText(grid, 53, 0), "BA");
  EXPECT_EQ(CellText(grid, 253, 0), "IS");
  Ask(grid, GM_SETROWCOUNT, 16382);
  celdra::SetRowTitles(grid, 16382);
  EXPECT_EQ(CellText(grid, 0, 16381), "16381");
}

TEST_F(HostTest, TwoHundredDocumentsLeaveNothingBehind) {
  NewDocument();  // the first one settles the system's caches
  MessageBoxCapture boxes({IDNO});
  Command(celdra::kCmdClose);
  const int before = harness::FreeGdiSlots();
  const harness::HeapUse heap = harness::ProcessHeapUse();
  for (int i = 0; i < 200; ++i) {
    HWND doc = NewDocument();
    harness::SetCellText(Data(doc).grid, 2, 2, "some text");
    Command(celdra::kCmdClose);
  }
  EXPECT_EQ(harness::FreeGdiSlots(), before) << "each document gives its font back";
  const harness::HeapUse after = harness::ProcessHeapUse();
  EXPECT_LE(after.blocks, heap.blocks + 10);
  EXPECT_LE(after.bytes, heap.bytes + 4096);
  EXPECT_EQ(Active(), nullptr);
}

}  // namespace

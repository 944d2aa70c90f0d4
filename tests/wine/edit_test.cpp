// Editing in the grid, driven as a person drives it: the gestures that
// open, commit and cancel an edit, what ends an open edit first, the
// parent's vetoes, a long text, and GN_SELCHANGED.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "grid_fixture.h"

namespace {

using harness::Ask;
using harness::CellText;
using harness::Note;
namespace input = harness::input;

void Shifted(WORD vk) { input::Chord({VK_SHIFT}, vk); }

// 10 columns and 30 rows in 400 x 300, editable; (1, 1) holds "one".
struct EditTest : harness::GridFixture {
  void SetUp() override {
    MakeGrid(harness::GridSetup().ExactClient().Cells(10, 30).Focused());
    Ask(grid, GM_SETEXSTYLE, 0, GS_EX_EDIT);
    harness::SetCellText(grid, 1, 1, "one");
    UpdateWindow(grid);
    parent.Clear();
  }
  HWND Editor() const { return reinterpret_cast<HWND>(Ask(grid, GM_GETEDITWINDOW)); }
  // The notifications about edits, texts and the current cell, a word each.
  std::string Story(bool selectionOnly = false) const {
    std::string story;
    for (const Note& n : parent.notes) {
      if (selectionOnly && n.msg != GN_SELCHANGED) continue;
      const char* word = n.msg == GN_CELLLEAVING    ? "leave"
                         : n.msg == GN_CELLENTERED  ? "enter"
                         : n.msg == GN_BEGINEDIT    ? "begin"
                         : n.msg == GN_ENDEDIT      ? "end"
                         : n.msg == GN_CELLSCHANGED ? "changed"
                         : n.msg == GN_SELCHANGED   ? "sel"
                                                    : nullptr;
      if (!word) continue;
      if (!story.empty()) story += " ";
      story += word + (n.what.empty() ? "" : " " + n.what);
    }
    return story;
  }
  void MakeCurrent(UINT col, UINT row) {
    Ask(grid, GM_SETCURCOL, col);
    Ask(grid, GM_SETCURROW, row);
    UpdateWindow(grid);
    parent.Clear();
  }
};

POINT Middle(UINT col, UINT row) { return POINT{50 * LONG(col) + 25, 20 * LONG(row) + 10}; }

TEST_F(EditTest, GesturesOpenCommitAndCancelAnEditAndMoveOnAsTheySay) {
  struct Gesture {
    const char* what;
    UINT col, row;  // current at the start
    std::function<void(EditTest&)> act;
    UINT textCol, textRow;
    const char* text;
    const char* current;  // afterwards, "col,row-col,row"
    const char* story;
  } gestures[] = {
      {"F2, typing, Enter", 1, 1, [](EditTest&) { input::Tap(VK_F2), input::Type("x"), input::Tap(VK_RETURN); },
       1, 1, "onex", "1,2-1,2", "begin 1,1 'one' end 1,1 'onex' changed 1-1,1-1 leave enter"},
      {"typing replaces, Tab", 1, 1, [](EditTest&) { input::Type("ab"), input::Tap(VK_TAB); }, 1, 1, "ab",
       "2,1-2,1", "begin 1,1 'a' end 1,1 'ab' changed 1-1,1-1 leave enter"},
      {"typing, an arrow commits and moves", 1, 1, [](EditTest&) { input::Type("z"), input::Tap(VK_RIGHT); }, 1, 1,
       "z", "2,1-2,1", "begin 1,1 'z' end 1,1 'z' changed 1-1,1-1 leave enter"},
      {"F2, an arrow moves the caret", 1, 1,
       [](EditTest&) { input::Tap(VK_F2), input::Tap(VK_LEFT), input::Type("q"), input::Tap(VK_RETURN); }, 1, 1,
       "onqe", "1,2-1,2", "begin 1,1 'one' end 1,1 'onqe' changed 1-1,1-1 leave enter"},
      {"Escape cancels", 1, 1, [](EditTest&) { input::Type("z"), input::Tap(VK_ESCAPE); }, 1, 1, "one", "1,1-1,1",
       "begin 1,1 'z' end 1,1 null"},
      {"Backspace starts empty, Shift+Tab", 2, 2, [](EditTest&) { input::Tap(VK_BACK), input::Type("n"), Shifted(VK_TAB); },
       2, 2, "n", "1,2-1,2", "begin 2,2 '' end 2,2 'n' changed 2-2,2-2 leave enter"},
      {"Shift+Enter goes up", 2, 3, [](EditTest&) { input::Tap(VK_F2), Shifted(VK_RETURN); }, 2, 3, "", "2,2-2,2",
       "begin 2,3 '' end 2,3 ''"
       " leave enter"},
      {"a double click", 1, 1,
       [](EditTest& t) {
         const POINT p = Middle(3, 2);
         input::DoubleClick(t.grid, p.x, p.y), input::Type("w"), input::Tap(VK_RETURN);
       },
       3, 2, "w", "3,3-3,3", "leave enter begin 3,2 '' end 3,2 'w' changed 3-3,2-2 leave enter"},
      {"Enter on the last row stays", 1, 29, [](EditTest&) { input::Tap(VK_F2), input::Tap(VK_RETURN); }, 1, 29, "",
       "1,29-1,29", "begin 1,29 '' end 1,29 ''"},
  };
  for (const Gesture& g : gestures) {
    harness::SetCellText(grid, 1, 1, "one");
    MakeCurrent(g.col, g.row);
    g.act(*this);
    input::Settle(50);
    EXPECT_EQ(CellText(grid, g.textCol, g.textRow), g.text) << g.what;
    EXPECT_EQ(harness::SelectionOf(grid), g.current) << g.what;
    EXPECT_EQ(Story(), g.story) << g.what;
    EXPECT_EQ(Editor(), nullptr) << g.what << ": the editor has gone";
  }
}

TEST_F(EditTest, AnOpenEditIsCommittedBeforeWhatWouldOutliveIt) {
  struct Action {
    const char* what;
    std::function<void(EditTest&)> act;
    UINT col, row;
    const char* text;
    const char* story;  // after the edit opened
  } actions[] = {
      {"a click on a cell", [](EditTest& t) { input::Click(t.grid, Middle(4, 4).x, Middle(4, 4).y); }, 2, 2, "new",
       "end 2,2 'new' changed 2-2,2-2 leave enter"},
      // Pressed and released by the X server at once: the scroll bar's own
      // loop takes the press and waits for its release.
      {"a scroll bar", [](EditTest& t) { input::x11::MoveTo(t.grid, 408, 150), input::x11::Click(); }, 2, 2, "new",
       "end 2,2 'new' changed 2-2,2-2"},
      {"a count", [](EditTest& t) { Ask(t.grid, GM_SETROWCOUNT, 20); }, 2, 2, "new", "end 2,2 'new' changed 2-2,2-2"},
      {"a size", [](EditTest& t) { Ask(t.grid, GM_SETCOLWIDTH, 2, 70); }, 2, 2, "new", "end 2,2 'new' changed 2-2,2-2"},
      {"an insertion", [](EditTest& t) { Ask(t.grid, GM_INSERTROW, 1); }, 2, 3, "new", "end 2,2 'new' changed 2-2,2-2"},
      {"a paste", [](EditTest& t) { Ask(t.grid, GM_PASTE, reinterpret_cast<WPARAM>("p")); }, 2, 2, "p",
       "end 2,2 'new' changed 2-2,2-2"},
      {"a move by message", [](EditTest& t) { Ask(t.grid, GM_SETCURCOL, 5); }, 2, 2, "new",
       "end 2,2 'new' changed 2-2,2-2 leave enter"},
      {"the focus leaving", [](EditTest& t) { SetFocus(t.parent.hwnd()); }, 2, 2, "new",
       "end 2,2 'new' changed 2-2,2-2"},
      {"the program's text, which wins", [](EditTest& t) { harness::SetCellText(t.grid, 2, 2, "mine"); }, 2, 2, "mine",
       "end 2,2 null"},
      {"the grid destroyed", [](EditTest& t) { DestroyWindow(t.grid); }, 2, 2, "", ""},
  };
  DestroyWindow(grid);
  for (const Action& a : actions) {
    MakeGrid(harness::GridSetup().ExactClient().Cells(10, 30).Focused());
    HWND editor = reinterpret_cast<HWND>(Ask(grid, GM_EDITCELL, GRID_CELL(2, 2), reinterpret_cast<LPARAM>("new")));
    ASSERT_NE(editor, nullptr) << a.what;
    EXPECT_EQ(GetFocus(), editor) << a.what;
    parent.Clear();
    a.act(*this);
    input::Settle(50);
    EXPECT_EQ(Story(), a.story) << a.what;
    EXPECT_FALSE(IsWindowVisible(editor)) << a.what << ": the editor has gone";
    if (IsWindow(grid)) {
      EXPECT_EQ(CellText(grid, a.col, a.row), a.text) << a.what;
    }
    DestroyWindow(grid);
  }
}

TEST_F(EditTest, TheParentMayRefuseAnEditOrItsTextAndStoreItsOwn) {
  parent.onNote = [](const Note& n) -> LRESULT { return n.msg == GN_BEGINEDIT; };
  EXPECT_EQ(Ask(grid, GM_EDITCELL), 0);
  input::Tap(VK_F2);
  input::Type("k");
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(CellText(grid, 1, 1), "one");
  EXPECT_EQ(Story(), "begin 1,1 'one' begin 1,1 'one' begin 1,1 'k'") << "refused every time, nothing more";

  parent.Clear();
  parent.onNote = [this](const Note& n) -> LRESULT {
    if (n.msg != GN_ENDEDIT) return 0;
    harness::SetCellText(grid, 1, 1, "ONE");  // the parent's normalised text
    return 1;
  };
  ASSERT_NE(Ask(grid, GM_EDITCELL, 0, reinterpret_cast<LPARAM>("one ")), 0);
  EXPECT_EQ(Ask(grid, GM_ENDEDIT, TRUE), TRUE);
  EXPECT_EQ(Ask(grid, GM_ENDEDIT, TRUE), 0) << "none is open any more";
  EXPECT_EQ(CellText(grid, 1, 1), "ONE");
  EXPECT_EQ(Story(), "begin 1,1 'one ' end 1,1 'one '") << "the user's text was not stored";
}

TEST_F(EditTest, ALongTextOpensAndCommitsWhole) {
  const std::string along(100000, 'a');
  HWND editor = reinterpret_cast<HWND>(Ask(grid, GM_EDITCELL, 0, reinterpret_cast<LPARAM>(along.c_str())));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(GetWindowTextLengthW(editor), 100000);
  input::Type("b");
  input::Tap(VK_RETURN);
  std::string stored(Ask(grid, GM_GETCELLTEXTLENGTH, GRID_CELL(1, 1)) + 1, '\0');
  Ask(grid, GM_GETCELLTEXT, GRID_CELL(1, 1), reinterpret_cast<LPARAM>(stored.data()));
  EXPECT_EQ(stored.c_str(), along + "b");
}

// GN_SELCHANGED, once a change and never without GS_EX_SELCHANGE.
TEST_F(EditTest, EveryChangeOfTheSelectionIsToldOnceAndOnlyWithItsStyle) {
  struct Change {
    const char* what;
    std::function<void(HWND)> act;
    const char* told;
  } changes[] = {
      {"a click on another cell", [](HWND g) { input::Click(g, Middle(3, 3).x, Middle(3, 3).y); }, "sel 3-3,3-3"},
      {"a click on the current cell", [](HWND g) { input::Click(g, Middle(3, 3).x, Middle(3, 3).y); }, ""},
      {"an arrow", [](HWND) { input::Tap(VK_RIGHT); }, "sel 4-4,3-3"},
      {"Shift and an arrow", [](HWND) { Shifted(VK_DOWN); }, "sel 4-4,3-4"},
      {"a move by message", [](HWND g) { Ask(g, GM_SETCURCOL, 6); }, "sel 6-6,3-4"},
      {"the same move again", [](HWND g) { Ask(g, GM_SETCURCOL, 6); }, ""},
      {"the other corner by message", [](HWND g) { Ask(g, GM_SETSELENDROW, 7); }, "sel 6-6,3-7"},
      {"a count that shrinks below it", [](HWND g) { Ask(g, GM_SETCOLCOUNT, 4); }, "sel 3-3,3-7"},
      {"a count that leaves it", [](HWND g) { Ask(g, GM_SETROWCOUNT, 40); }, ""},
  };
  DestroyWindow(grid);
  for (const DWORD style : {DWORD{GS_EX_SELCHANGE}, DWORD{0}}) {
    MakeGrid(harness::GridSetup().ExactClient().Cells(10, 30).Focused());
    Ask(grid, GM_SETEXSTYLE, 0, style);
    for (const Change& c : changes) {
      parent.Clear();
      c.act(grid);
      UpdateWindow(grid);
      EXPECT_EQ(Story(true), style ? c.told : "") << c.what;
    }
    DestroyWindow(grid);
  }
}

}  // namespace

// The host's clipboard sequences against the real clipboard.
#include "clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "harness.h"

namespace {

using harness::Ask;
using harness::CellText;

std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  std::string text = "(no text)";
  if (HANDLE memory = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(memory));
    GlobalUnlock(memory);
  }
  CloseClipboard();
  return text;
}

void PutOnClipboard(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::strcpy(static_cast<char*>(GlobalLock(memory)), text);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

struct ClipboardTest : ::testing::Test {
  harness::TestParent parent;
  HWND grid = parent.CreateGrid();
  ~ClipboardTest() override { DestroyWindow(grid); }
};

TEST_F(ClipboardTest, CopyPutsTheSelectionOnTheClipboardAsText) {
  harness::SetCellText(grid, 1, 1, "a");
  harness::SetCellText(grid, 2, 1, "bc");
  harness::SetCellText(grid, 2, 2, "d");
  Ask(grid, GM_SETSELENDCOL, 2);
  Ask(grid, GM_SETSELENDROW, 2);
  ASSERT_TRUE(celdra::CopyGridSelection(parent.hwnd(), grid));
  EXPECT_EQ(ClipboardText(), "a\tbc\r\n\td\r\n");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(GetClipboardOwner(), parent.hwnd());
  CloseClipboard();
}

TEST_F(ClipboardTest, PasteTakesTheClipboardTextIntoTheCells) {
  PutOnClipboard("1\t2\r\n3\t4\r\n");
  Ask(grid, GM_SETCURCOL, 2);
  Ask(grid, GM_SETCURROW, 2);
  ASSERT_TRUE(celdra::PasteIntoGrid(parent.hwnd(), grid));
  EXPECT_EQ(CellText(grid, 2, 2), "1");
  EXPECT_EQ(CellText(grid, 3, 2), "2");
  EXPECT_EQ(CellText(grid, 2, 3), "3");
  EXPECT_EQ(CellText(grid, 3, 3), "4");
}

TEST_F(ClipboardTest, ARoundTripThroughTheClipboardKeepsTheTexts) {
  harness::SetCellText(grid, 1, 1, "north");
  harness::SetCellText(grid, 1, 2, "south");
  Ask(grid, GM_SETSELENDROW, 2);
  ASSERT_TRUE(celdra::CopyGridSelection(parent.hwnd(), grid));
  Ask(grid, GM_SETCURCOL, 3);  // a single cell elsewhere
  Ask(grid, GM_SETCURROW, 1);
  ASSERT_TRUE(celdra::PasteIntoGrid(parent.hwnd(), grid));
  EXPECT_EQ(CellText(grid, 3, 1), "north");
  EXPECT_EQ(CellText(grid, 3, 2), "south");
}

TEST_F(ClipboardTest, AnEmptyClipboardSendsTheGridNothing) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  harness::SetCellText(grid, 1, 1, "kept");
  harness::MessageBoxCapture boxes;
  EXPECT_FALSE(celdra::PasteIntoGrid(parent.hwnd(), grid));
  EXPECT_EQ(CellText(grid, 1, 1), "kept");
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace

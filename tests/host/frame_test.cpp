// The frame: start-up, menus, toolbar, status bar, commands, layout.

#include "host_fixture.h"

namespace {

using harness::MessageBoxCapture;
using hosttest::HostTest;

struct MenuItem {
  std::string text;
  UINT id;
  bool grayed;
  bool separator;
};

std::vector<MenuItem> Items(HMENU menu) {
  std::vector<MenuItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfoA(menu, i, TRUE, &info);
    const UINT id = info.hSubMenu ? 0 : info.wID;  // a submenu has no command
    items.push_back({text, id, (info.fState & MFS_GRAYED) != 0, (info.fType & MFT_SEPARATOR) != 0});
  }
  return items;
}

std::string Describe(HMENU menu) {
  std::string all;
  for (const MenuItem& m : Items(menu)) {
    all += m.separator ? std::string("-") : m.text + ":" + std::to_string(m.id) + (m.grayed ? "g" : "");
    all += "|";
  }
  return all;
}

TEST(Menus, TheFrameMenuWhileNoDocumentIsActive) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Describe(menu), "&File:0|View:0|&Help:0|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 0)), "&New:201|&Open:202g|-|E&xit:206|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 1)), "View Toolbar:224g|View Statusbar:225g|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 2)), "Contents:234g|-|About:235|");
  DestroyMenu(menu);
}

TEST(Menus, TheFrameMenuWhileADocumentIsActive) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Describe(menu), "&File:0|&Edit:0|View:0|Format:0|&Window:0|&Help:0|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 0)),
            "&New:201|&Open:202g|&Close:203|-|&Save:208g|Save &As...:204g|-|Print Setup:207g|"
            "Print Preview:209g|&Print:210g|-|Recent Files:205g|-|E&xit:206|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 1)),
            "Cut:211|Copy:212|Paste:213|-|Add Row:221|Remove Row:222|-|Delete Contents:223|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 2)), "View Toolbar:224g|View Statusbar:225g|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 3)),
            "Cells:226g|Columns:227|Rows:228|-|Grid Color:229|Control BkColor:230|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 4)), "Tile Horizontal:231|Tile Vertical:232|Cascade:233|");
  EXPECT_EQ(Describe(GetSubMenu(menu, 5)), "Contents:234g|-|About:235|");
  DestroyMenu(menu);
}

TEST(StartUp, AMissingControlLibraryIsReportedWithTheErrorIcon) {
  MessageBoxCapture boxes;
  EXPECT_FALSE(celdra::LoadControlLibrary("NoSuchLatticor.dll"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Latticor.dll does not found !");
  EXPECT_EQ(boxes.boxes[0].caption, "Celdra");
  EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(boxes.boxes[0].owner, nullptr);
}

TEST_F(HostTest, TheFrameStartsWithMenu101AndOnlyTheAlwaysAvailableButtons) {
  EXPECT_EQ(GetMenu(frame), celdra::host.frameMenu);
  EXPECT_EQ(GetMenuItemCount(GetMenu(frame)), 3);
  EXPECT_EQ(Title(frame), "Celdra");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)) & 0x02CF0000u, 0x02CF0000u);
  ASSERT_NE(celdra::host.toolbar, nullptr);
  EXPECT_EQ(GetDlgCtrlID(celdra::host.toolbar), 250);
  EXPECT_EQ(SendMessageA(celdra::host.toolbar, TB_BUTTONCOUNT, 0, 0), 22);
  for (UINT id : {201u, 202u, 235u}) EXPECT_TRUE(ButtonEnabled(id)) << id;
  for (UINT id = 208; id <= 220; ++id) EXPECT_FALSE(ButtonEnabled(id)) << id;
  EXPECT_TRUE(SendMessageA(celdra::host.toolbar, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
  EXPECT_TRUE(IsWindowVisible(celdra::host.toolbar));
  EXPECT_EQ(GetDlgCtrlID(celdra::host.statusBar), 200);
  int parts[8] = {};
  EXPECT_EQ(SendMessageA(celdra::host.statusBar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(parts)), 4);
  EXPECT_EQ(parts[0], 120);
  EXPECT_EQ(parts[1], 240);
  EXPECT_EQ(parts[2], 360);
  EXPECT_EQ(parts[3], -1);
  EXPECT_EQ(GetWindowLongA(celdra::host.mdiClient, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
}

TEST_F(HostTest, TheToolbarButtonsAreInTheirOrderWithTheirStyles) {
  const int commands[22] = {201, 202, 208, 0, 209, 210, 0, 211, 212, 213, 0,
                            214, 215, 216, 0, 217, 218, 219, 220, 0, 235, 0};
  const BYTE styles[22] = {0, 0, 0, 1, 0, 0, 1, 0, 0, 0, 1, 2, 2, 2, 1, 6, 6, 6, 6, 1, 0, 1};
  int image = 0;
  for (int i = 0; i < 22; ++i) {
    TBBUTTON b{};
    ASSERT_TRUE(SendMessageA(celdra::host.toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)));
    EXPECT_EQ(b.idCommand, commands[i]) << i;
    EXPECT_EQ(b.fsStyle, styles[i]) << i;
    if (!(b.fsStyle & TBSTYLE_SEP)) {
      EXPECT_EQ(b.iBitmap, image++) << i;
    }
  }
  EXPECT_EQ(image, 16);
}

TEST_F(HostTest, TheMdiClientStaysBetweenToolbarAndStatusBar) {
  for (SIZE size : {SIZE{1000, 700}, SIZE{640, 480}, SIZE{1200, 300}}) {
    SetWindowPos(frame, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
    harness::Pump();
    RECT bar, status, client, mdi;
    GetWindowRect(celdra::host.toolbar, &bar);
    GetWindowRect(celdra::host.statusBar, &status);
    GetWindowRect(celdra::host.mdiClient, &mdi);
    GetClientRect(frame, &client);
    EXPECT_EQ(mdi.top, bar.bottom) << size.cx;
    EXPECT_EQ(mdi.bottom, status.top) << size.cx;
    EXPECT_EQ(mdi.right - mdi.left, client.right) << size.cx;
  }
}

TEST_F(HostTest, CommandsThatAreNotAvailableSaySo) {
  for (UINT id : {202u, 208u, 209u, 210u, 211u, 212u, 213u, 214u, 215u, 216u, 217u, 218u, 219u, 220u}) {
    MessageBoxCapture boxes;
    Command(id);
    ASSERT_EQ(boxes.boxes.size(), 1u) << id;
    EXPECT_EQ(boxes.boxes[0].text, "This does not works for now");
    EXPECT_EQ(boxes.boxes[0].caption, "Celdra");
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_OK));
  }
  MessageBoxCapture none;
  for (UINT id : {204u, 205u, 207u, 221u, 222u, 223u, 224u, 225u, 226u, 234u}) Command(id);
  EXPECT_TRUE(none.boxes.empty());
  EXPECT_TRUE(IsWindow(frame));
}

TEST_F(HostTest, ThePressedLookOfTheFormatButtonsStillToggles) {
  NewDocument();
  MessageBoxCapture boxes;
  HWND toolbar = celdra::host.toolbar;
  SendMessageA(toolbar, TB_CHECKBUTTON, 214, TRUE);
  EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, 214, 0));
  SendMessageA(toolbar, TB_CHECKBUTTON, 217, TRUE);
  SendMessageA(toolbar, TB_CHECKBUTTON, 218, TRUE);
  EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, 217, 0)) << "one of the group at a time";
}

TEST_F(HostTest, ExitClosesEverythingWithoutAQuestion) {
  NewDocument();
  NewDocument();
  MessageBoxCapture boxes;
  SendMessageA(frame, WM_COMMAND, celdra::kCmdExit, 0);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(boxes.boxes.empty());
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 0u) << "the exit code";
  frame = nullptr;
}

TEST_F(HostTest, TileAndCascadeArrangeTheDocuments) {
  HWND a = NewDocument();
  HWND b = NewDocument();
  Command(celdra::kCmdTileVertical);
  RECT ra, rb;
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  EXPECT_NE(ra.left, rb.left) << "side by side";
  Command(celdra::kCmdTileHorizontal);
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  EXPECT_NE(ra.top, rb.top) << "one above the other";
  Command(celdra::kCmdCascade);
  GetWindowRect(a, &ra);
  GetWindowRect(b, &rb);
  EXPECT_NE(ra.left, rb.left);
  EXPECT_NE(ra.top, rb.top);
}

TEST_F(HostTest, DocumentCommandsWithoutADocumentDoNothing) {
  MessageBoxCapture boxes;
  for (UINT id : {203u, 227u, 228u, 229u, 230u}) Command(id);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace

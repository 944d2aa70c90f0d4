// The Columns and Rows dialogs, the About box and the colour chooser,
// driven while they run; and their templates as compiled.
#include <functional>
#include <string>
#include <vector>

#include "host_fixture.h"

namespace {

using harness::Ask;
using harness::CellText;
using harness::DialogWatch;
using harness::MessageBoxCapture;
using hosttest::HostTest;

struct DialogTest : HostTest {
  void SetUp() override {
    HostTest::SetUp();
    doc = NewDocument();
    grid = Data(doc).grid;
  }
  // Runs the frame's command; `script` gets each dialog (not message box)
  // it opens, right after the dialog has filled itself in.
  void RunDialog(UINT command, std::function<void(HWND)> script) {
    DialogWatch watch([&](HWND dialog, LPARAM param) {
      const auto* box = reinterpret_cast<const MSGBOXPARAMSW*>(param);
      if (box && box->cbSize == sizeof(MSGBOXPARAMSW)) return;  // message boxes are not ours
      ++opened;
      script(dialog);
    });
    SendMessageA(frame, WM_COMMAND, command, 0);
    harness::Pump();
  }
  static void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
  static void PressKey(HWND dialog, int field, WPARAM vk) {
    PostMessageA(GetDlgItem(dialog, field), WM_KEYDOWN, vk, 1);
  }
  static std::string Field(HWND dialog, int id) {
    char text[64] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
  }
  // Fills the count and size fields and presses OK.
  void Format(UINT command, const char* count, const char* size) {
    const bool cols = command == celdra::kCmdColumns;
    RunDialog(command, [&](HWND d) {
      SetDlgItemTextA(d, cols ? 1008 : 1014, count);
      SetDlgItemTextA(d, cols ? 1009 : 1015, size);
      Click(d, cols ? 1010 : 1016);
    });
  }
  HWND doc = nullptr, grid = nullptr;
  int opened = 0;
};

TEST_F(DialogTest, TheFormatDialogsShowTheCurrentCountAndSize) {
  std::string count, size;
  RunDialog(celdra::kCmdColumns, [&](HWND d) {
    count = Field(d, 1008);
    size = Field(d, 1009);
    Click(d, 1011);
  });
  EXPECT_EQ(count, "5");
  EXPECT_EQ(size, "50");
  RunDialog(celdra::kCmdRows, [&](HWND d) {
    count = Field(d, 1014);
    size = Field(d, 1015);
    Click(d, 1012);
  });
  EXPECT_EQ(count, "4");
  EXPECT_EQ(size, "20");
  EXPECT_EQ(opened, 2);
}

TEST_F(DialogTest, AnAcceptedColumnCountRewritesTheTitles) {
  Format(celdra::kCmdColumns, "3", "50");
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 3);
  EXPECT_EQ(CellText(grid, 1, 0), "A");
  EXPECT_EQ(CellText(grid, 2, 0), "B");
  EXPECT_EQ(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(2, 0)), GRID_FORMAT_TITLE);
  Format(celdra::kCmdColumns, "254", "50");
  EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 254);
  EXPECT_EQ(CellText(grid, 253, 0), "IS");
}

TEST_F(DialogTest, ColumnCountsOutsideThreeTo254AreRefused) {
  for (const char* count : {"2", "255", "0", "", "x"}) {
    MessageBoxCapture boxes;
    Format(celdra::kCmdColumns, count, "50");
    ASSERT_EQ(boxes.boxes.size(), 1u) << count;
    EXPECT_EQ(boxes.boxes[0].text, "The maximum number of cols is 255\r\nand the minimum is 2.");
    EXPECT_EQ(boxes.boxes[0].caption, "Celdra");
    EXPECT_EQ(boxes.boxes[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 5) << count;
    EXPECT_EQ(CellText(grid, 4, 0), "D");
  }
}

TEST_F(DialogTest, RowCountsUpTo16382AreAccepted) {
  Format(celdra::kCmdRows, "16382", "20");
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 16382);
  EXPECT_EQ(CellText(grid, 0, 16381), "16381");
  MessageBoxCapture boxes;
  Format(celdra::kCmdRows, "16383", "20");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "The maximum number of rows is 16382\r\nand the minimum is 2.");
  EXPECT_EQ(Ask(grid, GM_GETROWCOUNT), 16382);
}

TEST_F(DialogTest, TheWidthGoesToEveryColumnBetweenAnchorAndEnd) {
  Ask(grid, GM_SETCOLCOUNT, 8);
  Ask(grid, GM_SETCURCOL, 5);
  Ask(grid, GM_SETSELENDCOL, 2);
  Format(celdra::kCmdColumns, "8", "70");
  for (UINT c = 1; c <= 6; ++c) EXPECT_EQ(Ask(grid, GM_GETCOLWIDTH, c), (c >= 2 && c <= 5) ? 70 : 50) << c;
}

TEST_F(DialogTest, ARefusedCountStillChangesTheSizes) {
  Ask(grid, GM_SETCURROW, 2);
  Ask(grid, GM_SETSELENDROW, 3);
  MessageBoxCapture boxes;
  Format(celdra::kCmdRows, "1", "33");
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 1), 20);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 2), 33);
  EXPECT_EQ(Ask(grid, GM_GETROWHEIGHT, 3), 33);
}

TEST_F(DialogTest, EscAndEnterCloseTheFormatDialogsWithoutChanges) {
  for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
    RunDialog(celdra::kCmdColumns, [&](HWND d) {
      SetDlgItemTextA(d, 1008, "9");
      PressKey(d, 1008, key);
    });
    EXPECT_EQ(Ask(grid, GM_GETCOLCOUNT), 5) << key;
  }
  EXPECT_EQ(opened, 2);
}

HWND about;
bool openAfterEsc;

// A moment after Esc and Enter: still open? Then close it as a person would.
void CALLBACK CheckAboutThenClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  openAfterEsc = IsWindow(about) != FALSE;
  PostMessageA(about, WM_COMMAND, MAKEWPARAM(1017, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(about, 1017)));
}

TEST_F(DialogTest, TheAboutBoxIgnoresEscAndClosesWithItsButton) {
  openAfterEsc = false;
  RunDialog(celdra::kCmdAbout, [&](HWND d) {
    about = d;
    char caption[64] = {};
    GetWindowTextA(d, caption, sizeof caption);
    EXPECT_STREQ(caption, "About Celdra");
    PressKey(d, 1017, VK_ESCAPE);
    PostMessageA(d, WM_COMMAND, IDOK, 0);
    SetTimer(nullptr, 0, 150, CheckAboutThenClose);
  });
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(openAfterEsc);
  EXPECT_FALSE(IsWindow(about));
}

// Records the colours the frame sends to the grid.
std::vector<COLORREF> sentColors;
WNDPROC gridProc;
LRESULT CALLBACK Spy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == GM_SETGRIDCOLOR || msg == GM_SETBKCOLOR) sentColors.push_back(static_cast<COLORREF>(wParam));
  return CallWindowProcA(gridProc, hwnd, msg, wParam, lParam);
}

TEST_F(DialogTest, CancellingTheColourChooserSendsTheOldColourBack) {
  Ask(grid, GM_SETGRIDCOLOR, RGB(10, 20, 30));
  sentColors.clear();
  gridProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Spy)));
  RunDialog(celdra::kCmdGridColor, [&](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
  SetWindowLongPtrA(grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gridProc));
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(sentColors, std::vector<COLORREF>{RGB(10, 20, 30)});
  EXPECT_EQ(Ask(grid, GM_GETGRIDCOLOR), RGB(10, 20, 30));
}

TEST_F(DialogTest, AColourChosenWithOkReachesTheGrid) {
  RunDialog(celdra::kCmdBkColor, [&](HWND d) {
    // The chooser's red, green and blue fields.
    SetDlgItemInt(d, 706, 200, FALSE);
    SetDlgItemInt(d, 707, 100, FALSE);
    SetDlgItemInt(d, 708, 50, FALSE);
    PostMessageA(d, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(Ask(grid, GM_GETBKCOLOR), RGB(200, 100, 50));
}

// ---- The templates as compiled -------------------------------------------

struct Item {
  DWORD style, exStyle;
  short x, y, cx, cy;
  DWORD id;
  WORD atom;  // 0x80 button, 0x81 edit, 0x82 static
  std::string text;
};
struct Template {
  DWORD style;
  short x, y, cx, cy;
  std::string caption, face;
  WORD points;
  std::vector<Item> items;
};

std::string ReadString(const WORD*& p) {
  std::string s;
  while (*p) s += static_cast<char>(*p++);
  ++p;
  return s;
}

Template Load(const char* name) {
  HRSRC found = FindResourceA(GetModuleHandleA(nullptr), name, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  Template t{};
  const WORD* w = reinterpret_cast<const WORD*>(bytes);
  EXPECT_EQ(w[0], 1);       // DLGTEMPLATEEX
  EXPECT_EQ(w[1], 0xFFFF);
  t.style = *reinterpret_cast<const DWORD*>(bytes + 12);
  const WORD count = *reinterpret_cast<const WORD*>(bytes + 16);
  const short* geometry = reinterpret_cast<const short*>(bytes + 18);
  t.x = geometry[0], t.y = geometry[1], t.cx = geometry[2], t.cy = geometry[3];
  const WORD* p = reinterpret_cast<const WORD*>(bytes + 26);
  EXPECT_EQ(*p++, 0);  // no menu
  EXPECT_EQ(*p++, 0);  // no class
  t.caption = ReadString(p);
  t.points = *p++;
  p += 2;  // weight, italic and charset
  t.face = ReadString(p);
  for (WORD i = 0; i < count; ++i) {
    p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
    const auto* d = reinterpret_cast<const DWORD*>(p);
    Item item{};
    item.exStyle = d[1];
    item.style = d[2];
    const short* g = reinterpret_cast<const short*>(d + 3);
    item.x = g[0], item.y = g[1], item.cx = g[2], item.cy = g[3];
    item.id = *reinterpret_cast<const DWORD*>(g + 4);
    p = reinterpret_cast<const WORD*>(g + 6);
    EXPECT_EQ(*p++, 0xFFFF) << name << " item " << i;
    item.atom = *p++;
    item.text = ReadString(p);
    p += 1 + *p / 2;  // creation data
    t.items.push_back(item);
  }
  return t;
}

void ExpectItem(const Item& got, DWORD id, WORD atom, const char* text, DWORD style, short x, short y, short cx,
                short cy, DWORD exStyle = 0) {
  EXPECT_EQ(got.id, id);
  EXPECT_EQ(got.atom, atom) << id;
  EXPECT_EQ(got.text, text) << id;
  EXPECT_EQ(got.style, style) << id;
  EXPECT_EQ(got.exStyle, exStyle) << id;
  EXPECT_EQ(got.x, x) << id;
  EXPECT_EQ(got.y, y) << id;
  EXPECT_EQ(got.cx, cx) << id;
  EXPECT_EQ(got.cy, cy) << id;
}

constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kNumber = kChild | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;

TEST(DialogTemplates, TheColumnDialogAsCompiled) {
  const Template t = Load("FormColsDlg");
  EXPECT_EQ(t.style, 0x10C808C0u);
  EXPECT_EQ(t.caption, "Celdra");
  EXPECT_EQ(t.face, "MS Sans Serif");
  EXPECT_EQ(t.points, 8);
  EXPECT_EQ(t.x, 0);
  EXPECT_EQ(t.cx, 200);
  EXPECT_EQ(t.cy, 100);
  ASSERT_EQ(t.items.size(), 7u);
  ExpectItem(t.items[0], 1002, kButton, "Columns", kChild | BS_GROUPBOX, 7, 7, 186, 86, WS_EX_TRANSPARENT);
  ExpectItem(t.items[1], 1008, kEdit, "", kNumber, 45, 33, 48, 12);
  ExpectItem(t.items[2], 1003, kStatic, "Number:", kChild | WS_GROUP | SS_CENTERIMAGE | SS_RIGHT, 16, 34, 27, 9);
  ExpectItem(t.items[3], 1009, kEdit, "", kNumber, 136, 32, 48, 12);
  ExpectItem(t.items[4], 1004, kStatic, "Width:\n(pixels)", kChild | WS_GROUP | SS_RIGHT, 113, 33, 21, 19);
  ExpectItem(t.items[5], 1010, kButton, "OK", kPush, 96, 73, 40, 13);
  ExpectItem(t.items[6], 1011, kButton, "Cancel", kPush, 144, 73, 40, 13);
}

TEST(DialogTemplates, TheRowDialogAsCompiled) {
  const Template t = Load("FormRowsDlg");
  EXPECT_EQ(t.style, 0x10C808C0u);
  EXPECT_EQ(t.caption, "Celdra");
  ASSERT_EQ(t.items.size(), 7u);
  ExpectItem(t.items[0], 1005, kButton, "Rows", kChild | BS_GROUPBOX, 7, 7, 186, 86, WS_EX_TRANSPARENT);
  ExpectItem(t.items[1], 1014, kEdit, "", kNumber, 45, 33, 48, 12);
  ExpectItem(t.items[2], 1006, kStatic, "Number:", kChild | WS_GROUP | SS_CENTERIMAGE | SS_RIGHT, 16, 33, 27, 11);
  ExpectItem(t.items[3], 1015, kEdit, "", kNumber, 136, 33, 48, 12);
  ExpectItem(t.items[4], 1007, kStatic, "Height:\n(pixels)", kChild | WS_GROUP | SS_RIGHT, 103, 34, 31, 19);
  ExpectItem(t.items[5], 1016, kButton, "OK", kPush, 96, 73, 40, 13);
  ExpectItem(t.items[6], 1012, kButton, "Cancel", kPush, 144, 73, 40, 13);
}

TEST(DialogTemplates, TheAboutBoxAsCompiled) {
  const Template t = Load("AboutDlg");
  EXPECT_EQ(t.style, 0x10C808C0u);
  EXPECT_EQ(t.caption, "About Celdra");
  EXPECT_EQ(t.face, "Times New Roman");
  EXPECT_EQ(t.points, 12);
  EXPECT_EQ(t.x, 10);
  EXPECT_EQ(t.y, 10);
  EXPECT_EQ(t.cx, 180);
  EXPECT_EQ(t.cy, 100);
  ASSERT_EQ(t.items.size(), 2u);
  EXPECT_EQ(t.items[0].id, 0xFFFFu);
  EXPECT_EQ(t.items[0].style, kChild | WS_GROUP | SS_SUNKEN | SS_CENTER);
  EXPECT_EQ(t.items[0].text.rfind("Celdra", 0), 0u) << "the program's name first";
  EXPECT_NE(t.items[0].text.find("grid control"), std::string::npos);
  ExpectItem(t.items[1], 1017, kButton, "OK", kPush, 130, 82, 40, 10);
}

}  // namespace

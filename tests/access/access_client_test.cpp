// The grid read by a screen reader in another process: MSAA's objects and
// events, the largest grid, objects that outlive their grid, and UI
// Automation's view of the window.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include "access_client.h"
#include "access_server.h"
#include "capture.h"
#include "latticor.h"
#include "real_input.h"
#include "access/uia_declarations.h"

namespace {

using namespace reader;
namespace input = real_input;

// Child ids on the ledger's grid of 5 x 4, or another.
LONG CellId(LONG c, LONG r, LONG cols = 5, LONG rows = 4) { return GRID_ACC_CELL_ID(c, r, cols, rows); }

// Waits until the other process's grid has the focus and its current cell
// is (col, row): a click takes its time to get there on a loaded machine.
void WaitForFocusAt(HWND grid, LRESULT col, LRESULT row) {
  const DWORD thread = GetWindowThreadProcessId(grid, nullptr);
  input::WaitUntil([&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus == grid && SendMessageA(grid, GM_GETCURCOL, 0, 0) == col &&
           SendMessageA(grid, GM_GETCURROW, 0, 0) == row;
  });
}

struct Ledger : ::testing::Test {
  Server server;
  HWND grid = nullptr;
  IAccessible* table = nullptr;

  void SetUp() override {
    ASSERT_TRUE(server.Start()) << "access_server.exe did not show its window";
    grid = server.Grid(access_server::kLedgerTitle);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&table)),
              S_OK);
  }
  void TearDown() override {
    if (table) table->Release();
  }
  IAccessible* Child(IAccessible* parent, LONG id) {
    IDispatch* d = nullptr;
    EXPECT_EQ(parent->get_accChild(Id(id), &d), S_OK) << id;
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = d;
    return d ? Object(parent, v) : nullptr;
  }
};

POINT Middle(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The grid's selection as a list; null when it is not one.
IEnumVARIANT* SelectionOf(IAccessible* table) {
  VARIANT selection;
  VariantInit(&selection);
  IEnumVARIANT* items = nullptr;
  if (table->get_accSelection(&selection) == S_OK && selection.vt == VT_UNKNOWN) {
    selection.punkVal->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&items));
  }
  VariantClear(&selection);
  return items;
}

TEST_F(Ledger, ATreeOfRowsAndCellsWithTheirTitles) {
  std::vector<std::string> walk{"grid: " + Describe(table)};
  EXPECT_EQ(Role(table), ROLE_SYSTEM_TABLE);
  EXPECT_EQ(Name(table), "Ledger") << "an unnamed grid takes its parent's title";
  EXPECT_EQ(State(table) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_MULTISELECTABLE | STATE_SYSTEM_EXTSELECTABLE),
            STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_MULTISELECTABLE | STATE_SYSTEM_EXTSELECTABLE);
  RECT client;
  GetClientRect(grid, &client);
  MapWindowPoints(grid, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const RECT whole = Location(table);
  EXPECT_TRUE(EqualRect(&client, &whole));
  LONG rows = 0;
  ASSERT_EQ(table->get_accChildCount(&rows), S_OK);
  ASSERT_EQ(rows, 4);

  const char* rowNames[] = {"Row 0", "Row First", "Row 2", "Row Third"};
  const char* cellNames[4][5] = {{"", "Name", "Qty", "3", "Price"},
                                 {"First", "Name First", "Qty First", "3 First", "Price First"},
                                 {"2", "Name 2", "Qty 2", "3 2", "Price 2"},
                                 {"Third", "Name Third", "Qty Third", "3 Third", "Price Third"}};
  for (LONG r = 0; r < rows; ++r) {
    IAccessible* row = Child(table, GRID_ACC_ROW_ID(r));
    ASSERT_NE(row, nullptr);
    walk.push_back("  row: " + Describe(row));
    EXPECT_EQ(Role(row), ROLE_SYSTEM_ROW);
    EXPECT_EQ(Name(row), rowNames[r]);
    LONG cells = 0;
    row->get_accChildCount(&cells);
    EXPECT_EQ(cells, 5);
    for (LONG c = 0; c < cells; ++c) {
      IAccessible* cell = Child(row, c + 1);
      ASSERT_NE(cell, nullptr);
      walk.push_back("    " + Describe(cell));
      const LONG role = r == 0 ? ROLE_SYSTEM_COLUMNHEADER : c == 0 ? ROLE_SYSTEM_ROWHEADER : ROLE_SYSTEM_CELL;
      EXPECT_EQ(Role(cell), role) << c << "," << r;
      EXPECT_EQ(Name(cell), cellNames[r][c]);
      // The same cell, named by its id on the grid.
      EXPECT_EQ(Name(table, CellId(c, r)), cellNames[r][c]);
      // Cells are 50 x 20 at (50c, 20r) in the grid's client area.
      const RECT expected{client.left + 50 * c, client.top + 20 * r, client.left + 50 * c + 50,
                          client.top + 20 * r + 20};
      const RECT at = Location(cell);
      EXPECT_TRUE(EqualRect(&expected, &at)) << c << "," << r;
      if (role == ROLE_SYSTEM_CELL) {
        EXPECT_EQ(State(cell) & (STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_OFFSCREEN),
                  STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE);
      }
      IDispatch* parent = nullptr;
      EXPECT_EQ(cell->get_accParent(&parent), S_OK);
      if (parent) parent->Release();
      cell->Release();
    }
    row->Release();
  }
  EXPECT_EQ(Value(table, CellId(1, 2)), "pear");
  EXPECT_EQ(Value(table, CellId(4, 1)), "1.20");
  EXPECT_EQ(Value(table, CellId(3, 3)), "") << "an empty cell has an empty value";
  EXPECT_EQ(State(table, CellId(1, 1)) & STATE_SYSTEM_SELECTED, STATE_SYSTEM_SELECTED) << "the current cell";
  VARIANT v;
  EXPECT_EQ(table->accDoDefaultAction(Id(CellId(2, 2))), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(table->get_accRole(Id(CellId(0, 4)), &v), E_INVALIDARG) << "no such cell";

  std::ofstream(screen::ShotPath("access-walk.txt")) << [&] {
    std::string all;
    for (const std::string& line : walk) all += line + "\n";
    return all;
  }();
}

TEST_F(Ledger, PointsNeighboursFocusAndSelection) {
  // A point in cell (2, 3) finds it, as an object of its own.
  const POINT inCell = Middle(Location(table, CellId(2, 3)));
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(table->accHitTest(inCell.x, inCell.y, &hit), S_OK);
  IAccessible* cell = Object(table, hit);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(Name(cell), "Qty Third");
  VariantInit(&hit);
  EXPECT_EQ(cell->accHitTest(inCell.x, inCell.y, &hit), S_OK);
  EXPECT_TRUE(hit.vt == VT_I4 && hit.lVal == CHILDID_SELF) << "a cell finds itself";

  // Neighbours, from an id on the grid and from the cell's own object.
  struct Step {
    LONG from, direction;
    const char* to;
  } steps[] = {{CellId(2, 2), NAVDIR_RIGHT, "3 2"},   {CellId(2, 2), NAVDIR_UP, "Qty First"},
               {CellId(2, 2), NAVDIR_LEFT, "Name 2"}, {CellId(2, 0), NAVDIR_UP, "-"},
               {CHILDID_SELF, NAVDIR_FIRSTCHILD, "Row 0"}, {CHILDID_SELF, NAVDIR_LASTCHILD, "Row Third"}};
  for (const Step& st : steps) {
    VARIANT to;
    VariantInit(&to);
    table->accNavigate(st.direction, Id(st.from), &to);
    IAccessible* found = Object(table, to);
    EXPECT_EQ(found ? Name(found) : "-", st.to) << st.from << " " << st.direction;
    if (found) found->Release();
  }
  VARIANT down;
  VariantInit(&down);
  ASSERT_EQ(cell->accNavigate(NAVDIR_DOWN, Id(CHILDID_SELF), &down), S_FALSE) << "the last row";
  cell->Release();

  // Focus: none while another window has it; the current cell once the
  // grid has it.
  VARIANT focus;
  VariantInit(&focus);
  EXPECT_EQ(table->get_accFocus(&focus), S_FALSE);
  input::Click(grid, 125, 30, 200);  // cell (2, 1)
  WaitForFocusAt(grid, 2, 1);
  ASSERT_EQ(table->get_accFocus(&focus), S_OK);
  IAccessible* focused = Object(table, focus);
  ASSERT_NE(focused, nullptr);
  EXPECT_EQ(Name(focused), "Qty First");
  EXPECT_EQ(State(focused) & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  focused->Release();

  // A client selects as a program would: the current cell moves, the
  // selection follows, and it is listed row by row.
  ASSERT_EQ(table->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Id(CellId(3, 2))), S_OK);
  EXPECT_EQ(SendMessageA(grid, GM_GETCURCOL, 0, 0), 3);
  EXPECT_EQ(SendMessageA(grid, GM_GETCURROW, 0, 0), 2);
  ASSERT_EQ(table->accSelect(SELFLAG_EXTENDSELECTION, Id(CellId(2, 3))), S_OK);
  EXPECT_EQ(SendMessageA(grid, GM_GETSELENDCOL, 0, 0), 2);
  EXPECT_EQ(table->accSelect(SELFLAG_ADDSELECTION, Id(CellId(1, 1))), E_INVALIDARG) << "one block only";
  EXPECT_EQ(table->accSelect(SELFLAG_TAKESELECTION, Id(CellId(0, 2))), E_INVALIDARG) << "titles are not selected";
  IEnumVARIANT* items = SelectionOf(table);
  ASSERT_NE(items, nullptr);
  VARIANT listed[5];
  ULONG n = 0;
  EXPECT_EQ(items->Next(5, listed, &n), S_FALSE);
  std::vector<LONG> ids;
  for (ULONG i = 0; i < n; ++i) ids.push_back(listed[i].lVal);
  EXPECT_EQ(ids, (std::vector<LONG>{CellId(2, 2), CellId(3, 2), CellId(2, 3), CellId(3, 3)}));
  items->Release();
}

// Events, as an out-of-context hook in this process hears them.
struct Heard {
  DWORD event;
  LONG object, child;
};
std::vector<Heard> heard;
HWND heardGrid;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  const bool ours = event == EVENT_OBJECT_REORDER || event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_SELECTION ||
                    event == EVENT_OBJECT_SELECTIONWITHIN || event == EVENT_OBJECT_VALUECHANGE;
  if (ours && hwnd == heardGrid) heard.push_back(Heard{event, object, child});
}

std::string EventName(DWORD e) {
  switch (e) {
    case EVENT_OBJECT_REORDER: return "REORDER";
    case EVENT_OBJECT_FOCUS: return "FOCUS";
    case EVENT_OBJECT_SELECTION: return "SELECTION";
    case EVENT_OBJECT_SELECTIONWITHIN: return "SELECTIONWITHIN";
    case EVENT_OBJECT_VALUECHANGE: return "VALUECHANGE";
    default: return std::to_string(e);
  }
}

TEST_F(Ledger, EventsFollowKeysMessagesAndClientsOnceEach) {
  input::Click(grid, 75, 30, 300);  // focus on cell (1, 1), before anyone listens
  WaitForFocusAt(grid, 1, 1);
  heardGrid = grid;
  heard.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr, OnEvent,
                                       server.pid(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  HWND frame = server.Frame(access_server::kLedgerTitle);

  struct Expected {
    DWORD event;
    LONG child;
    const char* name;  // of the object AccessibleObjectFromEvent finds
  };
  const auto shiftTap = [](WORD vk) {
    input::Key(VK_SHIFT, true, 10);
    input::Tap(vk, 30);
    input::Key(VK_SHIFT, false, 30);
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    std::vector<Expected> events;
  } steps[] = {
      {"Right", [] { input::Tap(VK_RIGHT, 150); },
       {{EVENT_OBJECT_SELECTION, CellId(2, 1), "Qty First"}, {EVENT_OBJECT_FOCUS, CellId(2, 1), "Qty First"}}},
      {"Down", [] { input::Tap(VK_DOWN, 150); },
       {{EVENT_OBJECT_SELECTION, CellId(2, 2), "Qty 2"}, {EVENT_OBJECT_FOCUS, CellId(2, 2), "Qty 2"}}},
      {"Shift+Right", [&] { shiftTap(VK_RIGHT); }, {{EVENT_OBJECT_SELECTIONWITHIN, CHILDID_SELF, "Ledger"}}},
      {"Shift+Down", [&] { shiftTap(VK_DOWN); }, {{EVENT_OBJECT_SELECTIONWITHIN, CHILDID_SELF, "Ledger"}}},
      {"a text set", [&] { SendMessageA(frame, access_server::kPutText, GRID_CELL(4, 3), 0); },
       {{EVENT_OBJECT_VALUECHANGE, CellId(4, 3), "Price Third"}}},
      {"the same text again", [&] { SendMessageA(frame, access_server::kPutText, GRID_CELL(4, 3), 0); }, {}},
      {"a paste of four cells", [&] { SendMessageA(frame, access_server::kPaste, 0, 0); },
       {{EVENT_OBJECT_VALUECHANGE, CHILDID_SELF, "Ledger"}}},
      {"accSelect", [&] { table->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, Id(CellId(1, 3))); },
       {{EVENT_OBJECT_SELECTION, CellId(1, 3), "Name Third"}, {EVENT_OBJECT_FOCUS, CellId(1, 3), "Name Third"}}},
      {"GM_SETCURCOL", [&] { SendMessageA(grid, GM_SETCURCOL, 3, 0); },
       {{EVENT_OBJECT_SELECTION, CellId(3, 3), "3 Third"}, {EVENT_OBJECT_FOCUS, CellId(3, 3), "3 Third"}}},
      {"GM_INSERTROW", [&] { SendMessageA(grid, GM_INSERTROW, 0, 0); }, {{EVENT_OBJECT_REORDER, CHILDID_SELF, "Ledger"}}},
      {"a move to where it is", [&] { SendMessageA(grid, GM_SETCURCOL, 3, 0); }, {}},
  };
  for (const Step& step : steps) {
    heard.clear();
    step.act();
    // The events come from the grid's process: as many as are due, however
    // long the machine takes, then a while for any that should not come.
    input::WaitUntil([&] { return heard.size() >= step.events.size(); });
    input::Settle(200);
    std::string got;
    for (const Heard& h : heard) got += EventName(h.event) + " " + std::to_string(h.child) + "; ";
    ASSERT_EQ(heard.size(), step.events.size()) << step.what << ": " << got;
    for (size_t i = 0; i < heard.size(); ++i) {
      EXPECT_EQ(heard[i].event, step.events[i].event) << step.what << ": " << got;
      EXPECT_EQ(heard[i].object, OBJID_CLIENT);
      EXPECT_EQ(heard[i].child, step.events[i].child) << step.what << ": " << got;
      IAccessible* object = nullptr;
      VARIANT child;
      VariantInit(&child);
      ASSERT_EQ(AccessibleObjectFromEvent(grid, heard[i].object, heard[i].child, &object, &child), S_OK);
      EXPECT_EQ(Name(object, child.lVal), step.events[i].name) << step.what;
      object->Release();
    }
  }
  UnhookWinEvent(hook);
}

TEST_F(Ledger, ObjectsAClientHoldsAnswerAfterTheGridIsGone) {
  IAccessible* cell = Child(table, CellId(2, 2));
  ASSERT_NE(cell, nullptr);
  SendMessageA(grid, GM_SETSELENDCOL, 4, 0);
  IEnumVARIANT* items = SelectionOf(table);
  ASSERT_NE(items, nullptr);

  SendMessageA(server.Frame(access_server::kLedgerTitle), access_server::kDestroyGrid, 0, 0);
  ASSERT_FALSE(IsWindow(grid));
  BSTR name = nullptr;
  EXPECT_EQ(cell->get_accName(Id(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
  LONG count = 0;
  EXPECT_EQ(table->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(table->accHitTest(10, 10, &v), CO_E_OBJNOTCONNECTED);
  ULONG n = 0;
  EXPECT_EQ(items->Next(1, &v, &n), CO_E_OBJNOTCONNECTED);
  items->Release();
  cell->Release();
  EXPECT_TRUE(server.Running());
  EXPECT_GT(SendMessageA(server.Frame(access_server::kLedgerTitle), access_server::kHeapBlocks, 0, 0), 0);
}

TEST(LargestGrid, TheFarCornerByIdAndByPointAndTheWholeSelectionListedLazily) {
  Server server;
  ASSERT_TRUE(server.Start("big"));
  HWND frame = server.Frame(access_server::kBigTitle), grid = server.Grid(access_server::kBigTitle);
  ASSERT_NE(grid, nullptr);
  IAccessible* table = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&table)),
            S_OK);
  EXPECT_EQ(Name(table), "Big grid") << "a grid with a text of its own is named by it";
  LONG rows = 0;
  table->get_accChildCount(&rows);
  EXPECT_EQ(rows, GRID_MAX_ROWS);

  const LONG cols = GRID_MAX_COLS, farCol = cols - 1, farRow = rows - 1;
  const LONG farId = CellId(farCol, farRow, cols, rows);
  EXPECT_EQ(farId, GRID_MAX_ROWS * (GRID_MAX_COLS + 1));
  EXPECT_EQ(Name(table, farId), std::to_string(farCol) + " " + std::to_string(farRow));
  EXPECT_EQ(Value(table, farId), access_server::kFarCornerText);
  EXPECT_EQ(State(table, farId) & STATE_SYSTEM_OFFSCREEN, STATE_SYSTEM_OFFSCREEN);

  // Scrolled there, a point in the middle of its rectangle finds it.
  SendMessageA(grid, GM_SETFIRSTCOL, farCol, 0);
  SendMessageA(grid, GM_SETFIRSTROW, farRow, 0);
  EXPECT_EQ(State(table, farId) & STATE_SYSTEM_OFFSCREEN, 0);
  const RECT r = Location(table, farId);
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(table->accHitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2, &hit), S_OK);
  IAccessible* cell = Object(table, hit);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(Value(cell), access_server::kFarCornerText);
  const RECT found = Location(cell);
  EXPECT_TRUE(EqualRect(&r, &found));
  cell->Release();

  // All four million cells selected; three of them listed.
  SendMessageA(grid, GM_SETSELENDCOL, farCol, 0);
  SendMessageA(grid, GM_SETSELENDROW, farRow, 0);
  const LRESULT before = SendMessageA(frame, access_server::kHeapBlocks, 0, 0);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  IEnumVARIANT* items = SelectionOf(table);
  ASSERT_NE(items, nullptr);
  VARIANT three[3];
  ULONG n = 0;
  ASSERT_EQ(items->Next(3, three, &n), S_OK);
  QueryPerformanceCounter(&end);
  const double ms = 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  const LRESULT after = SendMessageA(frame, access_server::kHeapBlocks, 0, 0);
  std::printf("selection of %ld cells: enumerator and three items in %.1f ms; %ld more heap blocks in the grid's process\n",
              static_cast<long>(farCol * farRow), ms, static_cast<long>(after - before));
  ::testing::Test::RecordProperty("selection_ms", std::to_string(ms));
  EXPECT_EQ(three[0].lVal, CellId(1, 1, cols, rows));
  EXPECT_EQ(three[2].lVal, CellId(3, 1, cols, rows));
  EXPECT_LT(after - before, 200) << "a handful of objects, not one per cell";
  EXPECT_LT(ms, 500.0);
  items->Release();
  table->Release();
}

// UI Automation's client core under Wine reaches the provider across
// processes and reads what it says of the grid.
TEST_F(Ledger, UiAutomationFindsTheDataGridByItsWindow) {
  HMODULE core = LoadLibraryA("uiautomationcore.dll");
  ASSERT_NE(core, nullptr);
  using Node = HANDLE;
  auto fromHandle = reinterpret_cast<HRESULT(WINAPI*)(HWND, Node*)>(
      reinterpret_cast<void (*)()>(GetProcAddress(core, "UiaNodeFromHandle")));
  auto property = reinterpret_cast<HRESULT(WINAPI*)(Node, PROPERTYID, VARIANT*)>(
      reinterpret_cast<void (*)()>(GetProcAddress(core, "UiaGetPropertyValue")));
  auto release = reinterpret_cast<BOOL(WINAPI*)(Node)>(reinterpret_cast<void (*)()>(GetProcAddress(core, "UiaNodeRelease")));
  ASSERT_TRUE(fromHandle && property && release);
  Node node = nullptr;
  ASSERT_EQ(fromHandle(grid, &node), S_OK);
  VARIANT v;
  VariantInit(&v);
  ASSERT_EQ(property(node, UIA_NamePropertyId, &v), S_OK);
  ASSERT_EQ(v.vt, VT_BSTR);
  EXPECT_EQ(Narrow(v.bstrVal), "Ledger");
  VariantClear(&v);
  ASSERT_EQ(property(node, UIA_ControlTypePropertyId, &v), S_OK);
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, UIA_DataGridControlTypeId);
  release(node);
}

}  // namespace

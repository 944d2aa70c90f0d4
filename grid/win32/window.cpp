// The grid's window procedure: the dispatch table, creation and teardown,
// focus, cursor, font, and the holder's resizing.
#include <algorithm>
#include <iterator>

#include "access/access.h"
#include "dpi.h"
#include "edit.h"
#include "handlers.h"
#include "latticor.h"
#include "notify.h"
#include "paint.h"
#include "params.h"
#include "scroll.h"
#include "watch.h"

namespace latticor::win32 {

HCURSOR colResizeCursor;
HCURSOR rowResizeCursor;

namespace {


// Fixed blocks from the global heap, zero-filled; resizing may move them.
class GlobalHeapAllocator final : public BlockAllocator {
 public:
  void* Allocate(size_t bytes) override { return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes); }
  void* Resize(void* block, size_t bytes) override {
    return GlobalReAlloc(block, bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
  }
  void Release(void* block) override { GlobalFree(block); }
};

LRESULT OnCreate(HWND grid) {
  if (WindowOf(grid)) return 0;  // a stray WM_CREATE must not replace the live state
  ShowScrollBar(grid, SB_BOTH, TRUE);
  rowResizeCursor = LoadCursorA(nullptr, IDC_SIZENS);
  colResizeCursor = LoadCursorA(nullptr, IDC_SIZEWE);
  SetScrollBar(grid, SB_VERT, kInitialRowCount, 0);  // position 0: the platform raises it to 1
  SetScrollBar(grid, SB_HORZ, kInitialColCount, 0);
  // Creation fails rather than leave a grid without state.
  auto* w = static_cast<GridWindow*>(GlobalHeap().Allocate(sizeof(GridWindow)));
  if (!w) return -1;
  if (!InitGridState(w->state, GlobalHeap(), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNFACE))) {
    GlobalHeap().Release(w);
    return -1;
  }
  // Its own sizes at the window's DPI: at 96, as they always were.
  if (const uint32_t dpi = WindowDpi(grid); dpi != kBaseDpi) StartAtDpi(w->state, dpi);
  SetWindowLongPtrA(grid, 0, reinterpret_cast<LONG_PTR>(w));
  w->dc = GetDC(grid);
  return 0;
}

LRESULT OnDestroy(HWND grid, GridState&, WPARAM, LPARAM) {
  GridWindow* w = WindowOf(grid);
  DropEdit(*w);  // an open edit goes with the grid, unannounced
  ReleaseDC(grid, w->dc);
  CutLink(grid, *w);  // accessible objects that clients still hold answer that the grid is gone
  // Clearing the slot lets a handler that is still running further up the
  // stack (a parent destroyed the grid from inside a notification) see
  // that the state is gone.
  SetWindowLongPtrA(grid, 0, 0);
  ReleaseGridState(w->state);
  GlobalHeap().Release(w);
  return 0;
}

// The holder is being resized by the user: keep the data cells from
// repainting until it is maximised or minimised.
LRESULT OnSize(HWND grid, GridState& s, WPARAM, LPARAM) {
  HWND parent = GetParent(grid);
  if (IsZoomed(parent)) s.sizing = 0;
  if (s.sizing) {
    RECT view = ToRECT(s.viewRect);
    ValidateRect(grid, &view);
  }
  if (IsIconic(parent)) s.sizing = 0;
  return 0;
}

LRESULT OnSizing(HWND, GridState& s, WPARAM, LPARAM) {
  s.sizing = 1;
  return 0;
}

// Whether the focus moves between the grid and its own editor.
bool EditorFocus(HWND grid, WPARAM other) {
  const EditSession& e = WindowOf(grid)->edit;
  return e.window && reinterpret_cast<HWND>(other) == e.window;
}

LRESULT OnSetFocus(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  if (!EditorFocus(grid, wParam)) SetTimer(grid, kAutoScrollTimer, kAutoScrollPeriodMs, nullptr);
  s.resizeEnabled = 1;
  NoteFocus(grid, true);
  const LRESULT answer = SendNotification(grid, GN_SETFOCUS);
  AnnounceFocus(grid);  // unless the parent moved the focus on
  return answer;
}

LRESULT OnKillFocus(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  if (!EditorFocus(grid, wParam)) KillTimer(grid, kAutoScrollTimer);
  s.resizeEnabled = 0;
  s.resizing = 0;
  NoteFocus(grid, false);
  return SendNotification(grid, GN_KILLFOCUS);
}

LRESULT OnEraseBkgnd(HWND, GridState& s, WPARAM, LPARAM) {
  s.fillBackground = 1;  // the next paint fills what lies outside the cells
  return 1;
}

LRESULT OnSetCursor(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  if (s.cursorKind == kCursorColResize) return reinterpret_cast<LRESULT>(SetCursor(colResizeCursor));
  if (s.cursorKind == kCursorRowResize) return reinterpret_cast<LRESULT>(SetCursor(rowResizeCursor));
  return DefWindowProcA(grid, WM_SETCURSOR, wParam, lParam);
}

LRESULT OnSetFont(HWND grid, GridState& s, WPARAM wParam, LPARAM) {
  s.font = reinterpret_cast<HFONT>(wParam);
  InvalidateAll(grid, FALSE);
  return TRUE;
}

LRESULT OnGetFont(HWND, GridState& s, WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(s.font); }

// In a dialog box the arrows and characters are the grid's; Tab, Enter and
// Escape stay the dialog's, unless the grid has the keys of a sheet.
LRESULT OnGetDlgCode(HWND, GridState& s, WPARAM, LPARAM) {
  const LRESULT sheet = (s.exStyle & kExSheetKeys) ? DLGC_WANTTAB | DLGC_WANTALLKEYS : 0;
  return DLGC_WANTARROWS | DLGC_WANTCHARS | sheet;
}

LRESULT OnContextMenu(HWND grid, GridState&, WPARAM, LPARAM lParam) {
  PostNotification(grid, GN_CONTEXTMENU, ControlId(grid), lParam);
  return TRUE;
}

LRESULT OnKeyUp(HWND grid, GridState&, WPARAM wParam, LPARAM) {
  PostNotification(grid, GN_KEYUP, wParam, ControlId(grid));
  return TRUE;
}

// What the dispatcher does around a handler: messages that may move the
// current cell, change the selection or the grid's shape are watched, so
// that screen readers (and, with GS_EX_SELCHANGE, the parent) hear of it;
// what an open edit must not outlive commits it first.
enum RouteFlags : unsigned { kPlain = 0, kWatched = 1, kCommitsEdit = 2, kWatchedAfterEdit = kWatched | kCommitsEdit };

struct Route {
  UINT msg;
  Handler handler;
  unsigned flags = kPlain;
};

// A press outside the client area (the scroll bars, the border) ends an
// open edit before the system acts on it.
LRESULT OnNcLButtonDown(HWND grid, GridState&, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(grid, WM_NCLBUTTONDOWN, wParam, lParam);
}

// Every message the grid handles, by number; anything else goes to
// DefWindowProcA. WM_CREATE is handled before the lookup (there is no
// state yet).
constexpr Route kRoutes[] = {
    {WM_DESTROY, OnDestroy},
    {WM_SIZE, OnSize},
    {WM_SETFOCUS, OnSetFocus},
    {WM_KILLFOCUS, OnKillFocus},
    {WM_PAINT, OnPaint},
    {WM_ERASEBKGND, OnEraseBkgnd},
    {WM_SETCURSOR, OnSetCursor},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, OnGetFont},
    {WM_GETOBJECT, OnGetObject},
    {WM_CONTEXTMENU, OnContextMenu},
    {WM_GETDLGCODE, OnGetDlgCode},
    {WM_NCLBUTTONDOWN, OnNcLButtonDown, kCommitsEdit},
    {WM_KEYDOWN, OnKeyDown, kWatched},
    {WM_KEYUP, OnKeyUp},
    {WM_CHAR, OnChar, kWatched},
    {WM_TIMER, OnTimer, kWatched},
    {WM_HSCROLL, OnHScroll},
    {WM_VSCROLL, OnVScroll},
    {WM_MOUSEMOVE, OnMouseMove, kWatched},
    {WM_LBUTTONDOWN, OnLButtonDown, kWatchedAfterEdit},
    {WM_LBUTTONUP, OnLButtonUp},
    {WM_LBUTTONDBLCLK, OnLButtonDblClk},
    {WM_MOUSEWHEEL, OnMouseWheel},
    {WM_CAPTURECHANGED, OnCaptureChanged},
    {WM_DPICHANGED_AFTERPARENT, OnDpiChangedAfterParent, kCommitsEdit},
    {GM_SETGRIDCOLOR, OnSetGridColor},
    {GM_GETGRIDCOLOR, OnGetGridColor},
    {GM_SETBKCOLOR, OnSetBkColor},
    {GM_GETBKCOLOR, OnGetBkColor},
    {GM_SETCURCOL, OnSetCurCol, kWatchedAfterEdit},
    {GM_GETCURCOL, OnGetCurCol},
    {GM_SETCURROW, OnSetCurRow, kWatchedAfterEdit},
    {GM_GETCURROW, OnGetCurRow},
    {GM_SETCOLCOUNT, OnSetColCount, kWatchedAfterEdit},
    {GM_GETCOLCOUNT, OnGetColCount},
    {GM_SETROWCOUNT, OnSetRowCount, kWatchedAfterEdit},
    {GM_GETROWCOUNT, OnGetRowCount},
    {GM_SETCOLWIDTH, OnSetColWidth, kCommitsEdit},
    {GM_GETCOLWIDTH, OnGetColWidth},
    {GM_SETROWHEIGHT, OnSetRowHeight, kCommitsEdit},
    {GM_GETROWHEIGHT, OnGetRowHeight},
    {GM_SETSELENDCOL, OnSetSelEndCol, kWatched},
    {GM_GETSELENDCOL, OnGetSelEndCol},
    {GM_SETSELENDROW, OnSetSelEndRow, kWatched},
    {GM_GETSELENDROW, OnGetSelEndRow},
    {GM_SETFIRSTCOL, OnSetFirstCol},
    {GM_GETFIRSTCOL, OnGetFirstCol},
    {GM_SETFIRSTROW, OnSetFirstRow},
    {GM_GETFIRSTROW, OnGetFirstRow},
    {GM_SETCELLFONT, OnSetCellFont},
    {GM_GETCELLFONT, OnGetCellFont},
    {GM_SETCELLCOLOR, OnSetCellColor},
    {GM_GETCELLCOLOR, OnGetCellColor},
    {GM_SETCELLFORMAT, OnSetCellFormat},
    {GM_GETCELLFORMAT, OnGetCellFormat},
    {GM_SETCELLTEXT, OnSetCellText},
    {GM_GETCELLTEXT, OnGetCellText},
    {GM_ENABLERESIZE, OnEnableResize},
    {GM_ENABLESELECT, OnEnableSelect},
    {GM_COPYSEL, OnCopySel},
    {GM_PASTE, OnPaste, kCommitsEdit},
    {GM_GETCOPYSIZE, OnGetCopySize},
    {GM_INSERTROW, OnInsertRow, kWatchedAfterEdit},
    {GM_DELETEROW, OnDeleteRow, kWatchedAfterEdit},
    {GM_PRINT, OnPrint},
    {GM_SUMCOLWIDTHS, OnSumColWidths},
    {GM_SUMROWHEIGHTS, OnSumRowHeights},
    {GM_SIZING, OnSizing},
    {GM_GETCURCELL, OnGetCurCell},
    {GM_GETLASTCOL, OnGetLastCol},
    {GM_GETLASTROW, OnGetLastRow},
    {GM_GETCELLTEXTLENGTH, OnGetCellTextLength},
    {GM_GETCELLTEXTN, OnGetCellTextN},
    {GM_SETEXSTYLE, OnSetExStyle},
    {GM_GETEXSTYLE, OnGetExStyle},
    {GM_EDITCELL, OnEditCell, kWatched},
    {GM_ENDEDIT, OnEndEdit},
    {GM_GETEDITWINDOW, OnGetEditWindow},
    {GM_UNDO, OnUndo, kWatchedAfterEdit},
    {GM_REDO, OnRedo, kWatchedAfterEdit},
    {GM_CANUNDO, OnCanUndo},
    {GM_EMPTYUNDO, OnEmptyUndo},
};

constexpr bool RoutesAreSorted() {
  for (size_t i = 1; i < std::size(kRoutes); ++i) {
    if (kRoutes[i - 1].msg >= kRoutes[i].msg) return false;
  }
  return true;
}
static_assert(RoutesAreSorted(), "the dispatch table is searched by halving");

const Route* FindRoute(UINT msg) {
  const Route* end = std::end(kRoutes);
  const Route* it =
      std::lower_bound(std::begin(kRoutes), end, msg, [](const Route& r, UINT m) { return r.msg < m; });
  return (it != end && it->msg == msg) ? it : nullptr;
}

}  // namespace

GridWindow* WindowOf(HWND grid) {
  return reinterpret_cast<GridWindow*>(GetWindowLongPtrA(grid, 0));
}

BlockAllocator& GlobalHeap() {
  static GlobalHeapAllocator heap;
  return heap;
}

LRESULT CALLBACK GridWindowProc(HWND grid, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return OnCreate(grid);
  if (const Route* route = FindRoute(msg)) {
    if (GridState* s = StateOf(grid)) {
      if ((route->flags & kCommitsEdit) && WindowOf(grid)->edit.open && !(s = CommitFirst(grid))) return 0;
      if (!(route->flags & kWatched)) return route->handler(grid, *s, wParam, lParam);
      const ChangeWatch watch(grid, *s);
      return route->handler(grid, *s, wParam, lParam);
    }
  }
  return DefWindowProcA(grid, msg, wParam, lParam);
}

}  // namespace latticor::win32

#include "edit.h"

#include <cstring>

#include "changes.h"
#include "core/char_boundary.h"
#include "core/layout.h"
#include "core/selection.h"
#include "latticor.h"
#include "notify.h"
#include "params.h"
#include "selection.h"
#include "text.h"
#include "watch.h"

namespace latticor::win32 {

namespace {

// The EDIT class's own procedure, the same for every editor.
WNDPROC editClassProc;

// The texts an edit carries live in the grid's heap, as its cells do.
char* CopyText(const char* text, size_t length) {
  auto* copy = static_cast<char*>(GlobalHeap().Allocate(length + 1));
  if (copy) std::memcpy(copy, text, length);
  return copy;  // zero-filled: the terminator is there
}
void FreeText(void* text) {
  if (text) GlobalHeap().Release(text);
}

// `length` characters as bytes of `codePage`, zero-terminated; null when
// memory runs out.
char* BytesOf(UINT codePage, const wchar_t* chars, int length) {
  const int n = length ? WideCharToMultiByte(codePage, 0, chars, length, nullptr, 0, nullptr, nullptr) : 0;
  auto* bytes = static_cast<char*>(GlobalHeap().Allocate(static_cast<size_t>(n) + 1));
  if (bytes && n) WideCharToMultiByte(codePage, 0, chars, length, bytes, n, nullptr, nullptr);
  return bytes;
}

// In which code page the cell's bytes are the editor's characters: the one
// painting reads them in. Asked only when a text is not plain ASCII, which
// every code page reads alike.
UINT CodePageOf(EditSession& e, const GridState& s) {
  if (!e.codePage) e.codePage = TextCodePage(s, e.font);
  return e.codePage;
}
bool IsAscii(const char* text) {
  for (; *text; ++text) {
    if (static_cast<unsigned char>(*text) >= 0x80) return false;
  }
  return true;
}
bool IsAscii(const wchar_t* chars, int length) {
  for (int i = 0; i < length; ++i) {
    if (chars[i] >= 0x80) return false;
  }
  return true;
}

// What the editor holds, as the cell's bytes: the text it opened with when
// the user changed nothing (so that it comes back byte for byte), else its
// characters converted. Null when memory runs out.
char* EditedText(EditSession& e, const GridState& s) {
  if (!SendMessageW(e.window, EM_GETMODIFY, 0, 0)) return CopyText(e.initial, std::strlen(e.initial));
  const int length = GetWindowTextLengthW(e.window);
  auto* chars = static_cast<wchar_t*>(GlobalHeap().Allocate((static_cast<size_t>(length) + 1) * sizeof(wchar_t)));
  if (!chars) return nullptr;
  const int read = GetWindowTextW(e.window, chars, length + 1);
  char* bytes = BytesOf(IsAscii(chars, read) ? CP_ACP : CodePageOf(e, s), chars, read);
  FreeText(chars);
  return bytes;
}

bool IsTypedChar(WPARAM c) { return c >= 0x20 && c != 0x7F; }

LRESULT CALLBACK EditorProc(HWND editor, UINT msg, WPARAM wParam, LPARAM lParam);

// The editor for a cell: a standard EDIT child of the grid, Unicode so that
// it holds characters of any script, without a length limit, in the cell's
// font (else the grid's) and horizontal alignment. The window of the last
// edit serves again when its alignment is the cell's.
HWND PrepareEditor(HWND grid, EditSession& e, const GridState& s, const GridCell& cell) {
  const DWORD align = (cell.format & DT_CENTER) ? ES_CENTER : (cell.format & DT_RIGHT) ? ES_RIGHT : ES_LEFT;
  if (e.window && e.align != align) {
    DestroyWindow(e.window);
    e.window = nullptr;
  }
  if (!e.window) {
    e.window = CreateWindowExW(WS_EX_NOPARENTNOTIFY, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | align, 0, 0, 0, 0,
                               grid, nullptr, moduleInstance, nullptr);
    if (!e.window) return nullptr;
    const auto own = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(e.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc)));
    if (!editClassProc) editClassProc = own;
    SendMessageW(e.window, EM_LIMITTEXT, 0, 0);
    e.align = align;
    e.font = nullptr;
  }
  const auto font = static_cast<HFONT>(cell.cellFont ? cell.cellFont : s.font);
  if (font != e.font) SendMessageW(e.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  e.font = font;
  return e.window;
}

// Shows the editor for a GN_BEGINEDIT that let it open, with `initial`
// (which the session then owns) and the focus.
HWND OpenEditor(HWND grid, GridWindow& w, uint32_t col, uint32_t row, char* initial, EditStart start) {
  GridState& s = w.state;
  EditSession& e = w.edit;
  const size_t bytes = std::strlen(initial);
  auto* chars = static_cast<wchar_t*>(GlobalHeap().Allocate((bytes + 1) * sizeof(wchar_t)));
  HWND editor = chars ? PrepareEditor(grid, e, s, *CellAt(s, col, row)) : nullptr;
  if (!editor) {
    FreeText(chars);
    FreeText(initial);
    return nullptr;
  }
  e.open = true;
  e.col = col;
  e.row = row;
  e.start = start;
  e.initial = initial;
  e.codePage = 0;
  e.placed = RECT{};
  e.shown = Rect{};
  e.typedCount = 0;
  chars[ConvertText(IsAscii(initial) ? CP_ACP : CodePageOf(e, s), initial, bytes, chars)] = L'\0';
  SetWindowTextW(editor, chars);
  FreeText(chars);
  SendMessageW(editor, EM_SETMODIFY, FALSE, 0);
  const int end = GetWindowTextLengthW(editor);
  SendMessageW(editor, EM_SETSEL, end, end);
  RECT client;
  GetClientRect(grid, &client);
  LayOut(s, FromRECT(client));  // as the next paint will: where the cell is now
  PlaceEditor(w);
  SetFocus(editor);  // the parent hears GN_KILLFOCUS and may act
  const GridWindow* after = WindowOf(grid);
  return after && after->edit.open && after->edit.window == editor ? editor : nullptr;
}

// The session between edits: the window kept, hidden and empty.
void CloseSession(EditSession& e) {
  FreeText(e.initial);
  e.initial = nullptr;
  e.open = e.beginning = e.ending = false;
  e.typedCount = 0;
}

// Ends the open edit. When the focus is leaving for another window, it is
// left to go; otherwise the grid takes it back from the editor.
bool EndEditAs(HWND grid, bool commit, bool focusLeaving) {
  GridWindow* w = WindowOf(grid);
  if (!w || !w->edit.open || w->edit.ending) return false;
  EditSession& e = w->edit;
  e.ending = true;
  const uint32_t col = e.col, row = e.row;
  HWND editor = e.window;
  char* text = commit ? EditedText(e, w->state) : nullptr;  // no memory: it ends as a cancel
  if (focusLeaving) {
    KillTimer(grid, kAutoScrollTimer);  // the focus has left the grid for good
  } else if (e.focused) {
    SetFocus(grid);  // the parent hears GN_SETFOCUS and may act
  }
  if (!(w = WindowOf(grid))) {  // the grid went, and its edit with it
    FreeText(text);
    return true;
  }
  CloseSession(w->edit);
  ShowWindow(editor, SW_HIDE);
  // A long text is not kept in the hidden editor; a short one is replaced
  // by the next edit's.
  if (GetWindowTextLengthW(editor) > 4096) SetWindowTextW(editor, L"");
  GridEdit record{col, row, text};
  const LRESULT refused = SendNotification(grid, GN_ENDEDIT, reinterpret_cast<LPARAM>(&record));
  if (text && !refused) StoreUserText(grid, col, row, text);
  FreeText(text);
  return true;
}

EditorKey EditorKeyOf(WPARAM vk) {
  switch (vk) {
    case VK_RETURN: return EditorKey::kEnter;
    case VK_TAB: return EditorKey::kTab;
    case VK_ESCAPE: return EditorKey::kEscape;
    case VK_LEFT: return EditorKey::kLeft;
    case VK_RIGHT: return EditorKey::kRight;
    case VK_UP: return EditorKey::kUp;
    case VK_DOWN: return EditorKey::kDown;
    default: return EditorKey::kOther;
  }
}

// A key in the editor that ends the edit, and perhaps moves the current
// cell after it; whether it was one.
bool EditorKeyEnds(HWND grid, const EditSession& e, WPARAM vk) {
  const EditorAction action = EditorKeyAction(EditorKeyOf(vk), GetKeyState(VK_SHIFT) < 0, e.start);
  if (action.kind == EditorAction::kKeep) return false;
  EndEditAs(grid, action.kind == EditorAction::kCommit, false);
  if (GridState* s = action.axis ? StateOf(grid) : nullptr) {
    const ChangeWatch watch(grid, *s);
    MoveByArrow(grid, s, *action.axis, action.step, action.extend);
  }
  return true;
}

LRESULT CALLBACK EditorProc(HWND editor, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND grid = GetParent(editor);
  GridWindow* w = WindowOf(grid);
  if (w && w->edit.window == editor) {
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) w->edit.focused = msg == WM_SETFOCUS;
  }
  if (w && w->edit.window == editor && w->edit.open && !w->edit.ending) {
    switch (msg) {
      case WM_GETDLGCODE:
        // In a dialog box, Enter, Tab and Escape are the editor's.
        return CallWindowProcW(editClassProc, editor, msg, wParam, lParam) | DLGC_WANTALLKEYS;
      case WM_KEYDOWN:
        if (EditorKeyEnds(grid, w->edit, wParam)) return 0;  // the editor has gone
        break;
      case WM_CHAR:
        if (wParam == '\r' || wParam == '\t' || wParam == 0x1B) return 0;  // their keys acted already
        break;
      case WM_KILLFOCUS: {
        const LRESULT result = CallWindowProcW(editClassProc, editor, msg, wParam, lParam);
        EndEditAs(grid, true, true);
        return result;
      }
      default:
        break;
    }
  }
  return CallWindowProcW(editClassProc, editor, msg, wParam, lParam);
}

// The characters that TranslateMessage queued for a key the grid received,
// read as UTF-16 whatever the window's character set: a printable one and
// its second half, if it has one. How many were taken.
int TakeTypedChars(HWND grid, wchar_t chars[2]) {
  MSG m;
  if (!PeekMessageW(&m, grid, WM_CHAR, WM_CHAR, PM_NOREMOVE) || !IsTypedChar(m.wParam)) return 0;
  PeekMessageW(&m, grid, WM_CHAR, WM_CHAR, PM_REMOVE);
  chars[0] = static_cast<wchar_t>(m.wParam);
  if (!IS_HIGH_SURROGATE(chars[0]) || !PeekMessageW(&m, grid, WM_CHAR, WM_CHAR, PM_NOREMOVE) ||
      !IS_LOW_SURROGATE(m.wParam)) {
    return 1;
  }
  PeekMessageW(&m, grid, WM_CHAR, WM_CHAR, PM_REMOVE);
  chars[1] = static_cast<wchar_t>(m.wParam);
  return 2;
}

void DropQueuedChar(HWND grid, WPARAM c) {
  MSG m;
  if (PeekMessageW(&m, grid, WM_CHAR, WM_CHAR, PM_NOREMOVE) && m.wParam == c) {
    PeekMessageW(&m, grid, WM_CHAR, WM_CHAR, PM_REMOVE);
  }
}

// A character that reached the grid one byte at a time (an ANSI WM_CHAR of
// a multi-byte code page): true once its last byte is there, with the
// character's bytes in `typed`.
bool CollectTypedByte(EditSession& e, unsigned char byte) {
  if (e.typedCount >= sizeof e.typed) e.typedCount = 0;
  e.typed[e.typedCount++] = byte;
  if (e.typedCount < CharLength(e.typed[0], ProcessEncoding())) return false;
  return true;
}

}  // namespace

HWND BeginEdit(HWND grid, uint32_t col, uint32_t row, const char* text, EditStart start) {
  GridState* s = CommitFirst(grid);
  if (!s || WindowOf(grid)->edit.beginning || !IsDataCell(*s, col, row)) return nullptr;
  if (col != s->curCol || row != s->curRow) s = SelectCellAt(grid, s, col, row);
  if (!s || !IsDataCell(*s, col, row) || !(s = ScrollIntoView(grid, s, col, row))) return nullptr;
  const GridCell& cell = *CellAt(*s, col, row);
  const char* from = text ? text : cell.text;
  char* initial = CopyText(from, std::strlen(from));
  if (!initial) return nullptr;
  WindowOf(grid)->edit.beginning = true;
  GridEdit record{col, row, initial};
  const LRESULT refused = SendNotification(grid, GN_BEGINEDIT, reinterpret_cast<LPARAM>(&record));
  GridWindow* w = WindowOf(grid);
  if (w) w->edit.beginning = false;
  if (!w || refused || !IsDataCell(w->state, col, row) || w->edit.open) {
    FreeText(initial);
    return nullptr;
  }
  return OpenEditor(grid, *w, col, row, initial, start);
}

bool EndEdit(HWND grid, bool commit) { return EndEditAs(grid, commit, false); }

GridState* CommitFirst(HWND grid) {
  EndEdit(grid, true);
  return StateOf(grid);
}

GridState* CancelEditOf(HWND grid, uint32_t col, uint32_t row) {
  const GridWindow* w = WindowOf(grid);
  if (w->edit.open && w->edit.col == col && w->edit.row == row) EndEdit(grid, false);
  return StateOf(grid);
}

void PlaceEditor(GridWindow& w) {
  EditSession& e = w.edit;
  if (!e.open) return;
  const GridState& s = w.state;
  const Rect cell = CellRect(s, e.col, e.row);
  const RECT inside{cell.left, cell.top, cell.right - 1, cell.bottom - 1};
  const Rect shown = Intersect(FromRECT(inside), s.viewRect);
  if (EqualRect(&inside, &e.placed) && shown == e.shown) return;
  e.placed = inside;
  e.shown = shown;
  if (IsEmpty(shown)) {
    ShowWindow(e.window, SW_HIDE);  // the cell is scrolled out of view: the edit stays open
    return;
  }
  SetWindowPos(e.window, nullptr, inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // Never over another cell or a title: only the part of the cell in view.
  const bool whole = shown == FromRECT(inside);
  if (whole && !e.clipped) return;
  SetWindowRgn(e.window,
               whole ? nullptr
                     : CreateRectRgn(shown.left - inside.left, shown.top - inside.top, shown.right - inside.left,
                                     shown.bottom - inside.top),
               TRUE);
  e.clipped = !whole;
}

Rect EditorArea(const GridWindow& w) { return w.edit.open ? w.edit.shown : Rect{0, 0, 0, 0}; }

void DropEdit(GridWindow& w) {
  HWND editor = w.edit.window;
  FreeText(w.edit.initial);
  w.edit = EditSession{};
  if (editor) DestroyWindow(editor);
}

bool BeginEditByKey(HWND grid, GridState& s, WPARAM vk) {
  const uint32_t col = s.curCol, row = s.curRow;
  if (vk == VK_F2) {
    BeginEdit(grid, col, row, nullptr, EditStart::kF2);
    return true;
  }
  if (vk == VK_BACK) {
    DropQueuedChar(grid, '\b');
    BeginEdit(grid, col, row, "", EditStart::kBackspace);
    return true;
  }
  wchar_t chars[2];
  const int n = TakeTypedChars(grid, chars);
  GridState* t = n ? StateOf(grid) : nullptr;  // peeking may have let other senders in
  if (!t || !IsDataCell(*t, col, row)) return n != 0;
  char* typed = BytesOf(TextCodePage(*t, static_cast<HFONT>(CellAt(*t, col, row)->cellFont)), chars, n);
  if (typed) BeginEdit(grid, col, row, typed, EditStart::kTyping);
  FreeText(typed);
  return true;
}

bool ForwardToEditor(HWND grid, UINT msg, WPARAM wParam, LPARAM lParam) {
  GridWindow* w = WindowOf(grid);
  if (!w->edit.open || w->edit.ending) return false;
  HWND editor = w->edit.window;
  if (msg == WM_KEYDOWN) {
    SendMessageW(editor, WM_KEYDOWN, wParam, lParam);
    wchar_t chars[2];
    const int n = TakeTypedChars(grid, chars);
    for (int i = 0; i < n && IsWindow(editor); ++i) SendMessageW(editor, WM_CHAR, chars[i], lParam);
    return true;
  }
  // An ANSI character, a byte at a time: on to the editor as a whole one.
  if (!CollectTypedByte(w->edit, static_cast<unsigned char>(wParam))) return true;
  wchar_t chars[4];
  const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(w->edit.typed),
                                    static_cast<int>(w->edit.typedCount), chars, 4);
  w->edit.typedCount = 0;
  for (int i = 0; i < n && IsWindow(editor); ++i) SendMessageW(editor, WM_CHAR, chars[i], lParam);
  return true;
}

bool SetValueAsUser(HWND grid, uint32_t col, uint32_t row, const char* text) {
  GridState* s = CommitFirst(grid);
  if (!s || !(s->exStyle & kExEdit) || !IsDataCell(*s, col, row) || WindowOf(grid)->edit.beginning) return false;
  GridEdit record{col, row, text};
  WindowOf(grid)->edit.beginning = true;
  const LRESULT refused = SendNotification(grid, GN_BEGINEDIT, reinterpret_cast<LPARAM>(&record));
  GridWindow* w = WindowOf(grid);
  if (!w) return false;
  w->edit.beginning = false;
  if (refused) return false;
  // No editor shows: the edit ends as soon as it has begun.
  if (SendNotification(grid, GN_ENDEDIT, reinterpret_cast<LPARAM>(&record)) || !StateOf(grid)) return false;
  return StoreUserText(grid, col, row, text);
}

LRESULT OnChar(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  if (ForwardToEditor(grid, WM_CHAR, wParam, lParam)) return 0;
  if (!(s.exStyle & kExEdit)) return DefWindowProcA(grid, WM_CHAR, wParam, lParam);
  EditSession& e = WindowOf(grid)->edit;
  if (wParam == '\b' && e.typedCount == 0) {
    BeginEdit(grid, s.curCol, s.curRow, "", EditStart::kBackspace);
    return 0;
  }
  if (!IsTypedChar(wParam) && e.typedCount == 0) return DefWindowProcA(grid, WM_CHAR, wParam, lParam);
  if (!CollectTypedByte(e, static_cast<unsigned char>(wParam))) return 0;
  char typed[sizeof e.typed + 1] = {};
  std::memcpy(typed, e.typed, e.typedCount);
  e.typedCount = 0;
  BeginEdit(grid, s.curCol, s.curRow, typed, EditStart::kTyping);
  return 0;
}

LRESULT OnEditCell(HWND grid, GridState& s, WPARAM wParam, LPARAM lParam) {
  const CellAddress at = wParam ? CellOf(wParam) : CellAddress{s.curCol, s.curRow};
  return reinterpret_cast<LRESULT>(
      BeginEdit(grid, at.col, at.row, reinterpret_cast<const char*>(lParam), EditStart::kProgram));
}

LRESULT OnEndEdit(HWND grid, GridState&, WPARAM wParam, LPARAM) { return EndEdit(grid, wParam != 0) ? TRUE : 0; }

LRESULT OnGetEditWindow(HWND grid, GridState&, WPARAM, LPARAM) {
  const EditSession& e = WindowOf(grid)->edit;
  return reinterpret_cast<LRESULT>(e.open ? e.window : nullptr);
}

LRESULT OnSetExStyle(HWND, GridState& s, WPARAM wParam, LPARAM lParam) {
  return ChangeExStyle(s, Index32(wParam), static_cast<uint32_t>(lParam));
}

LRESULT OnGetExStyle(HWND, GridState& s, WPARAM, LPARAM) { return s.exStyle; }

}  // namespace latticor::win32

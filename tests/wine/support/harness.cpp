#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace harness {

namespace {

constexpr char kParentClass[] = "LatticorTestParent";
TestParent* current = nullptr;  // the tests run one parent at a time

struct Pending {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool valid;
} pending{};

bool IsNotification(UINT msg) {
  return (msg >= GN_LBUTTONDOWN && msg <= GN_CONTEXTMENU) || msg == GN_REFUSED ||
         (msg >= GN_BEGINEDIT && msg <= GN_SELCHANGED);
}

// What a notification's record says, while it is still there.
std::string RecordOf(UINT msg, LPARAM lParam) {
  if (msg == GN_BEGINEDIT || msg == GN_ENDEDIT) {
    const auto* e = reinterpret_cast<const GridEdit*>(lParam);
    return std::to_string(e->col) + "," + std::to_string(e->row) + " " +
           (e->text ? "'" + std::string(e->text) + "'" : std::string("null"));
  }
  const auto* r = reinterpret_cast<const GridRange*>(lParam);
  return std::to_string(r->colFrom) + "-" + std::to_string(r->colTo) + "," + std::to_string(r->rowFrom) + "-" +
         std::to_string(r->rowTo);
}

}  // namespace

std::string Describe(const Note& n) {
  char line[96];
  std::snprintf(line, sizeof line, "%s %u (0x%lx, 0x%lx)", n.posted ? "posted" : "sent", n.msg,
                static_cast<unsigned long>(n.wParam), static_cast<unsigned long>(n.lParam));
  return n.what.empty() ? line : line + (" " + n.what);
}

std::string Describe(const std::vector<Note>& notes) {
  std::string all;
  for (const Note& n : notes) all += Describe(n) + "\n";
  return all.empty() ? "(none)\n" : all;
}

TestParent::TestParent(int width, int height) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kParentClass;
    RegisterClassExA(&wc);
    registered = true;
  }
  current = this;
  hwnd_ = CreateWindowExA(0, kParentClass, "Latticor test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                          0, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
  SetForegroundWindow(hwnd_);
  Pump();
}

TestParent::~TestParent() {
  UnhookWindowsHookEx(hook_);
  DestroyWindow(hwnd_);
  Pump();
  current = nullptr;
}

HWND TestParent::CreateGrid(UINT id, int x, int y, int width, int height, bool visible, DWORD exStyle,
                            DWORD gridStyle) {
  DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0) | gridStyle;
  return CreateWindowExA(exStyle, LATTICOR_CLASS_NAME, "", style, x, y, width, height, hwnd_,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                         nullptr);
}

void TestParent::Clear() {
  Pump();
  notes.clear();
}

std::vector<Note> TestParent::Only(UINT msg) const {
  std::vector<Note> some;
  for (const Note& n : notes) {
    if (n.msg == msg) some.push_back(n);
  }
  return some;
}

std::vector<Note> TestParent::WithoutMoves() const {
  std::vector<Note> some;
  for (const Note& n : notes) {
    if (n.msg != GN_MOUSEMOVE) some.push_back(n);
  }
  return some;
}

LRESULT CALLBACK TestParent::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && current && m->hwnd == current->hwnd_ &&
      IsNotification(m->message)) {
    pending = Pending{m->hwnd, m->message, m->wParam, m->lParam, true};
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TestParent::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (current && hwnd == current->hwnd_ && IsNotification(msg)) {
    const bool posted = pending.valid && pending.hwnd == hwnd && pending.msg == msg &&
                        pending.wParam == wParam && pending.lParam == lParam;
    if (posted) pending.valid = false;
    const bool recorded = msg >= GN_BEGINEDIT && msg <= GN_SELCHANGED;
    const Note note{msg, wParam, recorded ? 0 : lParam, posted, recorded ? RecordOf(msg, lParam) : std::string()};
    current->notes.push_back(note);
    if (current->onNote) return current->onNote(note);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG m;
  // As a Unicode program's loop: characters reach Unicode windows (the
  // grid's editor) whole, in any code page.
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void PumpFor(DWORD ms) { real_input::Settle(ms); }

RECT ClientRect(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return r;
}

void SizeClient(HWND hwnd, int width, int height) {
  // Scroll bars and edges take their share of the window; grow the window
  // by whatever the client area lacks, twice in case the bars moved.
  for (int i = 0; i < 3; ++i) {
    RECT window, client = ClientRect(hwnd);
    GetWindowRect(hwnd, &window);
    const int dw = width - client.right, dh = height - client.bottom;
    if (dw == 0 && dh == 0) return;
    SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left + dw, window.bottom - window.top + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

namespace {
std::string Narrow(LPCWSTR text) {
  if (!text) return "";
  if (IS_INTRESOURCE(text)) return "#resource";
  char buffer[2048];
  const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return n > 0 ? std::string(buffer, n - 1) : std::string();
}
}  // namespace

// One CBT hook for all watches: it subclasses each new dialog once and
// keeps its own procedure in a window property.
struct DialogWatchHooks {
  static constexpr char kOriginal[] = "LatticorTestOriginalProc";
  static std::vector<DialogWatch*>& Watches() {
    static std::vector<DialogWatch*> watches;
    return watches;
  }
  static HHOOK& Hook() {
    static HHOOK hook = nullptr;
    return hook;
  }
  static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      HWND hwnd = reinterpret_cast<HWND>(wParam);
      char cls[32] = {};
      GetClassNameA(hwnd, cls, sizeof cls);
      if (std::strcmp(cls, "#32770") == 0) {
        const LONG_PTR original = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
        SetPropA(hwnd, kOriginal, reinterpret_cast<HANDLE>(original));
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOriginal));
    const LRESULT result = CallWindowProcA(original, hwnd, msg, wParam, lParam);
    if (msg == WM_INITDIALOG) {
      const std::vector<DialogWatch*> watches = Watches();  // a watch may end meanwhile
      for (DialogWatch* w : watches) w->onInit_(hwnd, lParam);
    }
    if (msg == WM_NCDESTROY) RemovePropA(hwnd, kOriginal);
    return result;
  }
};

DialogWatch::DialogWatch(OnInit onInit) : onInit_(std::move(onInit)) {
  if (DialogWatchHooks::Watches().empty()) {
    DialogWatchHooks::Hook() = SetWindowsHookExA(WH_CBT, DialogWatchHooks::Cbt, nullptr, GetCurrentThreadId());
  }
  DialogWatchHooks::Watches().push_back(this);
}

DialogWatch::~DialogWatch() {
  auto& watches = DialogWatchHooks::Watches();
  watches.erase(std::find(watches.begin(), watches.end(), this));
  if (watches.empty()) UnhookWindowsHookEx(DialogWatchHooks::Hook());
}

MessageBoxCapture::MessageBoxCapture(std::initializer_list<int> answers)
    : answers_(answers), watch_([this](HWND dialog, LPARAM initParam) {
        // A message box's dialog is created with its MSGBOXPARAMS.
        const auto* params = reinterpret_cast<const MSGBOXPARAMSW*>(initParam);
        if (!params || params->cbSize != sizeof(MSGBOXPARAMSW)) return;
        Box box;
        box.caption = Narrow(params->lpszCaption);
        box.text = Narrow(params->lpszText);
        box.style = params->dwStyle;
        box.owner = params->hwndOwner;
        boxes.push_back(box);
        const size_t turn = boxes.size() - 1;
        EndDialog(dialog, answers_[turn < answers_.size() ? turn : answers_.size() - 1]);
      }) {}

void ExpectRefusal(HWND grid, UINT msg, WPARAM value, const char* text, UINT style) {
  MessageBoxCapture boxes;
  EXPECT_EQ(Ask(grid, msg, value), IDOK) << msg << " " << value;
  ASSERT_EQ(boxes.boxes.size(), 1u) << msg << " " << value;
  EXPECT_EQ(boxes.boxes[0].text, text);
  EXPECT_EQ(boxes.boxes[0].caption, "Latticor");
  EXPECT_EQ(boxes.boxes[0].style, style);
  EXPECT_EQ(boxes.boxes[0].owner, nullptr);
}

HeapUse ProcessHeapUse() {
  HeapUse use{0, 0};
  HANDLE heap = GetProcessHeap();
  HeapLock(heap);
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
      ++use.blocks;
      use.bytes += entry.cbData;
    }
  }
  HeapUnlock(heap);
  return use;
}

RECT CellTextRect(HWND grid, UINT col, UINT row) {
  // A left (top) edge is the sum of the sizes before it.
  const auto edge = [grid](UINT msg, UINT i) { return static_cast<LONG>(Ask(grid, msg, 0, i - 1)); };
  return RECT{edge(GM_SUMCOLWIDTHS, col), edge(GM_SUMROWHEIGHTS, row), edge(GM_SUMCOLWIDTHS, col + 1) - 1,
              edge(GM_SUMROWHEIGHTS, row + 1) - 1};
}

Comparison CompareWithRedrawn(HWND grid, HFONT font, const std::vector<POINT>& cells, const RedrawText& redraw) {
  InvalidateRect(grid, nullptr, FALSE);
  const Capture painted(grid);
  HDC dc = GetDC(grid);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  for (const POINT& cell : cells) {
    const UINT col = static_cast<UINT>(cell.x), row = static_cast<UINT>(cell.y);
    RECT r = CellTextRect(grid, col, row);
    FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
    const auto own = reinterpret_cast<HFONT>(Ask(grid, GM_GETCELLFONT, GRID_CELL(col, row)));
    SelectObject(dc, own ? own : font);
    SetTextColor(dc, static_cast<COLORREF>(Ask(grid, GM_GETCELLCOLOR, GRID_CELL(col, row))));
    redraw(dc, col, row, &r, static_cast<UINT>(Ask(grid, GM_GETCELLFORMAT, GRID_CELL(col, row))));
  }
  SelectObject(dc, oldFont);
  ReleaseDC(grid, dc);
  const Capture redrawn(grid);
  Comparison result{0, 0};
  for (const POINT& cell : cells) {
    const RECT r = CellTextRect(grid, static_cast<UINT>(cell.x), static_cast<UINT>(cell.y));
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        result.differing += painted.At(x, y) != redrawn.At(x, y);
        result.inked += painted.At(x, y) != GetSysColor(COLOR_WINDOW);
      }
    }
  }
  return result;
}

Page::Page() {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = kWidth;
  bi.bmiHeader.biHeight = -kHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
  old_ = SelectObject(dc_, bitmap_);
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

Page::~Page() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF Page::At(int x, int y) const {
  GdiFlush();
  const unsigned p = bits_[y * kWidth + x];
  return RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
}

int Page::Marked(int left, int top, int right, int bottom) const {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += At(x, y) != RGB(255, 255, 255);
  }
  return n;
}



std::string CellText(HWND grid, UINT col, UINT row) {
  std::vector<char> buffer(70000, '\x7f');
  SendMessageA(grid, GM_GETCELLTEXT, GRID_CELL(col, row), reinterpret_cast<LPARAM>(buffer.data()));
  return buffer.data();
}

std::string SelectionOf(HWND grid) {
  auto at = [grid](UINT msg) { return std::to_string(SendMessageA(grid, msg, 0, 0)); };
  return at(GM_GETCURCOL) + "," + at(GM_GETCURROW) + "-" + at(GM_GETSELENDCOL) + "," + at(GM_GETSELENDROW);
}

void SetCellText(HWND grid, UINT col, UINT row, const char* text) {
  SendMessageA(grid, GM_SETCELLTEXT, GRID_CELL(col, row), reinterpret_cast<LPARAM>(text));
}

}  // namespace harness

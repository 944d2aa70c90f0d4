// Allocation failures in Latticor.dll as it ships: its imports of the heap
// functions are pointed at counters, so that the n-th block it asks for is
// refused, for every n along a scripted session. After each refusal the
// grid must keep answering, every stored text must still be there, the
// operation that failed must have changed nothing (a paste keeps the
// fields it stored), and when the grid is destroyed every block it took
// must be back.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using harness::Ask;

// ---- The counters in Latticor.dll's import table -----------------------------

struct Ledger {
  bool armed = false;
  size_t asked = 0;          // allocations asked for while armed
  size_t refuseAt = 0;       // the one to refuse (1-based); 0 refuses none
  const char* refused = nullptr;  // which function refused
  std::map<void*, std::string> live;  // blocks taken while armed, not yet given back: by what, where
  std::string step = "creation";      // where the session is

  // Whether this allocation goes through; counts it.
  bool Grant(const char* function) {
    if (!armed) return true;
    if (++asked != refuseAt) return true;
    refused = function;
    return false;
  }
  void Took(void* block, const char* function) {
    if (armed && block) live[block] = std::string(function) + " in " + step;
  }
  void Gave(void* block) { live.erase(block); }
  std::string Kept() const {
    std::string kept = std::to_string(live.size()) + " blocks kept:";
    for (const auto& [block, from] : live) kept += "\n  " + from;
    return kept;
  }
} ledger;

decltype(&GlobalAlloc) realGlobalAlloc;
decltype(&GlobalReAlloc) realGlobalReAlloc;
decltype(&GlobalFree) realGlobalFree;
decltype(&HeapAlloc) realHeapAlloc;
decltype(&HeapFree) realHeapFree;
void*(__cdecl* realMalloc)(size_t);
void*(__cdecl* realCalloc)(size_t, size_t);
void*(__cdecl* realRealloc)(void*, size_t);
void(__cdecl* realFree)(void*);
char*(__cdecl* realStrdup)(const char*);
decltype(&SetClipboardData) realSetClipboardData;

HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T bytes) {
  if (!ledger.Grant("GlobalAlloc")) return nullptr;
  HGLOBAL block = realGlobalAlloc(flags, bytes);
  ledger.Took(block, "GlobalAlloc");
  return block;
}
HGLOBAL WINAPI CountedGlobalReAlloc(HGLOBAL old, SIZE_T bytes, UINT flags) {
  if (!ledger.Grant("GlobalReAlloc")) return nullptr;
  HGLOBAL block = realGlobalReAlloc(old, bytes, flags);
  if (block && ledger.live.count(old)) {
    ledger.Gave(old);
    ledger.Took(block, "GlobalReAlloc");
  }
  return block;
}
HGLOBAL WINAPI CountedGlobalFree(HGLOBAL block) {
  ledger.Gave(block);
  return realGlobalFree(block);
}
LPVOID WINAPI CountedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!ledger.Grant("HeapAlloc")) return nullptr;
  void* block = realHeapAlloc(heap, flags, bytes);
  ledger.Took(block, "HeapAlloc");
  return block;
}
BOOL WINAPI CountedHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
  ledger.Gave(block);
  return realHeapFree(heap, flags, block);
}
void* __cdecl CountedMalloc(size_t bytes) {
  if (!ledger.Grant("malloc")) return nullptr;
  void* block = realMalloc(bytes);
  ledger.Took(block, "malloc");
  return block;
}
void* __cdecl CountedCalloc(size_t count, size_t bytes) {
  if (!ledger.Grant("calloc")) return nullptr;
  void* block = realCalloc(count, bytes);
  ledger.Took(block, "calloc");
  return block;
}
void* __cdecl CountedRealloc(void* old, size_t bytes) {
  if (!ledger.Grant("realloc")) return nullptr;
  void* block = realRealloc(old, bytes);
  if (block) {
    const bool tracked = ledger.live.count(old) != 0;
    ledger.Gave(old);
    if (tracked || !old) ledger.Took(block, "realloc");
  }
  return block;
}
void __cdecl CountedFree(void* block) {
  ledger.Gave(block);
  realFree(block);
}
char* __cdecl CountedStrdup(const char* text) {
  if (!ledger.Grant("_strdup")) return nullptr;
  char* block = realStrdup(text);
  ledger.Took(block, "_strdup");
  return block;
}

// A block the clipboard takes is the system's to free.
HANDLE WINAPI CountedSetClipboardData(UINT format, HANDLE block) {
  HANDLE taken = realSetClipboardData(format, block);
  if (taken) ledger.Gave(block);
  return taken;
}

// Points the module's import of `function` at `hook`; the address it had,
// or null when the module does not import it.
void* PatchImport(HMODULE module, const char* function, void* hook) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(named->Name), function) != 0) continue;
      DWORD protection;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
      void* original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return original;
    }
  }
  return nullptr;
}

// Every heap function the library imports, counted while the object lives.
class CountedImports {
 public:
  CountedImports() {
    module_ = GetModuleHandleA(LATTICOR_LIBRARY_NAME);
    Patch("GlobalAlloc", realGlobalAlloc, CountedGlobalAlloc);
    Patch("GlobalReAlloc", realGlobalReAlloc, CountedGlobalReAlloc);
    Patch("GlobalFree", realGlobalFree, CountedGlobalFree);
    Patch("HeapAlloc", realHeapAlloc, CountedHeapAlloc);
    Patch("HeapFree", realHeapFree, CountedHeapFree);
    Patch("malloc", realMalloc, CountedMalloc);
    Patch("calloc", realCalloc, CountedCalloc);
    Patch("realloc", realRealloc, CountedRealloc);
    Patch("free", realFree, CountedFree);
    Patch("_strdup", realStrdup, CountedStrdup);
    Patch("SetClipboardData", realSetClipboardData, CountedSetClipboardData);
  }
  ~CountedImports() {
    for (const auto& [function, original] : patched_) PatchImport(module_, function, original);
  }
  // The functions the library does not import.
  std::vector<const char*> missing;

 private:
  template <typename F>
  void Patch(const char* function, F& original, F hook) {
    void* was = PatchImport(module_, function, reinterpret_cast<void*>(hook));
    if (!was) {
      missing.push_back(function);
      return;
    }
    original = reinterpret_cast<F>(was);
    patched_.emplace_back(function, was);
  }
  HMODULE module_;
  std::vector<std::pair<const char*, void*>> patched_;
};

// ---- The session ------------------------------------------------------------

// What the grid shows of itself: shape, selection, origin and every text.
struct Seen {
  LRESULT cols, rows, cur, selEnd, first;
  std::vector<std::string> texts;
  bool operator==(const Seen& o) const {
    return cols == o.cols && rows == o.rows && cur == o.cur && selEnd == o.selEnd && first == o.first &&
           texts == o.texts;
  }
};

Seen Look(HWND grid) {
  Seen s{Ask(grid, GM_GETCOLCOUNT), Ask(grid, GM_GETROWCOUNT),
         MAKELONG(Ask(grid, GM_GETCURCOL), Ask(grid, GM_GETCURROW)),
         MAKELONG(Ask(grid, GM_GETSELENDCOL), Ask(grid, GM_GETSELENDROW)),
         MAKELONG(Ask(grid, GM_GETFIRSTCOL), Ask(grid, GM_GETFIRSTROW)),
         {}};
  for (UINT r = 0; r < UINT(s.rows); ++r) {
    for (UINT c = 0; c < UINT(s.cols); ++c) s.texts.push_back(harness::CellText(grid, c, r));
  }
  return s;
}

std::string Describe(const Seen& s) {
  std::string d = std::to_string(s.cols) + "x" + std::to_string(s.rows) + ":";
  for (const std::string& t : s.texts) d += " [" + t.substr(0, 12) + "]";
  return d;
}

// What an operation promises when memory runs out during it.
enum class Promise {
  kAllOrNothing,    // 0 with the grid as it was, or done in full (the refusal
                    // fell in the repaint that follows the change)
  kFieldsOldOrNew,  // a paste: 0, and each cell of the block holds its old text or its field
  kDone,            // it needs no memory to do its work: done all the same
  kNoChange,        // it changes nothing anyway (painting, printing, reading)
  kWhole,           // a change of the user's, which reports no failure: the
                    // grid as it was, or the change made in full
};

struct Step {
  std::string name;
  std::function<LRESULT(HWND)> run;
  Promise promise;
};

const std::string kLong(300, 'w');  // longer than a text converted on the stack
const char kPasted[] = "p1\tp2\tp3\r\nq1\tq2\tq3\r\n";

// Ctrl and a key, as the grid reads them: this thread's key state.
LRESULT CtrlKey(HWND grid, UINT vk) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  const LRESULT result = SendMessageA(grid, WM_KEYDOWN, vk, 1);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  return result;
}

// A screen reader sets cell (4, 2)'s value, through MSAA.
LRESULT ReaderSetsValue(HWND grid) {
  IAccessible* table = nullptr;
  if (AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                 reinterpret_cast<void**>(&table)) != S_OK) {
    return 0;
  }
  VARIANT cell;
  cell.vt = VT_I4;
  cell.lVal = GRID_ACC_CELL_ID(4, 2, Ask(grid, GM_GETCOLCOUNT), Ask(grid, GM_GETROWCOUNT));
  BSTR text = SysAllocString(L"read in");
  const HRESULT result = table->put_accValue(cell, text);
  SysFreeString(text);
  table->Release();
  return result == S_OK;
}

std::vector<Step> Session(HDC paper) {
  std::vector<Step> steps;
  auto text = [&](UINT c, UINT r, std::string t) {
    steps.push_back({"text " + std::to_string(c) + "," + std::to_string(r),
                     [c, r, t](HWND g) { return Ask(g, GM_SETCELLTEXT, GRID_CELL(c, r), reinterpret_cast<LPARAM>(t.c_str())); },
                     Promise::kAllOrNothing});
  };
  auto message = [&](const char* name, UINT msg, WPARAM w, LPARAM l, Promise promise) {
    steps.push_back({name, [msg, w, l](HWND g) { return Ask(g, msg, w, l); }, promise});
  };
  auto fill = [&](const char* tag) {
    for (UINT r = 1; r <= 3; ++r) {
      for (UINT c = 1; c <= 4; ++c) text(c, r, std::string(tag) + std::to_string(c) + std::to_string(r));
    }
    text(2, 1, kLong);
    text(0, 1, "title");
  };
  auto paint = [&] {
    steps.push_back({"paint", [](HWND g) { InvalidateRect(g, nullptr, TRUE); UpdateWindow(g); return LRESULT{1}; },
                     Promise::kNoChange});
  };
  fill("a");
  paint();
  message("column count 7", GM_SETCOLCOUNT, 7, 0, Promise::kAllOrNothing);
  message("row count 9", GM_SETROWCOUNT, 9, 0, Promise::kAllOrNothing);
  fill("b");
  text(6, 8, "far corner");
  message("insert row 2", GM_INSERTROW, 2, 0, Promise::kAllOrNothing);
  message("append a row", GM_INSERTROW, 0, 0, Promise::kAllOrNothing);
  message("delete row 3", GM_DELETEROW, 3, 0, Promise::kDone);
  message("anchor column 2", GM_SETCURCOL, 2, 0, Promise::kDone);
  message("anchor row 2", GM_SETCURROW, 2, 0, Promise::kDone);
  message("paste 3 x 2", GM_PASTE, reinterpret_cast<WPARAM>(kPasted), 0, Promise::kFieldsOldOrNew);
  message("text the same length", GM_SETCELLTEXT, GRID_CELL(1, 1), reinterpret_cast<LPARAM>("b99"), Promise::kAllOrNothing);
  paint();
  // The user's changes, and their history.
  message("edit and sheet keys", GM_SETEXSTYLE, 0, GS_EX_EDIT | GS_EX_SHEETKEYS, Promise::kDone);
  message("open an edit", GM_EDITCELL, 0, reinterpret_cast<LPARAM>("edited in place"), Promise::kNoChange);
  message("commit it", GM_ENDEDIT, TRUE, 0, Promise::kWhole);
  message("undo the edit", GM_UNDO, 0, 0, Promise::kAllOrNothing);
  message("redo it", GM_REDO, 0, 0, Promise::kAllOrNothing);
  message("select to (3, 3)", GM_SETSELENDCOL, 3, 0, Promise::kDone);
  message("select to row 3", GM_SETSELENDROW, 3, 0, Promise::kDone);
  steps.push_back({"cut by keys", [](HWND g) { return CtrlKey(g, 'X'); }, Promise::kWhole});
  message("current column 4", GM_SETCURCOL, 4, 0, Promise::kDone);
  message("select it alone", GM_SETSELENDROW, 2, 0, Promise::kDone);
  steps.push_back({"paste by keys", [](HWND g) { return CtrlKey(g, 'V'); }, Promise::kWhole});
  message("undo the paste", GM_UNDO, 0, 0, Promise::kAllOrNothing);
  steps.push_back({"a reader's value", ReaderSetsValue, Promise::kWhole});
  steps.push_back({"print", [paper](HWND g) {
                     GridPrintRange range{0, 6, 0, 9, 100};
                     return Ask(g, GM_PRINT, reinterpret_cast<WPARAM>(paper), reinterpret_cast<LPARAM>(&range));
                   },
                   Promise::kNoChange});
  message("row count 4", GM_SETROWCOUNT, 4, 0, Promise::kAllOrNothing);
  message("row count 12", GM_SETROWCOUNT, 12, 0, Promise::kAllOrNothing);
  message("column count 3", GM_SETCOLCOUNT, 3, 0, Promise::kAllOrNothing);
  return steps;
}

// Wine keeps a block of its own for every read of a text that another
// window put on the clipboard, whoever reads it: the heap's growth allows
// for what it keeps for the grid's reads. The blocks it keeps a read.
long SystemKeepsPerClipboardRead(HWND window) {
  auto round = [window] {
    OpenClipboard(window);
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(block), "abc", 4);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    OpenClipboard(window);
    GlobalLock(GetClipboardData(CF_UNICODETEXT));
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
  };
  round();
  const auto before = static_cast<long>(harness::ProcessHeapUse().blocks);
  constexpr int kRounds = 8;
  for (int i = 0; i < kRounds; ++i) round();
  return std::max(0L, (static_cast<long>(harness::ProcessHeapUse().blocks) - before) / kRounds);
}

struct AllocationFailures : ::testing::Test {
  AllocationFailures() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~AllocationFailures() override { CoUninitialize(); }
  harness::TestParent parent;
  harness::Page page;
  harness::MessageBoxCapture boxes;
  std::vector<Step> steps = Session(page.dc());

  HWND Create() { return parent.CreateGrid(7, 0, 0, 400, 300); }
};

TEST_F(AllocationFailures, EveryAllocationOfASessionMayFailWithoutHarm) {
  CountedImports counted;
  // The grid's own blocks come from these; the others are the runtime's.
  for (const char* f : counted.missing) {
    ASSERT_TRUE(std::strcmp(f, "GlobalAlloc") && std::strcmp(f, "GlobalReAlloc") && std::strcmp(f, "GlobalFree"))
        << f << " is not in the import table";
  }
  // The reference: the session with nothing refused, twice, so that what
  // the system does once per process is done before counting.
  // reference[i] is the grid after step i - 1, reference[0] as created.
  std::vector<Seen> reference;
  size_t total = 0;
  const std::string kClipboardRead = "paste by keys";
  for (int warm = 0; warm < 2; ++warm) {
    ledger = Ledger{};
    ledger.armed = true;
    HWND grid = Create();
    ASSERT_NE(grid, nullptr);
    reference.assign(1, Look(grid));
    for (const Step& step : steps) {
      ledger.step = step.name;
      step.run(grid);
      reference.push_back(Look(grid));
    }
    DestroyWindow(grid);
    harness::Pump();
    total = ledger.asked;
  }
  ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
  ASSERT_TRUE(ledger.live.empty()) << ledger.Kept();
  ASSERT_GT(total, 100u);
  const long clipboardKeeps = SystemKeepsPerClipboardRead(parent.hwnd());
  const int gdiBefore = harness::FreeGdiSlots();
  const harness::HeapUse heapBefore = harness::ProcessHeapUse();
  size_t refusals = 0, clipboardReads = 0;
  for (size_t n = 1; n <= total; ++n) {
    ledger = Ledger{};
    ledger.refuseAt = n;
    ledger.armed = true;
    HWND grid = Create();
    const std::string at = "allocation " + std::to_string(n);
    if (!grid) {  // the creation failed, and took nothing with it
      EXPECT_NE(ledger.refused, nullptr) << at << ": the creation failed with memory to spare";
      EXPECT_TRUE(ledger.live.empty()) << at << ": a failed creation kept " << ledger.live.size() << " blocks";
      ++refusals;
      continue;
    }
    // The steps before the refusal run as in the reference; the one where
    // it falls is compared with the grid before it and after it there.
    for (size_t i = 0; i < steps.size() && !ledger.refused; ++i) {
      ledger.step = steps[i].name;
      clipboardReads += steps[i].name == kClipboardRead;
      const LRESULT result = steps[i].run(grid);
      if (!ledger.refused) continue;
      const Seen &before = reference[i], after = Look(grid), &done = reference[i + 1];
      const std::string what = at + " (" + ledger.refused + ") in step " + std::to_string(i) + " \"" +
                               steps[i].name + "\"";
      ++refusals;
      switch (steps[i].promise) {
        case Promise::kAllOrNothing:
          if (result != 0) {
            EXPECT_EQ(after, done) << what << ": reported done: " << Describe(after);
          } else {
            EXPECT_EQ(after, before) << what << ": " << Describe(after) << "\nwas " << Describe(before);
          }
          break;
        case Promise::kFieldsOldOrNew: {
          EXPECT_EQ(result, 0) << what;
          ASSERT_EQ(after.cols, before.cols) << what;
          ASSERT_EQ(after.rows, before.rows) << what;
          for (size_t k = 0; k < after.texts.size(); ++k) {
            EXPECT_TRUE(after.texts[k] == before.texts[k] || after.texts[k] == done.texts[k])
                << what << ": cell " << k << " holds " << after.texts[k];
          }
          break;
        }
        case Promise::kDone:
          EXPECT_EQ(after, done) << what << ": " << Describe(after);
          break;
        case Promise::kNoChange:
          EXPECT_EQ(after, before) << what;
          break;
        case Promise::kWhole:
          EXPECT_TRUE(after == before || after == done) << what << ": " << Describe(after) << "\nwas "
                                                        << Describe(before) << "\nor " << Describe(done);
          break;
      }
    }
    EXPECT_TRUE(boxes.boxes.empty()) << at << ": " << boxes.boxes.front().text;
    boxes.boxes.clear();
    // It keeps answering, and memory is there again.
    ledger.armed = false;
    EXPECT_EQ(Ask(grid, GM_SETCELLTEXT, GRID_CELL(1, 1), reinterpret_cast<LPARAM>("after")), TRUE) << at;
    EXPECT_EQ(harness::CellText(grid, 1, 1), "after") << at;
    InvalidateRect(grid, nullptr, TRUE);
    UpdateWindow(grid);
    ledger.armed = true;
    DestroyWindow(grid);
    harness::Pump();
    EXPECT_TRUE(ledger.live.empty()) << at << " (" << ledger.refused << "): " << ledger.Kept();
    if (HasFailure()) return;
  }
  ledger = Ledger{};
  EXPECT_EQ(refusals, total) << "every refusal fell in a step";
  const harness::HeapUse heapAfter = harness::ProcessHeapUse();
  EXPECT_EQ(harness::FreeGdiSlots(), gdiBefore) << "GDI objects leaked";
  EXPECT_LE(heapAfter.blocks, heapBefore.blocks + 10 + clipboardKeeps * clipboardReads)
      << "the system keeps " << clipboardKeeps << " blocks a clipboard read, read " << clipboardReads << " times";
  std::printf("%zu allocations along the session, each refused in turn\n", total);
}

}  // namespace

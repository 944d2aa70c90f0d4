#include "watch.h"

#include "access/access.h"
#include "latticor.h"
#include "notify.h"
#include "window.h"

namespace latticor::win32 {

namespace {

thread_local ChangeWatch* innermostWatch;

void NotifySelectionChange(HWND grid, const AccessSnapshot& before) {
  const GridState* s = StateOf(grid);
  if (!s || !(s->exStyle & kExSelChange)) return;
  if (s->curCol == before.curCol && s->curRow == before.curRow && s->selEndCol == before.selEndCol &&
      s->selEndRow == before.selEndRow) {
    return;
  }
  const Block b = SelectedBlock(*s);
  const GridRange range{b.c0, b.c1, b.r0, b.r1};
  SendNotification(grid, GN_SELCHANGED, reinterpret_cast<LPARAM>(&range));
}

}  // namespace

ChangeWatch::ChangeWatch(HWND grid, const GridState& s)
    : grid_(grid), before_(SnapshotOf(s)), outer_(innermostWatch), outermost_(true) {
  for (const ChangeWatch* w = outer_; w; w = w->outer_) {
    if (w->grid_ == grid) outermost_ = false;
  }
  innermostWatch = this;
}

ChangeWatch::~ChangeWatch() {
  innermostWatch = outer_;
  if (!outermost_) return;
  AnnounceChanges(grid_, before_);
  NotifySelectionChange(grid_, before_);
}

}  // namespace latticor::win32

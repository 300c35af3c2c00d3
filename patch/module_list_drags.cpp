// Mouse drags on a module list: moving the selection by a title bar, the rubber band and
// panning. Each list keeps its own drag state, so windows never disturb each other's drags.
#include "edit/snap_offset.h"
#include "patch/module_list.h"
#include "platform/options.h"

void TModuleListe::BeginTitleDrag(TModul& module, bool shift, int x, int y) {
  STitleDrag& drag = titleDrag_;
  drag.active = true;
  drag.grip = {x, y};
  const TRect start = AbsoluteRect(module);
  drag.start = {start.left, start.top};
  if (shift) {
    module.Marked->value = module.IsMarked() ? 0 : 1;
    drag.active = module.IsMarked();
  } else if (!module.IsMarked()) {
    UnmarkAll();
    module.Marked->value = 1;
  }
  module.PropertyChanged(module.Marked.get());
  NotifyState();
  drag.selection = TPropTypList();
  if (drag.active) CollectMarked(drag.selection, 0);
}

void TModuleListe::TitleDrag(TModul& module, int x, int y) {
  const STitleDrag& drag = titleDrag_;
  if (!drag.active) return;
  int dx = x - drag.grip.x;
  int dy = y - drag.grip.y;
  const TRect bounds = BoundsOfMarked(true);
  if (HorizontalScroll() + bounds.left + dx < 0) dx = -bounds.left - HorizontalScroll();
  if (VerticalScroll() + bounds.top + dy < 0) dy = -bounds.top - VerticalScroll();
  const SViewOptions& view = ViewOptions();
  if (view.snapToGrid && view.gridSize > 0) {
    const int grid = view.gridSize;
    dx += SnapOffsetScrolled(HorizontalScroll(), module.Rect->left->value + dx, grid);
    dy += SnapOffsetScrolled(VerticalScroll(), module.Rect->top->value + dy, grid);
  }
  if (dx != 0 || dy != 0) MoveMarked(drag.selection, dx, dy);
}

void TModuleListe::EndTitleDrag(TModul& module) {
  STitleDrag& drag = titleDrag_;
  if (!drag.active) return;
  drag.active = false;
  const TRect now = AbsoluteRect(module);
  if (now.left != drag.start.x || now.top != drag.start.y) {
    RecordMove(drag.selection, now.left - drag.start.x, now.top - drag.start.y, nullptr);
  }
  drag.selection = TPropTypList();
}

void TModuleListe::CanvasMouseDown(int mode, bool shift, int x, int y) {
  SCanvasDrag& drag = canvasDrag_;
  drag.mode = mode;
  drag.last = {x, y};
  drag.band.reset();
  if (mode != kCanvasRubberBand) return;
  if (!shift) UnmarkAll();
  drag.band = std::make_unique<TGummiband>(TPoint{x + HorizontalScroll(), y + VerticalScroll()},
                                           TPoint{x, y}, ViewOptions().colorBackground);
}

void TModuleListe::CanvasMouseMove(bool shift, int x, int y) {
  SCanvasDrag& drag = canvasDrag_;
  if (drag.mode == kCanvasPanning) {
    if (Canvas) Canvas->ScrollBy(drag.last.x - x, drag.last.y - y);
    drag.last = {x, y};
    return;
  }
  if (!drag.band) return;
  const int hs = HorizontalScroll();
  const int vs = VerticalScroll();
  drag.band->Update({x + hs, y + vs}, {x, y});
  const TRect r = drag.band->GetRect();
  MarkInRect(r.left - hs - 1, r.top - vs - 1, r.right - hs + 1, r.bottom - vs + 1, shift);
}

void TModuleListe::CanvasMouseUp() {
  SCanvasDrag& drag = canvasDrag_;
  drag.band.reset();
  drag.mode = -1;
  NotifyState();
}

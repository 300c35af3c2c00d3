// Selection and placement on a module list: marking by rectangle, the bounds of the selection,
// moving, aligning and placing new modules on the grid.
#include <algorithm>
#include <limits>

#include "edit/snap_offset.h"
#include "patch/module_actions.h"
#include "patch/module_list.h"
#include "platform/options.h"

namespace {

bool Overlaps(const TRect& r, int left, int top, int right, int bottom) {
  return left < r.right && r.left < right && top < r.bottom && r.top < bottom;
}

bool LiesInside(const TRect& r, int left, int top, int right, int bottom) {
  return left <= r.left && r.right <= right && top <= r.top && r.bottom <= bottom;
}

}  // namespace

void TModuleListe::UnmarkAll() {
  bool changed = false;
  for (TModul* module : Modules()) {
    if (!module->IsMarked()) continue;
    module->SetMarked(false);
    changed = true;
  }
  if (changed) NotifyState();
}

void TModuleListe::MarkInRect(int left, int top, int right, int bottom, bool keep) {
  bool changed = false;
  for (TModul* module : Modules()) {
    const TRect r = module->Rect->GetRect();
    const bool marked = module->IsMarked();
    const bool stays = marked && (keep || Overlaps(r, left, top, right, bottom));
    const bool joins = !marked && LiesInside(r, left, top, right, bottom);
    if (marked == (stays || joins)) continue;
    module->SetMarked(!marked);
    changed = true;
  }
  if (changed) NotifyState();
}

void TModuleListe::CollectMarked(TPropTypList& target, int mode) const {
  for (const auto& [key, child] : Children()) {
    const auto* module = dynamic_cast<const TModul*>(child.get());
    if (module && module->IsMarked() == (mode == 0)) ShareChild(*this, target, key);
  }
}

TRect TModuleListe::BoundsOfMarked(bool marked) const {
  constexpr int kMax = std::numeric_limits<int>::max();
  constexpr int kMin = std::numeric_limits<int>::min();
  TRect bounds{kMax, kMax, kMin, kMin};
  bool any = false;
  for (TModul* module : Modules()) {
    if (module->IsMarked() != marked) continue;
    const TRect r = module->Rect->GetRect();
    bounds = {std::min(bounds.left, r.left), std::min(bounds.top, r.top),
              std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    any = true;
  }
  return any ? bounds : TRect{};
}

int TModuleListe::MarkedCount() const {
  const auto modules = Modules();
  return static_cast<int>(
      std::count_if(modules.begin(), modules.end(), [](TModul* m) { return m->IsMarked(); }));
}

void TModuleListe::MoveMarked(const TPropTypList& selection, int dx, int dy) {
  for (TModul* module : Modules(selection)) {
    TPropRect& rect = *module->Rect;
    rect.Set(rect.left->value + dx, rect.top->value + dy, rect.right->value + dx,
             rect.bottom->value + dy);
    module->PropertyChanged(module->Rect.get());
  }
}

TRect TModuleListe::AbsoluteRect(const TModul& module) const {
  TRect r = module.Rect->GetRect();
  return {r.left + HorizontalScroll(), r.top + VerticalScroll(), r.right + HorizontalScroll(),
          r.bottom + VerticalScroll()};
}

void TModuleListe::RecordMove(const TPropTypList& selection, int dx, int dy,
                              TMacroAction* compound) {
  auto moves = std::make_shared<TMacroAction>("move modules");
  TMacroAction& target = compound ? *compound : *moves;
  for (const auto& [key, child] : selection.Children()) {
    const auto* module = dynamic_cast<const TModul*>(child.get());
    if (module == nullptr) continue;
    const TRect now = AbsoluteRect(*module);
    if (compound) {
      target.Append(std::make_shared<TActionMoveModul>(this, key, now.left, now.top, now.left + dx,
                                                       now.top + dy));
    } else {
      target.Append(std::make_shared<TActionMoveModul>(this, key, now.left - dx, now.top - dy,
                                                       now.left, now.top));
    }
  }
  if (!compound) ActionManager.RecordAction(moves);
}

void TModuleListe::Align(TAlignMode mode) {
  const TRect bounds = BoundsOfMarked(true);
  const int grid = ViewOptions().gridSize;
  auto alignment = std::make_shared<TMacroAction>("align module");
  for (const auto& [key, child] : Children()) {
    const auto* module = dynamic_cast<const TModul*>(child.get());
    if (module == nullptr || !module->IsMarked()) continue;
    const TRect m = module->Rect->GetRect();
    TPoint to{m.left, m.top};
    switch (mode) {
      case TAlignMode::Grid:
        to.x += SnapOffset(HorizontalScroll() + m.left, grid);
        to.y += SnapOffset(VerticalScroll() + m.top, grid);
        break;
      case TAlignMode::Left:
        to.x = bounds.left;
        break;
      case TAlignMode::Top:
        to.y = bounds.top;
        break;
      case TAlignMode::Right:
        to.x = bounds.right - (m.right - m.left);
        break;
      case TAlignMode::Bottom:
        to.y = bounds.bottom - (m.bottom - m.top);
        break;
    }
    if (to.x == m.left && to.y == m.top) continue;
    const int hs = HorizontalScroll();
    const int vs = VerticalScroll();
    alignment->Append(std::make_shared<TActionMoveModul>(this, key, m.left + hs, m.top + vs,
                                                         to.x + hs, to.y + vs));
  }
  if (alignment->IsEmpty()) return;
  alignment->Execute();
  ActionManager.RecordAction(alignment);
}

TRPointerAction TModuleListe::CreateModuleAt(const std::string& typeName, const std::string& key,
                                             int x, int y, bool prepareOnly) {
  bool known = true;
  childFactory.Call(typeName, known);
  if (!known) return nullptr;
  UnmarkAll();
  const SViewOptions& view = ViewOptions();
  if (view.snapToGrid && view.gridSize > 0) {
    x += SnapOffsetScrolled(HorizontalScroll(), x, view.gridSize);
    y += SnapOffsetScrolled(VerticalScroll(), y, view.gridSize);
  }
  auto creation = std::make_shared<TActionCreateModul>(this, typeName, key, x, y);
  if (prepareOnly) return creation;
  if (creation->Execute()) ActionManager.RecordAction(creation);
  return nullptr;
}

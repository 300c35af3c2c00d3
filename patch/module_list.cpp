#include "patch/module_list.h"

#include <QSaveFile>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "edit/module_actions.h"
#include "edit/snap_offset.h"
#include "patch/dokument_klang.h"
#include "patch/modul_arbeiten.h"
#include "patch/module_dialogs.h"
#include "patch/module_registry.h"
#include "persist/text_reader.h"
#include "persist/tree_message.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/options.h"
#include "platform/wait_cursor.h"

namespace {

// "Select all" covers every position a module can take.
constexpr TRect kEverywhere{-30000, -30000, 16777215, 16777215};
// Pasted modules appear this far right of and below the modules they were copied from.
constexpr int kPasteShift = 10;
constexpr char kPasteKeyBase[] = "Clpb";

// One drag at a time, process-wide: a title-bar drag, or a rubber band or panning on a canvas.
struct STitleDrag {
  bool active = false;
  TPoint grip;   // the press point in title-bar coordinates
  TPoint start;  // the dragged module's absolute position at the press
  TPropTypList selection;
};

struct SCanvasDrag {
  int mode = -1;
  TPoint last;
  std::unique_ptr<TGummiband> band;
};

STitleDrag& TitleDragState() {
  static STitleDrag state;
  return state;
}

SCanvasDrag& CanvasDragState() {
  static SCanvasDrag state;
  return state;
}

bool Overlaps(const TRect& r, int left, int top, int right, int bottom) {
  return left < r.right && r.left < right && top < r.bottom && r.top < bottom;
}

bool LiesInside(const TRect& r, int left, int top, int right, int bottom) {
  return left <= r.left && r.right <= right && top <= r.top && r.bottom <= bottom;
}

bool NeedsEngineStop(int code) {
  return code == kCommandRedo || code == kCommandUndo || code == kCommandCut ||
         code == kCommandDelete || code == kCommandPaste;
}

int PositiveRemainder(int value, int grid) { return ((value % grid) + grid) % grid; }

}  // namespace

TModuleListe::TModuleListe() {
  childFactory = TAMsgPropTyp::Bind(this, &TModuleListe::CreateModule);
  ActionManager.changeCallback = TAMsgStandardCallback([this] {
    HistoryChanged();
    return 0;
  });
}

bool TModuleListe::Notify(int code, int, void*) {
  if (code == kTreeColorsChanged) RepaintCanvas();
  if (code == kTreeClearHistory) ActionManager.ClearHistory();
  return true;
}

TRPointer<TModuleListe> TModuleListe::CreateEmpty() const {
  return std::make_shared<TModuleListe>();
}

TRPointer<TPropTypList> TModuleListe::CreateModule(const std::string& name, bool& queryOnly) {
  const bool panelItem = name == "ViewFader" || name == "ViewText" || name == "VolumeView";
  if (!panelItem) {
    queryOnly = false;
    return nullptr;
  }
  TRPointer<TModul> module = CreateModuleByType(name, queryOnly);
  if (module) module->parent = this;
  return module;
}

TRPointerMacroAction TModuleListe::DeleteModules(const TPropTypList& modules, bool prepareOnly) {
  if (modules.Children().empty()) return nullptr;
  const TWaitCursor wait;
  auto deletion = std::make_shared<TMacroAction>("delete modules");
  for (const auto& [key, module] : modules.Children()) {
    deletion->Append(std::make_shared<TActionDeleteModul>(this, key));
  }
  if (prepareOnly) return deletion;
  deletion->Execute();
  ActionManager.RecordAction(deletion);
  return nullptr;
}

int TModuleListe::QueryCommand(int code, std::string& caption) {
  switch (code) {
    case kCommandRedo:
      caption = ActionManager.RedoText();
      return ActionManager.RedoCount();
    case kCommandUndo:
      caption = ActionManager.UndoText();
      return ActionManager.UndoCount();
    case kCommandSelectAll:
      return Children().empty() ? 0 : 1;
    default:
      return 0;
  }
}

bool TModuleListe::RenameModule(const std::string& oldKey, const std::string& newKey) {
  TRPointerPropTyp module = Get(oldKey);
  if (!module || Has(newKey)) return false;
  Remove(oldKey);
  Add(newKey, module);
  return true;
}

void TModuleListe::ExecuteCommand(int code, const std::string& argument) {
  TDokumentKlang* document = NeedsEngineStop(code) ? FindAncestor<TDokumentKlang>() : nullptr;
  const bool wasPlaying = document != nullptr && document->IsStarted();
  const bool stopped = wasPlaying && document->StopSound() == 0;
  TPropTypList marked;
  switch (code) {
    case kCommandRedo:
      ActionManager.Redo();
      break;
    case kCommandUndo:
      ActionManager.Undo();
      break;
    case kCommandCut:
      CopyToClipboard();
      [[fallthrough]];
    case kCommandDelete:
      CollectMarked(marked, 0);
      DeleteModules(marked, false);
      break;
    case kCommandCopy:
      CopyToClipboard();
      break;
    case kCommandSelectAll:
      MarkInRect(kEverywhere.left, kEverywhere.top, kEverywhere.right, kEverywhere.bottom, false);
      break;
    case kCommandPaste:
      PasteFromClipboard();
      break;
    case kCommandAlignGrid:
    case kCommandAlignLeft:
    case kCommandAlignTop:
    case kCommandAlignRight:
    case kCommandAlignBottom:
      Align(static_cast<TAlignMode>(code - kCommandAlignGrid));
      break;
    case kCommandSaveGroup:
      SaveMarkedAsGroup(argument);
      break;
    case kCommandModuleDialog:
      if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowModuleList(*this);
      break;
    default:
      break;
  }
  if (document == nullptr) return;
  document->RestartSound(false);
  if (stopped) {
    document->StartSound();
    NotifyState();
  }
}

void TModuleListe::SetView(TModuleCanvas* canvas, int mode) {
  if (canvas == Canvas) return;
  Canvas = canvas;
  editable_ = mode != kPanelSample;
  for (TModul* module : Modules())
    module->CreatePanel(canvas, mode);
}

void TModuleListe::ShowModule(TModul& module) {
  if (Canvas) module.CreatePanel(Canvas, editable_ ? kPanelEditable : kPanelSample);
}

void TModuleListe::RepaintCanvas() {
  if (Canvas) Canvas->Repaint();
}

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
    x += SnapOffset(PositiveRemainder(HorizontalScroll(), view.gridSize) + x, view.gridSize);
    y += SnapOffset(PositiveRemainder(VerticalScroll(), view.gridSize) + y, view.gridSize);
  }
  auto creation = std::make_shared<TActionCreateModul>(this, typeName, key, x, y);
  if (prepareOnly) return creation;
  if (creation->Execute()) ActionManager.RecordAction(creation);
  return nullptr;
}

bool TModuleListe::InsertGroupFile(const std::string& fileName, int x, int y, std::string& error) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) {
    error = fileName + ": the group file cannot be opened";
    return false;
  }
  const std::string text{std::istreambuf_iterator<char>(file), {}};
  std::istringstream in(text);
  auto group = std::make_shared<TMacroAction>("create group");
  const int pasted = Paste(in, group.get());
  if (pasted <= 0) {
    error = fileName + ": not a readable group file (" +
            (pasted < 0 ? text_format::DescribeReadStop(in, text) : "it holds no modules") + ")";
    return false;
  }
  const TRect bounds = BoundsOfMarked(true);
  TPropTypList marked;
  CollectMarked(marked, 0);
  auto placement = std::make_shared<TMacroAction>("move modules");
  RecordMove(marked, x - bounds.left, y - bounds.top, placement.get());
  placement->Execute();
  group->Append(placement);
  ActionManager.RecordAction(group);
  return true;
}

int TModuleListe::Paste(std::istream& in, TMacroAction* compound) {
  const TWaitCursor wait;
  TRPointer<TModuleListe> pasted = CreateEmpty();
  pasted->parent = parent;
  if (!pasted->Read(in)) return -1;
  if (pasted->Children().empty()) return 0;
  pasted->Broadcast(kTreePasting, 0, nullptr);
  RenameCollisions(*pasted);
  UnmarkAll();
  auto creation = compound ? nullptr : std::make_shared<TMacroAction>("create modules");
  TMacroAction& target = compound ? *compound : *creation;
  std::vector<TModul*> added;
  for (const auto& [key, child] : pasted->Children()) {
    auto* module = dynamic_cast<TModul*>(child.get());
    if (module == nullptr) continue;
    Add(key, child);
    module->parent = this;
    const TRect r = module->Rect->GetRect();
    module->Rect->Set(r.left + kPasteShift, r.top + kPasteShift, r.right + kPasteShift,
                      r.bottom + kPasteShift);
    module->Marked->value = 1;
    target.Append(std::make_shared<TActionCreateExistModul>(this, key));
    added.push_back(module);
  }
  for (TModul* module : added)
    ShowModule(*module);
  pasted->Broadcast(kTreeAfterRead, 0, FindAncestor<TDokumentKlang>());
  if (creation) ActionManager.RecordAction(creation);
  RepaintCanvas();
  return static_cast<int>(added.size());
}

// Every pasted module whose key is taken here gets the next free "Clpb<n>".
void TModuleListe::RenameCollisions(TModuleListe& pasted) {
  int n = 1;
  for (bool renamed = true; renamed;) {
    renamed = false;
    for (const auto& [key, child] : pasted.Children()) {
      if (!Has(key)) continue;
      std::string candidate;
      do {
        candidate = kPasteKeyBase + std::to_string(n++);
      } while (Has(candidate) || pasted.Has(candidate));
      pasted.RenameModule(std::string(key), candidate);
      renamed = true;
      break;
    }
  }
}

bool TModuleListe::CopyToStream(std::ostream& out) const {
  TPropTypList marked;
  CollectMarked(marked, 0);
  if (marked.Children().empty()) return false;
  marked.Write(out);
  out << text_format::kBlockEnd << '\n';
  return true;
}

bool TModuleListe::CopyToClipboard() {
  std::ostringstream text;
  const bool copied = CopyToStream(text) && Clipboard().WriteData(text.str());
  NotifyState();
  return copied;
}

void TModuleListe::PasteFromClipboard() {
  std::string text;
  if (!Clipboard().ReadData(text)) return;
  std::istringstream in(text);
  if (Paste(in, nullptr) >= 0) return;
  ShowMessage(nullptr, {QStringLiteral("Fault"),
                        QStringLiteral("The clipboard text is not readable (%1).")
                            .arg(QString::fromStdString(text_format::DescribeReadStop(in, text))),
                        TMessageIcon::Error, TMessageButtons::Ok});
}

void TModuleListe::SaveMarkedAsGroup(const std::string& fileName) {
  std::ostringstream text;
  if (!CopyToStream(text)) return;
  const std::string bytes = text.str();
  QSaveFile file(QString::fromStdString(fileName));
  const bool saved = file.open(QIODevice::WriteOnly) &&
                     file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                         static_cast<qint64>(bytes.size()) &&
                     file.commit();
  if (!saved) {
    ShowMessage(
        nullptr,
        {QStringLiteral("Fault"),
         QStringLiteral("Can't write the group file %1 !").arg(QString::fromStdString(fileName)),
         TMessageIcon::Error, TMessageButtons::Ok});
  }
}

void TModuleListe::BeginTitleDrag(TModul& module, bool shift, int x, int y) {
  STitleDrag& drag = TitleDragState();
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
  const STitleDrag& drag = TitleDragState();
  if (!drag.active) return;
  int dx = x - drag.grip.x;
  int dy = y - drag.grip.y;
  const TRect bounds = BoundsOfMarked(true);
  if (HorizontalScroll() + bounds.left + dx < 0) dx = -bounds.left - HorizontalScroll();
  if (VerticalScroll() + bounds.top + dy < 0) dy = -bounds.top - VerticalScroll();
  const SViewOptions& view = ViewOptions();
  if (view.snapToGrid && view.gridSize > 0) {
    const int grid = view.gridSize;
    dx += SnapOffset(PositiveRemainder(HorizontalScroll(), grid) + module.Rect->left->value + dx,
                     grid);
    dy +=
        SnapOffset(PositiveRemainder(VerticalScroll(), grid) + module.Rect->top->value + dy, grid);
  }
  if (dx != 0 || dy != 0) MoveMarked(drag.selection, dx, dy);
}

void TModuleListe::EndTitleDrag(TModul& module) {
  STitleDrag& drag = TitleDragState();
  if (!drag.active) return;
  drag.active = false;
  const TRect now = AbsoluteRect(module);
  if (now.left != drag.start.x || now.top != drag.start.y) {
    RecordMove(drag.selection, now.left - drag.start.x, now.top - drag.start.y, nullptr);
  }
  drag.selection = TPropTypList();
}

void TModuleListe::CanvasMouseDown(int mode, bool shift, int x, int y) {
  SCanvasDrag& drag = CanvasDragState();
  drag.mode = mode;
  drag.last = {x, y};
  drag.band.reset();
  if (mode != kCanvasRubberBand) return;
  if (!shift) UnmarkAll();
  drag.band = std::make_unique<TGummiband>(TPoint{x + HorizontalScroll(), y + VerticalScroll()},
                                           TPoint{x, y}, ViewOptions().colorBackground);
}

void TModuleListe::CanvasMouseMove(bool shift, int x, int y) {
  SCanvasDrag& drag = CanvasDragState();
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
  RepaintCanvas();
}

void TModuleListe::CanvasMouseUp() {
  SCanvasDrag& drag = CanvasDragState();
  drag.band.reset();
  drag.mode = -1;
  RepaintCanvas();
  NotifyState();
}

void TModuleListe::HistoryChanged() {
  if (TDokumentKlang* document = FindAncestor<TDokumentKlang>()) document->MarkChanged();
  NotifyState();
}

void TModuleListe::RestartDocument(bool restart) {
  if (TDokumentKlang* document = FindAncestor<TDokumentKlang>()) document->RestartSound(restart);
}

std::vector<TModul*> TModuleListe::Modules() const { return Modules(*this); }

std::vector<TModul*> TModuleListe::Modules(const TPropTypList& selection) const {
  std::vector<TModul*> modules;
  for (const auto& [key, child] : selection.Children()) {
    if (auto* module = dynamic_cast<TModul*>(child.get())) modules.push_back(module);
  }
  return modules;
}

TRPointer<TModuleListe> TModuleListeArbeiten::CreateEmpty() const {
  auto list = std::make_shared<TModuleListeArbeiten>();
  list->refusesMacroPorts = refusesMacroPorts;
  return list;
}

TRPointer<TPropTypList> TModuleListeArbeiten::CreateModule(const std::string& name,
                                                           bool& queryOnly) {
  if (refusesMacroPorts && IsMacroPortType(name)) {
    queryOnly = false;
    return nullptr;
  }
  TRPointer<TModul> module = CreateModuleByType(name, queryOnly);
  if (module) module->parent = this;
  return module;
}

TRPointerMacroAction TModuleListeArbeiten::DeleteModules(const TPropTypList& modules,
                                                         bool prepareOnly) {
  auto deletion = std::make_shared<TMacroAction>("delete modules");
  for (TModul* module : Modules(modules)) {
    if (auto* working = dynamic_cast<TModulArbeiten*>(module)) {
      if (TRPointerMacroAction wires = working->OutputList->DisconnectAll())
        deletion->Append(wires);
    }
  }
  if (TRPointerMacroAction removal = TModuleListe::DeleteModules(modules, true)) {
    deletion->Append(removal);
  }
  if (prepareOnly) return deletion;
  deletion->Execute();
  ActionManager.RecordAction(deletion);
  return nullptr;
}

int TModuleListeArbeiten::QueryCommand(int code, std::string& caption) {
  switch (code) {
    case kCommandCut:
    case kCommandCopy:
    case kCommandDelete:
    case kCommandSaveGroup:
      return MarkedCount() > 0 ? 1 : 0;
    case kCommandPaste:
      return Canvas != nullptr && Clipboard().HasData() ? 1 : 0;
    case kQueryModuleCount:
      return static_cast<int>(Modules().size());
    case kQueryMarkedCount:
      return MarkedCount();
    case kCommandModuleDialog:
      return 1;
    default:
      return TModuleListe::QueryCommand(code, caption);
  }
}

bool TModuleListeArbeiten::RenameModule(const std::string& oldKey, const std::string& newKey) {
  auto* module = dynamic_cast<TModulArbeiten*>(Get(oldKey).get());
  std::vector<TEingang*> fed;
  if (module != nullptr) {
    for (TEinAusgang* port : module->OutputList->Ports()) {
      const auto inputs = static_cast<TAusgang*>(port)->FedInputs();
      fed.insert(fed.end(), inputs.begin(), inputs.end());
    }
  }
  if (!TModuleListe::RenameModule(oldKey, newKey)) return false;
  for (TEingang* input : fed)
    input->ModuleName->value = newKey;
  return true;
}

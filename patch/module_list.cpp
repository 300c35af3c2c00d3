// The module list's own state: its child factory, its canvas and views, and its history.
#include "patch/module_list.h"

#include "patch/dokument_klang.h"
#include "patch/modul_arbeiten.h"
#include "patch/module_registry.h"
#include "persist/tree_message.h"

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

bool TModuleListe::RenameModule(const std::string& oldKey, const std::string& newKey) {
  TRPointerPropTyp module = Get(oldKey);
  if (!module || Has(newKey)) return false;
  Remove(oldKey);
  Add(newKey, module);
  return true;
}

void TModuleListe::SetView(TModuleCanvas* canvas, int mode) {
  if (canvas == Canvas) return;
  Canvas = canvas;
  editable_ = mode != kPanelSample;
  for (TModul* module : Modules())
    module->CreatePanel(canvas, mode);
}

void TModuleListe::ReleaseCanvas(const TModuleCanvas& canvas) {
  if (Canvas == &canvas) SetView(nullptr, kPanelWindowClosing);
}

void TModuleListe::ShowModule(TModul& module) {
  if (Canvas) module.CreatePanel(Canvas, editable_ ? kPanelEditable : kPanelSample);
}

void TModuleListe::RepaintCanvas() {
  if (Canvas) Canvas->Repaint();
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

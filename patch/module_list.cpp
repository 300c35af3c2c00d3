// The module list's own state: its child factory, its modules and ports by key, the canvas that
// shows it, its change channel and its history.
#include "patch/module_list.h"

#include "patch/document_host.h"
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
  if (code == kTreeColorsChanged) Announce(SListChange(TListChangeKind::ColoursChanged));
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

TModul* TModuleListe::ModuleAt(const std::string& key) const {
  return dynamic_cast<TModul*>(Get(key).get());
}

TEingang* TModuleListe::InputAt(const std::string& module, const std::string& port) const {
  auto* working = dynamic_cast<TModulArbeiten*>(ModuleAt(module));
  return working ? working->InputList->Input(port) : nullptr;
}

TAusgang* TModuleListe::OutputAt(const std::string& module, const std::string& port) const {
  auto* working = dynamic_cast<TModulArbeiten*>(ModuleAt(module));
  return working ? working->OutputList->Output(port) : nullptr;
}

std::vector<TEingang*> TModuleListe::InputsFedBy(const TAusgang& output) const {
  std::vector<TEingang*> inputs;
  for (TModul* module : Modules()) {
    if (auto* working = dynamic_cast<TModulArbeiten*>(module))
      working->InputList->InputsFedBy(output, inputs);
  }
  return inputs;
}

TRPointer<TModul> TModuleListe::NewModule(const std::string& typeName) {
  bool queryOnly = false;
  return std::dynamic_pointer_cast<TModul>(childFactory.Call(typeName, queryOnly));
}

void TModuleListe::InsertModule(const std::string& key, TRPointer<TModul> module) {
  Adopt(key, std::move(module));
  ShowAdded(key);
}

void TModuleListe::Adopt(const std::string& key, TRPointer<TModul> module) {
  module->parent = this;
  Add(key, std::move(module));
}

// Announced once the module is shown, so that views meet it with the ports and size that showing
// gives it.
void TModuleListe::ShowAdded(const std::string& key) {
  TModul* module = ModuleAt(key);
  if (module == nullptr) return;
  Show(*module);
  Announce(SListChange(TListChangeKind::ModuleAdded, key, module));
}

void TModuleListe::Announce(const SListChange& change) {
  changes_.Announce(change);
  if (TDocumentHost* document = FindAncestor<TDocumentHost>())
    document->SoundChanges().Announce(change);
}

bool TModuleListe::TakeOutModule(const std::string& key) {
  // Held until the views heard of it, so that nothing they still reach is freed under them.
  const TRPointer<TModul> module = std::dynamic_pointer_cast<TModul>(Get(key));
  if (!module) return false;
  module->CreatePanel(nullptr, kPanelEditable);
  Remove(key);
  Announce(SListChange(TListChangeKind::ModuleRemoved, key));
  return true;
}

bool TModuleListe::RenameModule(const std::string& oldKey, const std::string& newKey) {
  auto module = std::dynamic_pointer_cast<TModul>(Get(oldKey));
  if (!module || Has(newKey)) return false;
  Remove(oldKey);
  Announce(SListChange(TListChangeKind::ModuleRemoved, oldKey));
  Add(newKey, module);
  Announce(SListChange(TListChangeKind::ModuleAdded, newKey, module.get()));
  return true;
}

void TModuleListe::SetView(TModuleCanvasInterface* canvas, int mode) {
  if (canvas == Canvas) return;
  Canvas = canvas;
  editable_ = mode != kPanelSample;
  for (TModul* module : Modules())
    module->CreatePanel(canvas, mode);
}

void TModuleListe::ReleaseCanvas(const TModuleCanvasInterface& canvas) {
  if (Canvas == &canvas) SetView(nullptr, kPanelWindowClosing);
}

void TModuleListe::Show(TModul& module) {
  if (Canvas) module.CreatePanel(Canvas, editable_ ? kPanelEditable : kPanelSample);
}

void TModuleListe::HistoryChanged() {
  MarkDocumentChanged();
  NotifyState();
}

void TModuleListe::MarkDocumentChanged() {
  if (TDocumentHost* document = FindAncestor<TDocumentHost>()) document->MarkChanged();
}

void TModuleListe::RestartDocument(bool restart) {
  if (TDocumentHost* document = FindAncestor<TDocumentHost>()) document->RestartSound(restart);
}

std::vector<TModul*> TModuleListe::Modules() const { return Modules(*this); }

std::vector<TModul*> TModuleListe::Modules(const TPropTypList& selection) const {
  std::vector<TModul*> modules;
  for (const auto& [key, child] : selection.Children()) {
    if (auto* module = dynamic_cast<TModul*>(child.get())) modules.push_back(module);
  }
  return modules;
}

TModuleListe* OwnerList(const TModul& module) { return dynamic_cast<TModuleListe*>(module.parent); }

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
    input->SetWire(newKey, input->Other->value);
  return true;
}

#include "patch/port_actions.h"

#include "patch/modul_arbeiten.h"
#include "patch/patch_host.h"

namespace {

TModulArbeiten* ModuleOf(const TPatchHost* list, const std::string& key) {
  return dynamic_cast<TModulArbeiten*>(list->ModuleAt(key));
}

void InputsChanged(TModulArbeiten& module) {
  module.PropertyChanged(module.InputList.get());
  module.Announce(TListChangeKind::PortsChanged);
}

}  // namespace

TInputAction::TInputAction(TPatchHost* list, std::string moduleKey, std::string portTypeName,
                           std::string portKey)
    : list_(list),
      moduleKey_(std::move(moduleKey)),
      portTypeName_(std::move(portTypeName)),
      portKey_(std::move(portKey)) {}

bool TActionNeuerEingang::Execute() {
  TModulArbeiten* module = ModuleOf(list_, moduleKey_);
  if (module == nullptr) return false;
  if (portKey_.empty()) portKey_ = module->InputList->UniqueKey("");
  if (module->InputList->Has(portKey_)) return false;
  if (!module->InputList->AddPortByName(portTypeName_, portKey_)) return false;
  InputsChanged(*module);
  return true;
}

TRPointerAction TActionNeuerEingang::CreateInverse() const {
  return std::make_shared<TActionEingangEntfernen>(list_, moduleKey_, portTypeName_, portKey_);
}

bool TActionEingangEntfernen::Execute() {
  TModulArbeiten* module = ModuleOf(list_, moduleKey_);
  TEinAusgang* port = module ? module->InputList->Port(portKey_) : nullptr;
  if (port == nullptr) return false;
  portTypeName_ = port->typeName;
  module->InputList->Remove(portKey_);
  InputsChanged(*module);
  return true;
}

TRPointerAction TActionEingangEntfernen::CreateInverse() const {
  return std::make_shared<TActionNeuerEingang>(list_, moduleKey_, portTypeName_, portKey_);
}

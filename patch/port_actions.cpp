#include "patch/port_actions.h"

#include "patch/modul_arbeiten.h"
#include "patch/module_list.h"

namespace {

TModulArbeiten* ModuleOf(const TModuleListe* list, const std::string& key) {
  return dynamic_cast<TModulArbeiten*>(list->Get(key).get());
}

void InputsChanged(TModulArbeiten& module) {
  module.PropertyChanged(module.InputList.get());
  if (module.Panel) module.Panel->PortsChanged();
}

}  // namespace

TWireAction::TWireAction(TModuleListe* list, std::string inputModule, std::string inputPort,
                         std::string outputModule, std::string outputPort)
    : list_(list),
      inputModule_(std::move(inputModule)),
      inputPort_(std::move(inputPort)),
      outputModule_(std::move(outputModule)),
      outputPort_(std::move(outputPort)) {}

bool TActionVerbindenModul::Execute() {
  TModulArbeiten* target = ModuleOf(list_, inputModule_);
  TModulArbeiten* source = ModuleOf(list_, outputModule_);
  TEingang* input = target ? target->InputList->Input(inputPort_) : nullptr;
  TAusgang* output = source ? source->OutputList->Output(outputPort_) : nullptr;
  if (input == nullptr || output == nullptr) return false;
  // Connecting an input to its present source would remove the wire.
  if (!input->IsConnectedTo(*output)) input->Connect(output, false);
  return true;
}

TRPointerAction TActionVerbindenModul::CreateInverse() const {
  return std::make_shared<TActionUnterbrechenModul>(list_, inputModule_, inputPort_, outputModule_,
                                                    outputPort_);
}

bool TActionUnterbrechenModul::Execute() {
  TModulArbeiten* target = ModuleOf(list_, inputModule_);
  TEingang* input = target ? target->InputList->Input(inputPort_) : nullptr;
  if (input == nullptr) return false;
  input->Connect(nullptr, false);
  return true;
}

TRPointerAction TActionUnterbrechenModul::CreateInverse() const {
  return std::make_shared<TActionVerbindenModul>(list_, inputModule_, inputPort_, outputModule_,
                                                 outputPort_);
}

TInputAction::TInputAction(TModuleListe* list, std::string moduleKey, std::string portTypeName,
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

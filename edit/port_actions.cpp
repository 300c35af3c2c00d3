#include "edit/port_actions.h"

#include "patch/modul_arbeiten.h"
#include "patch/module_list.h"

namespace {

TModulArbeiten* ModuleOf(const TModuleListe* list, const std::string& key) {
  return dynamic_cast<TModulArbeiten*>(list->Get(key).get());
}

TEingang* InputOf(const TModuleListe* list, const SWireKeys& keys) {
  TModulArbeiten* module = ModuleOf(list, keys.inputModule);
  return module ? module->InputList->Input(keys.inputPort) : nullptr;
}

void InputsChanged(TModulArbeiten& module) {
  module.PropertyChanged(module.InputList.get());
  if (module.Panel) module.Panel->PortsChanged();
}

}  // namespace

TActionVerbindenModul::TActionVerbindenModul(TModuleListe* list, std::string inputModule,
                                             std::string inputPort, std::string outputModule,
                                             std::string outputPort)
    : list_(list),
      keys_{std::move(inputModule), std::move(inputPort), std::move(outputModule),
            std::move(outputPort)} {}

bool TActionVerbindenModul::Execute() {
  TEingang* input = InputOf(list_, keys_);
  TModulArbeiten* source = ModuleOf(list_, keys_.outputModule);
  TAusgang* output = source ? source->OutputList->Output(keys_.outputPort) : nullptr;
  if (input == nullptr || output == nullptr) return false;
  if (!input->IsConnectedTo(*output)) input->Connect(output, false);
  return true;
}

TRPointerAction TActionVerbindenModul::CreateInverse() const {
  return std::make_shared<TActionUnterbrechenModul>(list_, keys_.inputModule, keys_.inputPort,
                                                    keys_.outputModule, keys_.outputPort);
}

TActionUnterbrechenModul::TActionUnterbrechenModul(TModuleListe* list, std::string inputModule,
                                                   std::string inputPort,
                                                   std::string outputModule,
                                                   std::string outputPort)
    : list_(list),
      keys_{std::move(inputModule), std::move(inputPort), std::move(outputModule),
            std::move(outputPort)} {}

bool TActionUnterbrechenModul::Execute() {
  TEingang* input = InputOf(list_, keys_);
  if (input == nullptr) return false;
  input->Connect(nullptr, false);
  return true;
}

TRPointerAction TActionUnterbrechenModul::CreateInverse() const {
  return std::make_shared<TActionVerbindenModul>(list_, keys_.inputModule, keys_.inputPort,
                                                 keys_.outputModule, keys_.outputPort);
}

TActionNeuerEingang::TActionNeuerEingang(TModuleListe* list, std::string moduleKey,
                                         std::string portTypeName, std::string portKey)
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

TActionEingangEntfernen::TActionEingangEntfernen(TModuleListe* list, std::string moduleKey,
                                                 std::string portTypeName, std::string portKey)
    : list_(list),
      moduleKey_(std::move(moduleKey)),
      portTypeName_(std::move(portTypeName)),
      portKey_(std::move(portKey)) {}

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

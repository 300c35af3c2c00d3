#include "patch/port_list.h"

#include "patch/modul.h"

namespace {

TRPointer<TEinAusgang> NewPort(int code) {
  if (PortType(code).isInput) return std::make_shared<TEingang>(code);
  return std::make_shared<TAusgang>(code);
}

}  // namespace

TEinAusgangListe::TEinAusgangListe() {
  childFactory = TAMsgPropTyp::Bind(this, &TEinAusgangListe::CreatePort);
}

TRPointer<TPropTypList> TEinAusgangListe::CreatePort(const std::string& name, bool& queryOnly) {
  const int code = PortCodeOf(name);
  // A file that puts an input among the outputs (or the reverse) has that port skipped.
  const bool holdsInputs = dynamic_cast<const TEingangListe*>(this) != nullptr;
  const bool fits = code >= 0 && PortType(code).isInput == holdsInputs;
  if (queryOnly) {
    queryOnly = fits;
    return nullptr;
  }
  if (!fits) return nullptr;
  auto port = NewPort(code);
  port->parent = this;
  return port;
}

TRPointer<TEinAusgang> TEinAusgangListe::AddPort(int code, const std::string& name) {
  return AddPortByName(PortType(code).typeName, name);
}

TRPointer<TEinAusgang> TEinAusgangListe::AddPortByName(const std::string& typeName,
                                                       const std::string& name) {
  bool queryOnly = false;
  auto port = std::static_pointer_cast<TEinAusgang>(CreatePort(typeName, queryOnly));
  if (!port) return nullptr;
  Add(name.empty() ? UniqueKey("") : name, port);
  Layout();
  return port;
}

TEinAusgang* TEinAusgangListe::Port(const std::string& key) const {
  return dynamic_cast<TEinAusgang*>(Get(key).get());
}

std::vector<TEinAusgang*> TEinAusgangListe::Ports() const {
  std::vector<TEinAusgang*> ports;
  for (const auto& [key, child] : Children()) {
    if (auto* port = dynamic_cast<TEinAusgang*>(child.get())) ports.push_back(port);
  }
  return ports;
}

TRPointerMacroAction TEinAusgangListe::DisconnectAll() {
  if (Children().empty()) return nullptr;
  auto removal = std::make_shared<TMacroAction>("connect module");
  for (TEinAusgang* port : Ports()) {
    if (TRPointerAction action = port->Connect(nullptr, true)) removal->Append(std::move(action));
  }
  return removal;
}

TModul* TEinAusgangListe::Owner() const { return dynamic_cast<TModul*>(parent); }

void TEinAusgangListe::LayoutAt(int x) {
  const TModul* module = Owner();
  if (module == nullptr) return;
  const TRect bounds = module->Rect->GetRect();
  const int height = bounds.bottom - bounds.top;
  int y = ((height - kPortSpacing * Count() - 14) >> 1) + kTitleHeight;
  for (TEinAusgang* port : Ports()) {
    port->Rect->MoveTo(x, y);
    y += kPortSpacing;
  }
}

void TEingangListe::InputsFedBy(const TAusgang& output, std::vector<TEingang*>& inputs) const {
  for (TEinAusgang* port : Ports()) {
    auto* input = dynamic_cast<TEingang*>(port);
    if (input && input->GetSource() == &output) inputs.push_back(input);
  }
}

TEingang* TEingangListe::Input(const std::string& key) const {
  return dynamic_cast<TEingang*>(Get(key).get());
}

void TAusgangListe::Layout() {
  const TModul* module = Owner();
  if (module == nullptr) return;
  LayoutAt(module->Rect->right->value - module->Rect->left->value - kOutputInset);
}

TAusgang* TAusgangListe::Output(const std::string& key) const {
  return dynamic_cast<TAusgang*>(Get(key).get());
}

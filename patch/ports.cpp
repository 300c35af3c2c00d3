#include "patch/ports.h"

#include <algorithm>
#include <cstdlib>

#include "patch/modul_arbeiten.h"
#include "patch/module_actions.h"
#include "patch/module_list.h"
#include "patch/port_actions.h"
#include "persist/tree_message.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"

namespace {

// Offset of a new constant from the connector it was created for.
constexpr TPoint kConstantOffset{150, 20};
// Straight wires leave their connectors horizontally by this much.
constexpr int kWireStub = 5;

TModuleListe* ListOf(const TEinAusgang& port) {
  TModulArbeiten* module = port.OwnerModule();
  return module ? module->OwnerList() : nullptr;
}

std::string ModuleKeyOf(const TEinAusgang& port) {
  TModuleListe* list = ListOf(port);
  return list ? list->KeyOf(port.OwnerModule()) : std::string();
}

void RepaintWires(const TEinAusgang& port) {
  if (TModuleListe* list = ListOf(port)) list->RepaintCanvas();
}

// The port's module by its key, with the keys of the macros around it in front ("Group.Amp").
std::string ModulePathOf(const TEinAusgang& port) {
  std::string path;
  for (const TModul* module = port.OwnerModule(); module != nullptr;) {
    TModuleListe* list = module->OwnerList();
    if (list == nullptr) break;
    const std::string key = list->KeyOf(module);
    path = path.empty() ? key : key + "." + path;
    module = dynamic_cast<const TModul*>(list->parent);
  }
  return path;
}

void WarnDroppedWire(const TEingang& input, const TAusgang& source) {
  const std::string text = "module \"" + ModulePathOf(input) + "\", input \"" + input.Key() +
                           "\" (" + input.Type().hint + "): dropped the wire from \"" +
                           ModuleKeyOf(source) + "\" output \"" + source.Key() + "\" (" +
                           source.Type().hint + "), the kinds do not fit";
  ShowMessage(nullptr, {QStringLiteral("Info Connection"), FromFileText(text),
                        TMessageIcon::Warning, TMessageButtons::Ok});
}

}  // namespace

TEinAusgang::TEinAusgang(int code)
    : Rect(std::make_shared<TPropRect>(kDefaultRect.left, kDefaultRect.top, kDefaultRect.right,
                                       kDefaultRect.bottom)),
      Title(std::make_shared<TPropString>(PortType(code).title)),
      code_(code) {
  typeName = Type().typeName;
  Add("Rect", Rect);
  Add("Title", Title);
}

TEinAusgangListe* TEinAusgang::OwnerList() const { return dynamic_cast<TEinAusgangListe*>(parent); }

TModulArbeiten* TEinAusgang::OwnerModule() const {
  TEinAusgangListe* list = OwnerList();
  return list ? list->OwnerModule() : nullptr;
}

std::string TEinAusgang::Key() const {
  TEinAusgangListe* list = OwnerList();
  return list ? list->KeyOf(this) : std::string();
}

TPoint TEinAusgang::ConnectionPoint() const {
  const TRect port = Rect->GetRect();
  TPoint point{port.left, port.top + (port.bottom - port.top) / 2};
  if (!Type().isInput) point.x = port.right;
  if (TModulArbeiten* module = OwnerModule()) {
    point.x += module->Rect->left->value;
    point.y += module->Rect->top->value;
  }
  return point;
}

TEingang::TEingang(int code)
    : TEinAusgang(code),
      ModuleName(std::make_shared<TPropString>()),
      Other(std::make_shared<TPropString>()) {
  Add("ModuleName", ModuleName);
  Add("Other", Other);
}

TAusgang* TEingang::GetSource() const {
  TModuleListe* list = ListOf(*this);
  if (list == nullptr) return nullptr;
  auto* source = dynamic_cast<TModulArbeiten*>(list->Get(ModuleName->value).get());
  if (source == nullptr) return nullptr;
  return dynamic_cast<TAusgang*>(source->OutputList->Get(Other->value).get());
}

bool TEingang::IsConnectedTo(const TEinAusgang& other) const {
  const TEinAusgang* source = GetSource();
  return source != nullptr && source == &other;
}

TRPointerAction TEingang::Connect(TEinAusgang* other, bool undoable) {
  TAusgang* current = GetSource();
  if (other == nullptr || other == current) {
    return current ? Disconnect(*current, undoable) : nullptr;
  }
  auto* source = dynamic_cast<TAusgang*>(other);
  TModuleListe* list = ListOf(*this);
  // Wires join modules of one list; anything else could never be resolved by name.
  if (source == nullptr || list == nullptr || ListOf(*source) != list) return nullptr;
  TRPointerAction disconnection = current ? Disconnect(*current, undoable) : nullptr;
  ModuleName->value = ModuleKeyOf(*source);
  Other->value = source->Key();
  RepaintWires(*this);
  if (!undoable) return nullptr;
  auto connection = std::make_shared<TActionVerbindenModul>(list, ModuleKeyOf(*this), Key(),
                                                            ModuleName->value, Other->value);
  if (!disconnection) return connection;
  auto replacement = std::make_shared<TMacroAction>(connection->Name());
  replacement->Append(std::move(disconnection));
  replacement->Append(std::move(connection));
  return replacement;
}

TRPointerAction TEingang::Disconnect(TAusgang& current, bool undoable) {
  TRPointerAction action;
  if (undoable) {
    action = std::make_shared<TActionUnterbrechenModul>(ListOf(*this), ModuleKeyOf(*this), Key(),
                                                        ModuleKeyOf(current), current.Key());
  }
  ClearWire();
  RepaintWires(*this);
  return action;
}

void TEingang::ClearWire() {
  ModuleName->value.clear();
  Other->value.clear();
}

bool TEingang::Notify(int code, int, void*) {
  if (code != kTreePasting && code != kTreeAfterRead) return true;
  const TAusgang* source = GetSource();
  if (source != nullptr && !IsCompatible(*source)) {
    WarnDroppedWire(*this, *source);
    ClearWire();
  } else if (source == nullptr && code == kTreePasting) {
    ClearWire();
  }
  return true;
}

void TEingang::DoubleClicked() {
  TModulArbeiten* module = OwnerModule();
  TModuleListe* list = ListOf(*this);
  if (!IsFree() || Type().kind == TSignalKind::Midi || list == nullptr) return;
  int x = module->Rect->left->value + Rect->left->value - kConstantOffset.x;
  int y = module->Rect->top->value + Rect->top->value - kConstantOffset.y;
  if (x + list->HorizontalScroll() < 0) x = 0;
  if (y + list->VerticalScroll() < 0) y = 0;
  const std::string constantType =
      Type().kind == TSignalKind::Analog ? "ConstAnalog" : "ConstFrequenz";
  const std::string key = list->UniqueKey("name");
  auto step = std::make_shared<TMacroAction>("Create Module");
  step->Append(std::make_shared<TActionCreateModul>(list, constantType, key, x, y));
  step->Append(std::make_shared<TActionVerbindenModul>(list, ModuleKeyOf(*this), Key(), key, "1"));
  step->Execute();
  list->ActionManager.RecordAction(step);
  if (auto* constant = dynamic_cast<TModul*>(list->Get(key).get())) constant->SelectOnly();
  list->RestartDocument(true);
}

std::vector<TEingang*> TAusgang::FedInputs() const {
  std::vector<TEingang*> inputs;
  TModuleListe* list = ListOf(*this);
  if (list == nullptr) return inputs;
  for (const auto& [key, child] : list->Children()) {
    if (auto* module = dynamic_cast<TModulArbeiten*>(child.get())) {
      module->InputList->InputsFedBy(*this, inputs);
    }
  }
  return inputs;
}

bool TAusgang::IsConnectedTo(const TEinAusgang& other) const {
  const auto* input = dynamic_cast<const TEingang*>(&other);
  return input != nullptr && input->GetSource() == this;
}

TRPointerAction TAusgang::Connect(TEinAusgang* other, bool undoable) {
  if (other != nullptr) return other->Connect(this, undoable);
  const std::vector<TEingang*> inputs = FedInputs();
  if (inputs.empty()) return nullptr;
  auto removal = undoable ? std::make_shared<TMacroAction>("connect module") : nullptr;
  for (TEingang* input : inputs) {
    TRPointerAction action = input->Connect(nullptr, undoable);
    if (removal && action) removal->Append(std::move(action));
  }
  return removal;
}

std::vector<TPoint> WirePath(TPoint from, TPoint to, bool directLines) {
  if (directLines) {
    return {to, {to.x - kWireStub, to.y}, {from.x + kWireStub, from.y}, from};
  }
  const int middle = std::min(from.x, to.x) + std::abs(from.x - to.x) / 2;
  return {to, {middle, to.y}, {middle, from.y}, from};
}

#include "patch/ports.h"

#include <algorithm>
#include <cstdlib>

#include "patch/modul.h"
#include "patch/module_actions.h"
#include "patch/patch_host.h"
#include "persist/tree_message.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"

namespace {

// Offset of a new constant from the connector it was created for.
constexpr TPoint kConstantOffset{150, 20};
// Straight wires leave their connectors horizontally by this much.
constexpr int kWireStub = 5;

// The port's module by its key, with the keys of the macros around it in front ("Group.Amp").
std::string ModulePathOf(const TEinAusgang& port) {
  std::string path;
  for (const TModul* module = port.Owner(); module != nullptr && module->parent != nullptr;) {
    const std::string key = module->parent->KeyOf(module);
    path = path.empty() ? key : key + "." + path;
    const auto* list = dynamic_cast<const TPropTypListChild*>(module->parent);
    module = list ? dynamic_cast<const TModul*>(list->parent) : nullptr;
  }
  return path;
}

void WarnDroppedWire(const TEingang& input, const TAusgang& source) {
  const std::string text = "module \"" + ModulePathOf(input) + "\", input \"" + input.Key() +
                           "\" (" + input.Type().hint + "): dropped the wire from \"" +
                           source.OwnerKey() + "\" output \"" + source.Key() + "\" (" +
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

TModul* TEinAusgang::Owner() const {
  const auto* list = dynamic_cast<const TPropTypListChild*>(parent);
  return list ? dynamic_cast<TModul*>(list->parent) : nullptr;
}

TPatchHost* TEinAusgang::Host() const {
  TModul* module = Owner();
  return module ? module->Host() : nullptr;
}

std::string TEinAusgang::Key() const { return parent ? parent->KeyOf(this) : std::string(); }

std::string TEinAusgang::OwnerKey() const {
  TModul* module = Owner();
  TPatchHost* host = module ? module->Host() : nullptr;
  return host ? host->ModuleKey(*module) : std::string();
}

TPoint TEinAusgang::ConnectionPoint() const {
  const TRect port = Rect->GetRect();
  TPoint point{port.left, port.top + (port.bottom - port.top) / 2};
  if (!Type().isInput) point.x = port.right;
  if (TModul* module = Owner()) {
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
  TPatchHost* host = Host();
  return host ? host->OutputAt(ModuleName->value, Other->value) : nullptr;
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
  TPatchHost* host = Host();
  // Wires join modules of one list; anything else could never be resolved by name.
  if (source == nullptr || host == nullptr || source->Host() != host) return nullptr;
  TRPointerAction disconnection = current ? Disconnect(*current, undoable) : nullptr;
  SetWire(source->OwnerKey(), source->Key());
  if (!undoable) return nullptr;
  auto connection = std::make_shared<TActionVerbindenModul>(host, OwnerKey(), Key(),
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
    action = std::make_shared<TActionUnterbrechenModul>(Host(), OwnerKey(), Key(),
                                                        current.OwnerKey(), current.Key());
  }
  SetWire({}, {});
  return action;
}

void TEingang::SetWire(const std::string& moduleName, const std::string& other) {
  ModuleName->value = moduleName;
  Other->value = other;
  TPatchHost* host = Host();
  if (host == nullptr) return;
  TModul* module = Owner();
  SListChange change(moduleName.empty() ? TListChangeKind::WireRemoved : TListChangeKind::WireAdded,
                     host->ModuleKey(*module), module);
  change.port = Key();
  host->Announce(change);
}

bool TEingang::Notify(int code, int, void*) {
  if (code != kTreePasting && code != kTreeAfterRead) return true;
  const TAusgang* source = GetSource();
  if (source != nullptr && !IsCompatible(*source)) {
    WarnDroppedWire(*this, *source);
    SetWire({}, {});
  } else if (source == nullptr && code == kTreePasting) {
    SetWire({}, {});
  }
  return true;
}

void TEingang::DoubleClicked() {
  TModul* module = Owner();
  TPatchHost* host = Host();
  if (!IsFree() || Type().kind == TSignalKind::Midi || host == nullptr) return;
  int x = module->Rect->left->value + Rect->left->value - kConstantOffset.x;
  int y = module->Rect->top->value + Rect->top->value - kConstantOffset.y;
  if (x + host->HorizontalScroll() < 0) x = 0;
  if (y + host->VerticalScroll() < 0) y = 0;
  const std::string constantType =
      Type().kind == TSignalKind::Analog ? "ConstAnalog" : "ConstFrequenz";
  const std::string key = host->FreeModuleKey("name");
  auto step = std::make_shared<TMacroAction>("Create Module");
  step->Append(std::make_shared<TActionCreateModul>(host, constantType, key, x, y));
  step->Append(std::make_shared<TActionVerbindenModul>(host, OwnerKey(), Key(), key, "1"));
  step->Execute();
  host->RecordAction(step);
  if (TModul* constant = host->ModuleAt(key)) constant->SelectOnly();
  host->RestartDocument(true);
}

std::vector<TEingang*> TAusgang::FedInputs() const {
  TPatchHost* host = Host();
  return host ? host->InputsFedBy(*this) : std::vector<TEingang*>();
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

TWireAction::TWireAction(TPatchHost* list, std::string inputModule, std::string inputPort,
                         std::string outputModule, std::string outputPort)
    : list_(list),
      inputModule_(std::move(inputModule)),
      inputPort_(std::move(inputPort)),
      outputModule_(std::move(outputModule)),
      outputPort_(std::move(outputPort)) {}

bool TActionVerbindenModul::Execute() {
  TEingang* input = list_->InputAt(inputModule_, inputPort_);
  TAusgang* output = list_->OutputAt(outputModule_, outputPort_);
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
  TEingang* input = list_->InputAt(inputModule_, inputPort_);
  if (input == nullptr) return false;
  input->Connect(nullptr, false);
  return true;
}

TRPointerAction TActionUnterbrechenModul::CreateInverse() const {
  return std::make_shared<TActionVerbindenModul>(list_, inputModule_, inputPort_, outputModule_,
                                                 outputPort_);
}

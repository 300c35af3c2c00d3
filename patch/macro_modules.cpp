#include "patch/macro_modules.h"

#include <algorithm>

#include "patch/module_dialogs.h"
#include "platform/message_box.h"

namespace {

constexpr TRect kMacroRect{0, 0, 88, 57};
constexpr TRect kBoundaryRect{0, 0, 60, 42};
// The outer port's caption shows this many letters of the inner module's title.
constexpr std::size_t kOuterTitleLength = 2;

void ShowRefusedWire() {
  ShowMessage(nullptr,
              {QStringLiteral("Info Connection"),
               QStringLiteral("No direct connections allowed between Input and Output Modules"),
               TMessageIcon::Error, TMessageButtons::Ok});
}

}  // namespace

TModulKomponent::TModulKomponent()
    : Window(std::make_shared<TFensterModul>()),
      Inside(std::make_shared<TModuleListeArbeiten>()),
      InfoText(std::make_shared<TPropString>()) {
  Title->value = " Macro";
  Rect->SetRect(kMacroRect);
  Window->parent = this;
  Window->Owner = this;
  Inside->parent = this;
  Inside->PartnerList = Window->ModuleList.get();
  Window->ModuleList->PartnerList = Inside.get();
  Add("ViewModul", Window);
  Add("ModuleList", Inside);
  Add("InfoText", InfoText);
}

SModulePicture TModulKomponent::PanelPicture() const {
  return {"BITMAP_MODUL", 28, CentredPictureTop()};
}

void TModulKomponent::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  TModulBild::CreatePanel(owner, mode);
  if (owner == nullptr) return;
  PropertyChanged(nullptr);
  ResizeToAllPorts();
}

TModulAusgang* TModulKomponent::InnerOutput(const std::string& key) const {
  return dynamic_cast<TModulAusgang*>(Inside->Get(key).get());
}

void TModulKomponent::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                                 TAusgang& port) {
  LinkFrom(port, voice, target, context);
}

TAusgang* TModulKomponent::ForwardedFrom(TAusgang& port) {
  TModulAusgang* inner = InnerOutput(port.Key());
  TEingang* input = inner ? inner->InputList->Input("1") : nullptr;
  return input ? input->GetSource() : nullptr;
}

bool TModulKomponent::CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain) {
  TModulAusgang* inner = port ? InnerOutput(port->Key()) : nullptr;
  if (inner == nullptr) return false;
  if (inner->IsActive(nullptr) || chain.Contains(inner)) return true;
  // Met again on its own way: a feedback loop counts as satisfied, unless it only crosses macro
  // boundaries.
  if (visited.Contains(inner)) return ProducingOutput(*port) != nullptr;
  return inner->CollectChain(port, visited, chain);
}

bool TModulKomponent::IsActive(const TAusgang* port) const {
  const TModulAusgang* inner = port ? InnerOutput(port->Key()) : nullptr;
  return inner != nullptr && inner->IsActive(nullptr);
}

void TModulKomponent::ShowProperties() {
  SelectOnly();
  Window->Visible->value = 1;
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowMacroWindow(*this);
}

void TModulKomponent::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(TModulGrenze::kHelpTopic);
}

TModulGrenze::TModulGrenze(int ownCode, int outerCode, const char* title) : OuterCode(outerCode) {
  Title->value = title;
  Rect->SetRect(kBoundaryRect);
  if (PortType(ownCode).isInput) {
    InputList->AddPort(ownCode);
  } else {
    OutputList->AddPort(ownCode);
  }
}

TModulKomponent* TModulGrenze::Macro() const {
  TModuleListe* list = OwnerList(*this);
  return list ? dynamic_cast<TModulKomponent*>(list->parent) : nullptr;
}

TEinAusgangListe* TModulGrenze::OuterList() const {
  TModulKomponent* macro = Macro();
  if (macro == nullptr) return nullptr;
  if (PortType(OuterCode).isInput) return macro->InputList.get();
  return macro->OutputList.get();
}

TEinAusgang* TModulGrenze::OuterPort() const {
  TEinAusgangListe* outer = OuterList();
  return outer ? outer->Port(OwnerList(*this)->KeyOf(this)) : nullptr;
}

void TModulGrenze::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  TModulBild::CreatePanel(owner, mode);
  TEinAusgangListe* outer = OuterList();
  if (outer == nullptr) return;
  if (owner == nullptr) {
    if (mode == kPanelEditable) RemoveOuterPort();
    return;
  }
  if (mode == kPanelSample || OuterPort() != nullptr) return;
  outer->AddPort(OuterCode, OwnerList(*this)->KeyOf(this));
  TModulKomponent* macro = Macro();
  macro->Announce(TListChangeKind::PortsChanged);
  macro->ResizeToAllPorts();
  SyncOuterPort();
}

void TModulGrenze::RemoveOuterPort() {
  TEinAusgang* port = OuterPort();
  if (port == nullptr) return;
  OuterList()->Remove(port->Key());
  TModulKomponent* macro = Macro();
  macro->Announce(TListChangeKind::PortsChanged);
  macro->ResizeToAllPorts();
}

void TModulGrenze::SyncOuterPort() {
  TEinAusgang* port = OuterPort();
  if (port == nullptr) return;
  port->Title->value = Title->value.substr(0, kOuterTitleLength);
  Macro()->Announce(TListChangeKind::PortsChanged);
}

void TModulGrenze::AnnounceActive() {
  TModulBild::AnnounceActive();
  if (TModulKomponent* macro = Macro()) macro->Announce(TListChangeKind::ActiveChanged);
}

bool TModulGrenze::CanConnect(TEinAusgang& ownPort, TEinAusgang& otherPort) {
  const bool ownIsInput = dynamic_cast<TModulEingang*>(OwnerModule(ownPort)) != nullptr;
  const TModulArbeiten* other = OwnerModule(otherPort);
  const bool refused = ownIsInput ? dynamic_cast<const TModulAusgang*>(other) != nullptr
                                  : dynamic_cast<const TModulEingang*>(other) != nullptr;
  if (refused) ShowRefusedWire();
  return !refused;
}

void TModulGrenze::ShowProperties() {
  if (OpenModuleDialog(kNameDialog, *this)) SyncOuterPort();
}

void TModulGrenze::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(kHelpTopic);
}

bool TModulGrenze::CollectFrom(TAusgang* source, TModuleChain& visited, TModuleChain& chain) {
  visited.Append(this);
  if (!WalkSource(source, visited, chain)) return false;
  chain.Append(this);
  return true;
}

void TModulEingang::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                               TAusgang& port) {
  LinkFrom(port, voice, target, context);
}

TAusgang* TModulEingang::ForwardedFrom(TAusgang&) {
  auto* outer = dynamic_cast<TEingang*>(OuterPort());
  return outer ? outer->GetSource() : nullptr;
}

bool TModulEingang::CollectChain(TAusgang*, TModuleChain& visited, TModuleChain& chain) {
  auto* outer = dynamic_cast<TEingang*>(OuterPort());
  return CollectFrom(outer ? outer->GetSource() : nullptr, visited, chain);
}

bool TModulAusgang::CollectChain(TAusgang*, TModuleChain& visited, TModuleChain& chain) {
  TEingang* input = InputList->Input("1");
  return CollectFrom(input ? input->GetSource() : nullptr, visited, chain);
}

std::string TModulKomponent::HintOf(const TEinAusgang& port) const {
  const TModul* inner = port.Type().isInput ? dynamic_cast<TModul*>(Inside->Get(port.Key()).get())
                                            : InnerOutput(port.Key());
  return inner != nullptr ? inner->Title->value : TModulBild::HintOf(port);
}

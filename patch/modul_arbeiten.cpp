#include "patch/modul_arbeiten.h"

#include <unordered_set>

#include "engine/deep_stack.h"
#include "persist/tree_message.h"

TModulArbeiten* OwnerModule(const TEinAusgang& port) {
  return dynamic_cast<TModulArbeiten*>(port.Owner());
}

TModulArbeiten::TModulArbeiten()
    : InputList(std::make_shared<TEingangListe>()), OutputList(std::make_shared<TAusgangListe>()) {
  InputList->parent = this;
  OutputList->parent = this;
  Add("InputList", InputList);
  Add("OutputList", OutputList);
}

bool TModulArbeiten::Notify(int code, int, void* data) {
  switch (code) {
    case kTreeMarkActive:
      if (IsSink()) {
        TModuleChain visited;
        TModuleChain chain;
        bool complete = false;
        RunOnDeepStack([&] { complete = CollectChain(nullptr, visited, chain); });
        if (complete) {
          for (TModulArbeiten* module : chain)
            module->SetActive(true);
        }
      }
      break;
    case kTreeClearActive:
      SetActive(false);
      break;
    case kTreeActiveSettled:
      if (active_ != announcedActive_) {
        announcedActive_ = active_;
        AnnounceActive();
      }
      break;
    case kTreeEngine:
      if (IsActive(nullptr) && data != nullptr) {
        static_cast<std::vector<TEngineModule*>*>(data)->push_back(this);
      }
      break;
    default:
      break;
  }
  return true;
}

void TModulArbeiten::LinkOutput(int, const TLinkTarget&, TBindContext&, TAusgang&) {}
void TModulArbeiten::BindWork(int, void*, TBindContext&) {}
void TModulArbeiten::SoundStarted(TKlangEngine&, int) {}
void TModulArbeiten::SoundStopped(TKlangEngine&, int) {}
bool TModulArbeiten::CanConnect(TEinAusgang&, TEinAusgang&) { return true; }

bool TModulArbeiten::WalkSource(TAusgang* source, TModuleChain& visited, TModuleChain& chain) {
  if (source == nullptr) return false;
  TModulArbeiten* module = OwnerModule(*source);
  if (module == nullptr) return false;
  if (module->IsActive(source) || chain.Contains(module)) return true;
  // Met again on its own way: a feedback loop counts as satisfied, unless it only crosses macro
  // boundaries.
  if (visited.Contains(module)) return ProducingOutput(*source) != nullptr;
  return module->CollectChain(source, visited, chain);
}

bool TModulArbeiten::CollectChain(TAusgang*, TModuleChain& visited, TModuleChain& chain) {
  visited.Append(this);
  for (TEinAusgang* port : InputList->Ports()) {
    auto* input = dynamic_cast<TEingang*>(port);
    if (input == nullptr || !WalkSource(input->GetSource(), visited, chain)) return false;
  }
  chain.Append(this);
  return true;
}

TAusgang* TModulArbeiten::ProducingOutput(TAusgang& source) {
  std::unordered_set<const TAusgang*> passed;
  TAusgang* output = &source;
  while (output != nullptr) {
    TModulArbeiten* module = OwnerModule(*output);
    TAusgang* next = module ? module->ForwardedFrom(*output) : nullptr;
    if (next == output) return output;
    if (!passed.insert(output).second) return nullptr;
    output = next;
  }
  return nullptr;
}

void TModulArbeiten::LinkFrom(TAusgang& source, int voice, const TLinkTarget& target,
                              TBindContext& context) {
  TAusgang* producer = ProducingOutput(source);
  if (producer != nullptr) OwnerModule(*producer)->LinkOutput(voice, target, context, *producer);
}

void TModulArbeiten::SetActive(bool active) { active_ = active; }

void TModulArbeiten::AnnounceActive() { Announce(TListChangeKind::ActiveChanged); }

bool TModulArbeiten::IsActive(const TAusgang*) const { return active_; }

void TModulArbeiten::LinkInputOrSilence(const std::string& portName, int voice,
                                        const std::int32_t** target, TBindContext& context) {
  *target = &kSilence;
  LinkInput(portName, voice, target, context);
}

void TModulArbeiten::LinkInput(const std::string& portName, int voice, const std::int32_t** target,
                               TBindContext& context) {
  LinkInput(portName, voice, TLinkTarget::Signal(target), context);
}

void TModulArbeiten::LinkMidiInput(const std::string& portName, TAMsgMidiCallback& listener,
                                   TBindContext& context) {
  LinkInput(portName, 0, TLinkTarget::Midi(listener), context);
}

void TModulArbeiten::LinkInput(const std::string& portName, int voice, const TLinkTarget& target,
                               TBindContext& context) {
  TEingang* input = InputList->Input(portName);
  TAusgang* source = input ? input->GetSource() : nullptr;
  if (source != nullptr) LinkFrom(*source, voice, target, context);
}

std::string TModulArbeiten::HintOf(const TEinAusgang& port) const { return port.Type().hint; }

#include "modules/mixers.h"
#include "engine/work_type.h"

#include <algorithm>

#include "engine/logic_kernels.h"
#include "engine/mixer_kernels.h"
#include "patch/module_dialogs.h"
#include "patch/module_list.h"
#include "patch/port_actions.h"

namespace {

constexpr SModuleKind kCombiner{" Combiner", kWorkAddierer, 3000, "BITMAP_POLY_MONO"};
constexpr SModuleKind kAdder{" Add audio", kWorkAddierer, 3001, "BITMAP_ADDIERER"};
constexpr SModuleKind kAmplifier{" Amplifier", kWorkLautstaerke, 3002, "BITMAP_LAUTSTAERKE"};
constexpr SModuleKind kCrossfadeAmplitude{"Crossfade Ampl.", kWorkCrossfadeLautstaerke, 3004,
                                          "BITMAP_CROSSFADE_AMPL"};
constexpr SModuleKind kCrossfadePan{"Crossfade Pan", kWorkCrossfadeRichtung, 3005,
                                    "BITMAP_CROSSFADE"};
constexpr SModuleKind kStereoPan{" Stereo Pan", kWorkStereoPan, 3006, "BITMAP_POSITION"};
constexpr SModuleKind kResolution{" Resolution", kWorkAufloesung, 3105, "BITMAP_AUFLOESUNG"};

struct SLogicType {
  const char* typeSuffix;
  SModuleKind kind;
};
constexpr SLogicType kLogicTypes[] = {
    {"LogicOr", {" Or", kWorkOder, 3103, "BITMAP_OR"}},
    {"LogicAnd", {" And", kWorkUnd, 3104, "BITMAP_AND"}},
    {"LogicModula", {" Modula", kWorkModula, 3100, "BITMAP_MODULA"}},
    {"LogicExor", {" Exor", kWorkExor, 3102, "BITMAP_EXOR"}},
    {"LogicDivision", {" Division", kWorkDivision, 3101, "BITMAP_DIVISION"}},
};

constexpr TRect kCrossfadeRect{0, 0, 88, 68};
constexpr TPoint kCrossfadePicture{28, 25};
constexpr int kDefaultResolutionBits = 5;
// A new adder starts with this many inputs, and the dialog never leaves fewer.
constexpr int kAdderMinimumInputs = 2;

int InputCode(bool mono) { return mono ? kPortMonoInputAnalog : kPortPolyInputAnalog; }
int OutputCode(bool mono) { return mono ? kPortMonoOutputAnalog : kPortPolyOutputAnalog; }

// One input of the adder's activation walk. Unlike the general rule, a source met again on the
// walk (a feedback path) does not satisfy the input, and a failed walk leaves both lists as
// they were.
bool AdderSourceSatisfied(TAusgang* source, TModuleChain& visited, TModuleChain& chain) {
  TModulArbeiten* module = source ? OwnerModule(*source) : nullptr;
  if (module == nullptr) return false;
  if (module->IsActive(source) || chain.Contains(module)) return true;
  if (visited.Contains(module)) return false;
  const std::size_t visitedBefore = visited.Size();
  const std::size_t chainBefore = chain.Size();
  if (module->CollectChain(source, visited, chain)) return true;
  visited.TruncateTo(visitedBefore);
  chain.TruncateTo(chainBefore);
  return false;
}

// An array of `count` source pointers in the binding's memory, every entry at silence; null
// when the memory cannot be had.
const std::int32_t** SourceArray(TBindContext& context, int count) {
  auto** sources = context.Allocate<const std::int32_t*>(static_cast<std::size_t>(count));
  if (sources != nullptr) std::fill_n(sources, count, &kSilence);
  return sources;
}

void BindSum(SAddiererRecord& record, const std::int32_t** sources, int count) {
  // Without its block the kernel sums nothing rather than read through a null array.
  record.Count = sources != nullptr ? count : 0;
  record.Sources = sources;
  record.Output = 0;
}

}  // namespace

TPolyEingangNachMonoAusgang::TPolyEingangNachMonoAusgang() : TSignalModul(kCombiner, true) {
  AddInput(kPortPolyInputAnalog, "");
  AddOutput(kPortMonoOutputAnalog, "");
}

void TPolyEingangNachMonoAusgang::LinkOutput(int voice, const TLinkTarget& target,
                                             TBindContext& context, TAusgang&) {
  LinkOwnOutput(&SAddiererRecord::Output, voice, target, context);
}

void TPolyEingangNachMonoAusgang::BindWork(int, void* record, TBindContext& context) {
  if (record == nullptr) return;
  const int voices = context.CountVoices();
  const std::int32_t** sources = SourceArray(context, voices);
  BindSum(*static_cast<SAddiererRecord*>(record), sources, voices);
  if (sources == nullptr) return;
  for (int voice = 0; voice < voices; ++voice) {
    LinkInputOrSilence("1", voice, &sources[voice], context);
  }
}

TAddierer::TAddierer(bool mono) : TSignalModul(kAdder, mono), mono_(mono) {
  AddOutput(OutputCode(mono), "");
}

void TAddierer::CreatePanel(TModuleCanvasInterface* owner, int mode) {
  if (owner != nullptr && InputList->Count() == 0) {
    for (int i = 0; i < kAdderMinimumInputs; ++i)
      AddInput(InputCode(mono_), "");
  }
  TSignalModul::CreatePanel(owner, mode);
  if (owner != nullptr) PropertyChanged(nullptr);
}

SModulePicture TAddierer::PanelPicture() const {
  SModulePicture picture = TSignalModul::PanelPicture();
  picture.y = CentredPictureTop();
  return picture;
}

void TAddierer::PropertyChanged(const TPropTyp* property) {
  TSignalModul::PropertyChanged(property);
  if (property == nullptr || property == InputList.get()) ResizeToPorts();
}

void TAddierer::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context, TAusgang&) {
  LinkOwnOutput(&SAddiererRecord::Output, voice, target, context);
}

void TAddierer::BindWork(int voice, void* record, TBindContext& context) {
  if (record == nullptr) return;
  std::vector<TEingang*> parts = Inputs();
  std::erase_if(parts, [](const TEingang* input) { return !TakesPart(*input); });
  const int count = static_cast<int>(parts.size());
  const std::int32_t** sources = SourceArray(context, count);
  BindSum(*static_cast<SAddiererRecord*>(record), sources, count);
  if (sources == nullptr) return;
  for (int i = 0; i < count; ++i) {
    TAusgang* source = parts[static_cast<std::size_t>(i)]->GetSource();
    OwnerModule(*source)->LinkOutput(voice, TLinkTarget::Signal(&sources[i]), context, *source);
  }
}

bool TAddierer::CollectChain(TAusgang*, TModuleChain& visited, TModuleChain& chain) {
  visited.Append(this);
  bool satisfied = false;
  // Every input is walked, so that all complete chains into the adder are collected.
  for (TEingang* input : Inputs()) {
    if (AdderSourceSatisfied(input->GetSource(), visited, chain)) satisfied = true;
  }
  if (satisfied) chain.Append(this);
  return satisfied;
}

bool TAddierer::TakesPart(const TEingang& input) {
  const TAusgang* source = input.GetSource();
  const TModulArbeiten* module = source ? OwnerModule(*source) : nullptr;
  return module != nullptr && module->IsActive(source);
}

int TAddierer::RemovableInputCount() const {
  const std::vector<TEingang*> inputs = Inputs();
  const int connected = static_cast<int>(std::count_if(
      inputs.begin(), inputs.end(), [](TEingang* input) { return !input->IsFree(); }));
  const int unconnected = static_cast<int>(inputs.size()) - connected;
  // An adder left with fewer than two inputs by a hand-edited file has nothing to remove.
  return std::max(0, unconnected - std::max(0, kAdderMinimumInputs - connected));
}

void TAddierer::ShowProperties() { OpenModuleDialog(kDialog, *this); }

void TAddierer::AddInputs(int count) {
  TModuleListe* list = OwnerList(*this);
  if (list == nullptr) return;
  auto step = std::make_shared<TMacroAction>("new input");
  for (int i = 0; i < count; ++i) {
    step->Append(std::make_shared<TActionNeuerEingang>(list, list->KeyOf(this),
                                                       PortType(InputCode(mono_)).typeName, ""));
  }
  RecordInputStep(step);
}

void TAddierer::RemoveInputs(int count) {
  TModuleListe* list = OwnerList(*this);
  if (list == nullptr) return;
  count = std::min(count, RemovableInputCount());
  auto step = std::make_shared<TMacroAction>("delete input");
  for (TEingang* input : Inputs()) {
    if (static_cast<int>(step->actions.size()) >= count) break;
    if (!input->IsFree()) continue;
    step->Append(std::make_shared<TActionEingangEntfernen>(list, list->KeyOf(this), input->typeName,
                                                           input->Key()));
  }
  RecordInputStep(step);
}

std::vector<TEingang*> TAddierer::Inputs() const {
  std::vector<TEingang*> inputs;
  for (TEinAusgang* port : InputList->Ports()) {
    if (auto* input = dynamic_cast<TEingang*>(port)) inputs.push_back(input);
  }
  return inputs;
}

void TAddierer::RecordInputStep(const TRPointerMacroAction& step) {
  if (step->IsEmpty()) return;
  step->Execute();
  if (TPatchHost* list = Host()) list->RecordAction(step);
}

TVerknuepfung::TVerknuepfung(const SModuleKind& kind, bool monoPorts, bool monoWork)
    : TSignalModul(kind, monoWork) {
  AddInput(InputCode(monoPorts), "");
  AddInput(InputCode(monoPorts), "");
  AddOutput(OutputCode(monoPorts), "");
}

void TVerknuepfung::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                               TAusgang&) {
  LinkOwnOutput(&SVerknuepfungRecord::Output, voice, target, context);
}

void TVerknuepfung::BindWork(int voice, void* record, TBindContext& context) {
  auto* own = static_cast<SVerknuepfungRecord*>(record);
  if (own == nullptr) return;
  LinkInputs({&own->Input1, &own->Input2}, voice, context);
  own->Output = 0;
}

TLautstaerke::TLautstaerke(bool mono) : TVerknuepfung(kAmplifier, mono, mono) {}

TCrossfade::TCrossfade(const SModuleKind& kind, const char* controlCaption, bool mono)
    : TSignalModul(kind, false) {
  Rect->SetRect(kCrossfadeRect);
  SetPicturePosition(kCrossfadePicture);
  AddInput(InputCode(mono), controlCaption, kControlHint);
  AddInput(InputCode(mono), "A1");
  AddInput(InputCode(mono), "A2");
  AddOutput(OutputCode(mono), "");
}

void TCrossfade::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                            TAusgang&) {
  LinkOwnOutput(&SCrossfadeRecord::Output, voice, target, context);
}

void TCrossfade::BindWork(int voice, void* record, TBindContext& context) {
  auto* own = static_cast<SCrossfadeRecord*>(record);
  if (own == nullptr) return;
  LinkInputs({&own->Input1, &own->Input2, &own->Input3}, voice, context);
  own->Output = 0;
}

TCrossfadeLautstaerke::TCrossfadeLautstaerke(bool mono)
    : TCrossfade(kCrossfadeAmplitude, "C", mono) {}

TCrossfadePan::TCrossfadePan(bool mono) : TCrossfade(kCrossfadePan, "P", mono) {}

TStereoPan::TStereoPan(bool mono) : TSignalModul(kStereoPan, mono) {
  AddInput(InputCode(mono), "P", kPanHint);
  AddInput(InputCode(mono), "");
  AddOutput(OutputCode(mono), "L");
  AddOutput(OutputCode(mono), "R");
}

void TStereoPan::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                            TAusgang& port) {
  LinkOwnOutput(port.Key() == "1" ? &SStereoPanRecord::Left : &SStereoPanRecord::Right, voice,
                target, context);
}

void TStereoPan::BindWork(int voice, void* record, TBindContext& context) {
  auto* own = static_cast<SStereoPanRecord*>(record);
  if (own == nullptr) return;
  LinkInputs({&own->Input1, &own->Input2}, voice, context);
  own->Left = 0;
  own->Right = 0;
}

TAufloesung::TAufloesung(bool mono)
    : TSignalModul(kResolution, mono),
      Resolution(std::make_shared<TPropInteger>(kDefaultResolutionBits)) {
  Add("Resolution", Resolution);
  AddInput(InputCode(mono), "");
  AddOutput(OutputCode(mono), "");
}

void TAufloesung::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                             TAusgang&) {
  LinkOwnOutput(&SAufloesungRecord::Output, voice, target, context);
}

void TAufloesung::BindWork(int voice, void* record, TBindContext& context) {
  auto* own = static_cast<SAufloesungRecord*>(record);
  if (own == nullptr) return;
  LinkInputs({&own->Input1}, voice, context);
  own->Output = 0;
  own->Mask = ~std::uint32_t{0} << Bits();
}

int TAufloesung::Bits() const { return std::clamp(Resolution->value, 0, kMaxBits); }

std::vector<std::string> TAufloesung::Choices() {
  std::vector<std::string> choices{"Normal"};
  for (int bits = 1; bits <= kMaxBits; ++bits)
    choices.push_back("-" + std::to_string(bits) + " Bit");
  return choices;
}

void TAufloesung::ShowProperties() { OpenModuleDialog(kDialog, *this); }

void TAufloesung::SetBits(int bits) {
  Resolution->value = std::clamp(bits, 0, kMaxBits);
  MarkChanged();
  RestartSound();
}

void RegisterMixerModules(TModuleTypeTable& table) {
  table["PolyToMono"] = [] { return std::make_shared<TPolyEingangNachMonoAusgang>(); };
  for (const bool mono : {true, false}) {
    const std::string prefix = mono ? "Mono" : "Poly";
    table[prefix + "Addierer"] = [mono] { return std::make_shared<TAddierer>(mono); };
    table[prefix + "Loudness"] = [mono] { return std::make_shared<TLautstaerke>(mono); };
    table[prefix + "CrossfadeAmpl"] = [mono] {
      return std::make_shared<TCrossfadeLautstaerke>(mono);
    };
    table[prefix + "CrossfadePan"] = [mono] { return std::make_shared<TCrossfadePan>(mono); };
    table[prefix + "StereoPan"] = [mono] { return std::make_shared<TStereoPan>(mono); };
    table[prefix + "Resolution"] = [mono] { return std::make_shared<TAufloesung>(mono); };
    // The logic kinds keep one record per voice even with mono ports.
    for (const SLogicType& logic : kLogicTypes) {
      table[prefix + logic.typeSuffix] = [mono, kind = logic.kind] {
        return std::make_shared<TVerknuepfung>(kind, mono, false);
      };
    }
  }
}

// The mixer and logic modules: they combine audio signals sample by sample through the kernels
// of engine/mixer_kernels.h and engine/logic_kernels.h. Each binds its records by linking its
// inputs "1", "2", "3" to the sources' output fields; the adder and the combiner instead hand
// their kernel an array of source pointers in the binding's memory, made anew at every start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modules/signal_module.h"
#include "patch/module_registry.h"

// Sums the voices of a poly input into one mono output.
class TPolyEingangNachMonoAusgang : public TSignalModul {
 public:
  TPolyEingangNachMonoAusgang();

  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;
};

// Sums any number of inputs; only inputs whose source is active take part, so the adder plays
// as soon as one input comes from a complete chain.
class TAddierer : public TSignalModul {
 public:
  explicit TAddierer(bool mono);

  // A new adder gets its two inputs when it is first shown; a loaded one keeps its own.
  void CreatePanel(TModuleCanvasInterface* owner, int mode) override;
  // The height follows the number of inputs.
  void PropertyChanged(const TPropTyp* property) override;
  // The picture stays centred on the panel as it grows.
  SModulePicture PanelPicture() const override;
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;
  // Succeeds when at least one input is satisfied; a source met again on a feedback path does
  // not satisfy its input.
  bool CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain) override;

  // Whether `input` is summed: its source is active (the view colours such inputs).
  static bool TakesPart(const TEingang& input);
  // The unconnected inputs that can go while at least two inputs remain (the dialog's limit).
  int RemovableInputCount() const;
  // The adder dialog: inputs added or removed as one undo step, and the title.
  void ShowProperties() override;
  static constexpr std::string_view kDialog = "Adder";
  // One undo step "new input" adding `count` inputs of the adder's port kind.
  void AddInputs(int count);
  // One undo step "delete input" removing the first `count` unconnected inputs, at most
  // RemovableInputCount of them.
  void RemoveInputs(int count);

 private:
  std::vector<TEingang*> Inputs() const;
  // Executes `step` and files it with the owning list's undo history.
  void RecordInputStep(const TRPointerMacroAction& step);

  const bool mono_;
};

// Two inputs, one output, one record layout: the amplifier and the five logic operations.
class TVerknuepfung : public TSignalModul {
 public:
  // `monoPorts` picks mono or poly ports; `monoWork` whether one record serves every voice.
  TVerknuepfung(const SModuleKind& kind, bool monoPorts, bool monoWork);

  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;
};

// Input 1 times input 2, 2048 being unity gain.
class TLautstaerke : public TVerknuepfung {
 public:
  explicit TLautstaerke(bool mono);
};

// Fades between A1 and A2 under the control of input 1; both kinds share ports and record.
class TCrossfade : public TSignalModul {
 public:
  // Hint of the control input.
  static constexpr const char* kControlHint = "Input crossfade - signal";

  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;

 protected:
  TCrossfade(const SModuleKind& kind, const char* controlCaption, bool mono);
};

// A1 for positive, A2 for negative controls, scaled by |C| / 1024.
class TCrossfadeLautstaerke : public TCrossfade {
 public:
  explicit TCrossfadeLautstaerke(bool mono);
};

// A1 and A2 weighted by the position P, with a gain of 4.
class TCrossfadePan : public TCrossfade {
 public:
  explicit TCrossfadePan(bool mono);
};

// Splits input 2 into the outputs "L" (port "1") and "R" (port "2") by the position on input 1.
class TStereoPan : public TSignalModul {
 public:
  static constexpr const char* kPanHint = "Input pan - signal";

  explicit TStereoPan(bool mono);

  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;
};

// Clears the lowest "Resolution" bits of its input.
class TAufloesung : public TSignalModul {
 public:
  static constexpr int kMaxBits = 15;

  explicit TAufloesung(bool mono);

  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;

  // The bits cleared: "Resolution", brought into 0..15 should a file hold another value.
  int Bits() const;
  // The dialog's choices, index = bits: "Normal", "-1 Bit", ..., "-15 Bit".
  static std::vector<std::string> Choices();
  // The dialog's OK: stores the choice (brought into 0..15), marks the sound changed and
  // restarts a playing sound with the new mask.
  void SetBits(int bits);
  // The name dialog with the "Resolution" choice; its OK is SetBits.
  void ShowProperties() override;
  static constexpr std::string_view kDialog = "Resolution";

  const TRPointerPropInteger Resolution;
};

void RegisterMixerModules(TModuleTypeTable& table);

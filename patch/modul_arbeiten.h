// A module that takes part in signal processing: it owns an input and an output port list, is
// active while it lies on a completely wired chain that ends in a sink (a speaker, scope or
// volume view), and is bound to the engine through the operations of TEngineModule. Only active
// modules are collected for the engine.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/bind_context.h"
#include "engine/engine_module.h"
#include "patch/link_target.h"
#include "patch/modul.h"
#include "patch/module_chain.h"
#include "patch/port_list.h"

// The value an input field reads while no source has linked it.
inline constexpr std::int32_t kSilence = 0;

class TModulArbeiten;
// The module that owns `port`, or null.
TModulArbeiten* OwnerModule(const TEinAusgang& port);

class TModulArbeiten : public TModul, public TEngineModule {
 public:
  TModulArbeiten();

  // Tree messages: 2 clears the active mark, 1 lets a sink activate its chain, 13 tells the
  // views when the mark differs from before the re-validation, 8 collects the active modules
  // (data: std::vector<TEngineModule*>*).
  bool Notify(int code, int arg, void* data) override;

  // What the connector of `port` says it is: the port type's hint unless the kind names the
  // port better.
  virtual std::string HintOf(const TEinAusgang& port) const;

  // The module is the source of a wire: connects `target` to what `port` produces for `voice`
  // (voice 0 for a mono module): a signal source the address of its value, a MIDI source its
  // listener list. A target of the other kind is left alone. Default: nothing.
  virtual void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                          TAusgang& port);
  // The output whose value this module's output `port` carries: `port` itself when the module
  // computes it. A macro boundary passes another output's value on and answers that output, or
  // null when nothing feeds it.
  virtual TAusgang* ForwardedFrom(TAusgang& port) { return &port; }
  // Follows `source` across macro boundaries to the output of the module that computes its
  // value; null when the way ends unwired or comes back to where it passed, since a loop that
  // only crosses boundaries carries no signal.
  static TAusgang* ProducingOutput(TAusgang& source);

  int GetWorkType() const override { return -1; }
  bool IsMono() const override { return true; }
  void BindWork(int voice, void* record, TBindContext& context) override;
  void SoundStarted(TKlangEngine& engine, int voices) override;
  void SoundStopped(TKlangEngine& engine, int voices) override;

  // Asked before a wire from `ownPort` to `otherPort` is made; false refuses it (the module
  // tells the user why).
  virtual bool CanConnect(TEinAusgang& ownPort, TEinAusgang& otherPort);
  // True for a module at the end of a signal chain.
  virtual bool IsSink() const { return false; }
  // The backward walk of the activation from `port`: true when every input on the way is wired;
  // the modules of a complete chain are appended to `chain`. Modules already in `visited` count
  // as satisfied, so feedback loops do not block activation.
  virtual bool CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain);
  virtual void SetActive(bool active);
  virtual bool IsActive(const TAusgang* port) const;

  // Links the input field `target` of this module's record to the output wired to `portName`.
  void LinkInput(const std::string& portName, int voice, const std::int32_t** target,
                 TBindContext& context);
  // Connects `target` to the output wired to `portName`, whichever kind it is.
  void LinkInput(const std::string& portName, int voice, const TLinkTarget& target,
                 TBindContext& context);
  // Files `listener` with the MIDI source wired to `portName`.
  void LinkMidiInput(const std::string& portName, TAMsgMidiCallback& listener,
                     TBindContext& context);
  // The same, after pointing `target` at kSilence, so that a kernel never reads through a null
  // address when the source offers no value.
  void LinkInputOrSilence(const std::string& portName, int voice, const std::int32_t** target,
                          TBindContext& context);

  const TRPointer<TEingangListe> InputList;
  const TRPointer<TAusgangListe> OutputList;

 protected:
  // The walk from one source output on: true when the source is active or its chain completes.
  static bool WalkSource(TAusgang* source, TModuleChain& visited, TModuleChain& chain);
  // Links `target` to the value behind `source`, wherever across macro boundaries it is computed.
  static void LinkFrom(TAusgang& source, int voice, const TLinkTarget& target,
                       TBindContext& context);
  // The active mark changed over a re-validation: the views hear of it.
  virtual void AnnounceActive();

 private:
  bool active_ = false;
  // The mark the views were last told of.
  bool announcedActive_ = false;
};

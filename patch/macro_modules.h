// Macro modules (groups): a module that holds a module list of its own. Inner input and output
// modules mark where signals cross the boundary, each giving the macro one outer port under the
// same key. Signals cross without any processing: at sound start the consumers on one side are
// linked straight to the sources on the other, so a macro costs nothing in the engine.
#pragma once

#include <string>

#include "patch/modul_bild.h"
#include "patch/module_list.h"
#include "patch/window_description.h"

class TModulAusgang;

class TModulKomponent : public TModulBild {
 public:
  TModulKomponent();

  void CreatePanel(TModuleCanvasInterface* owner, int mode) override;
  // Kept centred as the macro grows with its ports.
  SModulePicture PanelPicture() const override;
  // An outer consumer asks for the value behind an output port: the inner output module of the
  // port's key answers.
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  // The inner source of the inner output module that belongs to `port`.
  TAusgang* ForwardedFrom(TAusgang& port) override;
  // Walks on inside, from the inner output module of `port`. The macro itself never becomes
  // active: its ports show the state of the inner modules instead.
  bool CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain) override;
  bool IsActive(const TAusgang* port) const override;
  void ShowProperties() override;
  void ShowHelp() override;

  // A connector is named after the inner input or output module behind it.
  std::string HintOf(const TEinAusgang& port) const override;
  // The inner output module that belongs to the outer output port `key`, or null.
  TModulAusgang* InnerOutput(const std::string& key) const;

  const TRPointer<TFensterModul> Window;
  const TRPointer<TModuleListeArbeiten> Inside;
  const TRPointerPropString InfoText;
};

// The shared part of the inner input and output modules: one own port under the key "1" and one
// outer port on the macro.
class TModulGrenze : public TModulBild {
 public:
  // The macro's help topic.
  static constexpr int kHelpTopic = 1010;

  void CreatePanel(TModuleCanvasInterface* owner, int mode) override;
  // The macro's port shows this module's mark, so the macro's views hear of it too.
  void AnnounceActive() override;
  // Refuses wires between inner input and inner output modules, telling the user why.
  bool CanConnect(TEinAusgang& ownPort, TEinAusgang& otherPort) override;
  void ShowProperties() override;
  void ShowHelp() override;

  // The macro that holds this module, or null.
  TModulKomponent* Macro() const;
  // The macro's port that belongs to this module, or null.
  TEinAusgang* OuterPort() const;
  // The outer port shows (the first two letters of) this module's title.
  void SyncOuterPort();

  // Port code of the port this module gives the macro.
  const int OuterCode;

 protected:
  TModulGrenze(int ownCode, int outerCode, const char* title);
  // The macro's list that holds the outer port (inputs for inner inputs, outputs for outputs).
  TEinAusgangListe* OuterList() const;
  // Walks on from `source`, appending this module to `chain` when the walk completes.
  bool CollectFrom(TAusgang* source, TModuleChain& visited, TModuleChain& chain);

 private:
  void RemoveOuterPort();
};

class TModulEingang : public TModulGrenze {
 public:
  TModulEingang(int ownCode, int outerCode, const char* title)
      : TModulGrenze(ownCode, outerCode, title) {}

  // The consumer inside reads the outer source's value directly.
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  // The source of the outer port.
  TAusgang* ForwardedFrom(TAusgang& port) override;
  // Walks on to the source of the outer port.
  bool CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain) override;
};

class TModulAusgang : public TModulGrenze {
 public:
  TModulAusgang(int ownCode, int outerCode, const char* title)
      : TModulGrenze(ownCode, outerCode, title) {}

  // Walks on to the source of the own input.
  bool CollectChain(TAusgang* port, TModuleChain& visited, TModuleChain& chain) override;
};

// Undoable steps on ports: wiring and unwiring an input, adding and removing an input. Modules
// and ports are named by their keys (the port's key in the module's "InputList" or
// "OutputList").
#pragma once

#include <string>

#include "edit/action_manager.h"

class TModuleListe;

// The four names of one wire.
struct SWireKeys {
  std::string inputModule;
  std::string inputPort;
  std::string outputModule;
  std::string outputPort;
};

class TActionVerbindenModul : public TWAction {
 public:
  TActionVerbindenModul(TModuleListe* list, std::string inputModule, std::string inputPort,
                        std::string outputModule, std::string outputPort);
  // Wires the input to the output; false when any of the four does not exist.
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "connect module"; }

 private:
  TModuleListe* list_;
  SWireKeys keys_;
};

class TActionUnterbrechenModul : public TWAction {
 public:
  TActionUnterbrechenModul(TModuleListe* list, std::string inputModule, std::string inputPort,
                           std::string outputModule, std::string outputPort);
  // Frees the input (the output keys serve the inverse); false when the input does not exist.
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "disconnect module"; }

 private:
  TModuleListe* list_;
  SWireKeys keys_;
};

class TActionNeuerEingang : public TWAction {
 public:
  // An empty `portKey` lets the first execution take the next free number.
  TActionNeuerEingang(TModuleListe* list, std::string moduleKey, std::string portTypeName,
                      std::string portKey);
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "new input"; }

 private:
  TModuleListe* list_;
  std::string moduleKey_;
  std::string portTypeName_;
  std::string portKey_;
};

class TActionEingangEntfernen : public TWAction {
 public:
  TActionEingangEntfernen(TModuleListe* list, std::string moduleKey, std::string portTypeName,
                          std::string portKey);
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "delete input"; }

 private:
  TModuleListe* list_;
  std::string moduleKey_;
  std::string portTypeName_;
  std::string portKey_;
};

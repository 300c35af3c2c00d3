// Undoable steps on ports: wiring and unwiring an input, adding and removing an input. Modules
// and ports are named by their keys (the port's key in the module's "InputList" or
// "OutputList").
#pragma once

#include <string>

#include "edit/action_manager.h"

class TModuleListe;

// The list and the four names of one wire; the base of connecting and disconnecting.
class TWireAction : public TWAction {
 public:
  TWireAction(TModuleListe* list, std::string inputModule, std::string inputPort,
              std::string outputModule, std::string outputPort);

 protected:
  TModuleListe* list_;
  std::string inputModule_;
  std::string inputPort_;
  std::string outputModule_;
  std::string outputPort_;
};

class TActionVerbindenModul : public TWireAction {
 public:
  using TWireAction::TWireAction;
  // Wires the input to the output; false when any of the four does not exist.
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "connect module"; }
};

class TActionUnterbrechenModul : public TWireAction {
 public:
  using TWireAction::TWireAction;
  // Frees the input (the output keys serve the inverse); false when the input does not exist.
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "disconnect module"; }
};

// The list, the module, and the type and key of one of its inputs; the base of adding and
// removing an input.
class TInputAction : public TWAction {
 public:
  TInputAction(TModuleListe* list, std::string moduleKey, std::string portTypeName,
               std::string portKey);

 protected:
  TModuleListe* list_;
  std::string moduleKey_;
  std::string portTypeName_;
  std::string portKey_;
};

class TActionNeuerEingang : public TInputAction {
 public:
  // An empty port key lets the first execution take the next free number.
  using TInputAction::TInputAction;
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "new input"; }
};

class TActionEingangEntfernen : public TInputAction {
 public:
  using TInputAction::TInputAction;
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "delete input"; }
};

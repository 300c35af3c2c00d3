// Undoable steps that add and remove an input of a module (the adder's variable inputs). Modules
// are named by their keys, the port by its key in the module's "InputList". The steps that make
// and remove wires live with the ports (ports.h).
#pragma once

#include <string>

#include "edit/action_manager.h"

class TPatchHost;

// The list, the module, and the type and key of one of its inputs; the base of adding and
// removing an input.
class TInputAction : public TWAction {
 public:
  TInputAction(TPatchHost* list, std::string moduleKey, std::string portTypeName,
               std::string portKey);

 protected:
  TPatchHost* list_;
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

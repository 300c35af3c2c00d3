// Ports: the connectors where wires start (outputs) and end (inputs), and the undoable steps that
// make and remove wires. A wire lives only in its input, as the key of the feeding module and the
// key of that module's output port, and is looked up again on every use; renaming, deleting or
// pasting modules therefore needs no pointer repair, and a wire whose names no longer resolve
// simply counts as absent. Every change of a wire is announced to the list's views.
#pragma once

#include <string>
#include <vector>

#include "edit/action_manager.h"
#include "patch/port_type.h"
#include "persist/prop_list.h"
#include "persist/prop_rect.h"
#include "persist/prop_values.h"

class TAusgang;
class TModul;
class TPatchHost;

class TEinAusgang : public TPropTypListChild {
 public:
  // Connector size inside the module panel.
  static constexpr TRect kDefaultRect{0, 0, 25, 15};

  explicit TEinAusgang(int code);

  int Code() const { return code_; }
  const SPortType& Type() const { return PortType(code_); }
  // The module that owns the port's list, or null.
  TModul* Owner() const;
  // The list that holds the owning module, or null.
  TPatchHost* Host() const;
  // The key of the port in its list.
  std::string Key() const;
  // The key of the owning module in its list.
  std::string OwnerKey() const;

  bool IsCompatible(const TEinAusgang& other) const { return PortsCompatible(code_, other.code_); }
  // An input is free without a source; an output is always free.
  virtual bool IsFree() const = 0;
  // Input: `other` is its source. Output: `other` is one of the inputs it feeds.
  virtual bool IsConnectedTo(const TEinAusgang& other) const = 0;
  // Makes or removes wires (see the subclasses) and returns the action that reverses the change
  // when `undoable`, or null.
  virtual TRPointerAction Connect(TEinAusgang* other, bool undoable) = 0;
  // Where wires attach, in canvas client coordinates: the middle of the connector's left edge
  // for an input, of its right edge for an output.
  TPoint ConnectionPoint() const;

  const TRPointer<TPropRect> Rect;
  const TRPointerPropString Title;

 private:
  int code_;
};

class TEingang : public TEinAusgang {
 public:
  explicit TEingang(int code);

  // The output that feeds this input, looked up by name; null when free or unresolvable.
  TAusgang* GetSource() const;
  bool IsFree() const override { return GetSource() == nullptr; }
  bool IsConnectedTo(const TEinAusgang& other) const override;
  // Wires this input to `other`, replacing a previous source in one undo step; wiring it to its
  // present source, or to nothing, removes the wire.
  TRPointerAction Connect(TEinAusgang* other, bool undoable) override;
  // After reading or pasting, a wire from an output whose kind does not fit is dropped with a
  // warning, so that the engine never reads one kind of value as another; while pasting, a wire
  // also survives only when its source was pasted too.
  bool Notify(int code, int arg, void* data) override;
  // A free audio or frequency input gets a new constant module wired to it, in one undo step.
  void DoubleClicked();
  // Sets the names of the wire (empty: none) and tells the views.
  void SetWire(const std::string& moduleName, const std::string& other);

  const TRPointerPropString ModuleName;
  const TRPointerPropString Other;

 private:
  TRPointerAction Disconnect(TAusgang& current, bool undoable);
};

class TAusgang : public TEinAusgang {
 public:
  explicit TAusgang(int code) : TEinAusgang(code) {}

  // The inputs this output feeds, in module-list order.
  std::vector<TEingang*> FedInputs() const;
  bool IsFree() const override { return true; }
  bool IsConnectedTo(const TEinAusgang& other) const override;
  // With a port: the input side makes the wire. With none: removes every wire of this output in
  // one undo step named "connect module".
  TRPointerAction Connect(TEinAusgang* other, bool undoable) override;
};

// The three segments of a wire from the source's connection point `from` to the input's `to`:
// straight lines leave each connector horizontally by 5 pixels; right-angled lines turn at the
// middle x.
std::vector<TPoint> WirePath(TPoint from, TPoint to, bool directLines);

// The list and the four names of one wire; the base of connecting and disconnecting.
class TWireAction : public TWAction {
 public:
  TWireAction(TPatchHost* list, std::string inputModule, std::string inputPort,
              std::string outputModule, std::string outputPort);

 protected:
  TPatchHost* list_;
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

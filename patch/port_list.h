// A module's input list or output list: its ports keyed by port name, recreated by type name
// when a file is read, and laid out along the module's left or right edge.
#pragma once

#include <string>
#include <vector>

#include "edit/action_manager.h"
#include "patch/ports.h"
#include "persist/prop_list.h"

class TModul;

class TEinAusgangListe : public TPropTypListChild {
 public:
  // Vertical distance of two connectors, and the height of the module's title bar.
  static constexpr int kPortSpacing = 17;
  static constexpr int kTitleHeight = 15;

  TEinAusgangListe();

  // The child factory: a port of a registered port type name.
  TRPointer<TPropTypList> CreatePort(const std::string& typeName, bool& queryOnly);
  // Adds a port of `code` (see port_type.h) under `name`, or under the next free number when
  // `name` is empty; a port already under that name is replaced.
  TRPointer<TEinAusgang> AddPort(int code, const std::string& name = {});
  TRPointer<TEinAusgang> AddPortByName(const std::string& typeName, const std::string& name);
  // The port under `key`, or null.
  TEinAusgang* Port(const std::string& key) const;
  // Every port, in key order.
  std::vector<TEinAusgang*> Ports() const;
  int Count() const { return static_cast<int>(Children().size()); }

  // Places the connectors along the module's edge, in key order.
  virtual void Layout() {}
  // Drops every wire of every port in one undo step named "connect module"; null without ports.
  TRPointerMacroAction DisconnectAll();

  // The module that owns the list, or null.
  TModul* Owner() const;

 protected:
  // Moves each port's connector to x, the first one centred below the title bar.
  void LayoutAt(int x);
};

class TEingangListe : public TEinAusgangListe {
 public:
  void Layout() override { LayoutAt(0); }
  // Appends every input of this list that `output` feeds.
  void InputsFedBy(const TAusgang& output, std::vector<TEingang*>& inputs) const;
  TEingang* Input(const std::string& key) const;
};

class TAusgangListe : public TEinAusgangListe {
 public:
  // Distance of an output connector's left edge from the module's right edge.
  static constexpr int kOutputInset = 27;

  void Layout() override;
  TAusgang* Output(const std::string& key) const;
};

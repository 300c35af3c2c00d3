// What modules, ports and the undoable steps need of the module list that holds them, as an
// interface: they reach their list only through it, so that the list (which knows them all)
// sits above them and nothing below includes it. TModuleListe implements it.
#pragma once

#include <string>
#include <vector>

#include "edit/action_manager.h"
#include "patch/list_changes.h"
#include "persist/prop_typ.h"

class TAusgang;
class TEingang;
class TModul;

class TPatchHost {
 public:
  virtual ~TPatchHost() = default;

  // The module under `key`, or null.
  virtual TModul* ModuleAt(const std::string& key) const = 0;
  // The key of `module` in the list; empty when it is not there.
  virtual std::string ModuleKey(const TModul& module) const = 0;
  // The first of base, base1, base2, ... that names no module yet.
  virtual std::string FreeModuleKey(const std::string& base) const = 0;
  // The input or output `port` of the module under `module`; null when either is missing.
  virtual TEingang* InputAt(const std::string& module, const std::string& port) const = 0;
  virtual TAusgang* OutputAt(const std::string& module, const std::string& port) const = 0;
  // The inputs `output` feeds, in module-key order.
  virtual std::vector<TEingang*> InputsFedBy(const TAusgang& output) const = 0;

  // A new module of `typeName` from the list's factory, not yet in the list; null when the list
  // takes no such type.
  virtual TRPointer<TModul> NewModule(const std::string& typeName) = 0;
  // Puts `module` into the list under `key` and shows it where the list is shown.
  virtual void InsertModule(const std::string& key, TRPointer<TModul> module) = 0;
  // Takes the module under `key` out of the list, dropping what showed it; false when none.
  virtual bool TakeOutModule(const std::string& key) = 0;

  // Files a step that was already done with the list's history.
  virtual void RecordAction(TRPointerAction action) = 0;
  virtual void UnmarkAll() = 0;
  // Re-validates the patch of the sound above, restarting a playing sound when `restart`.
  virtual void RestartDocument(bool restart) = 0;
  // Marks the sound above as changed.
  virtual void MarkDocumentChanged() = 0;
  // Tells the list's views what changed.
  virtual void Announce(const SListChange& change) = 0;
  // Scroll positions of the canvas that shows the list (0 while none does); absolute positions
  // are Rect plus these.
  virtual int HorizontalScroll() const = 0;
  virtual int VerticalScroll() const = 0;
};

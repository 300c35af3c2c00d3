// The change channel of a module list: after every change of its modules, ports, wires or
// looks, the list announces what changed to every view that subscribed, so that a view updates
// exactly the items concerned and never has to rescan the patch or be called by the model.
// Changes are announced where they are made (adding or removing a module, a property changed,
// a wire made or removed, ports added or removed, the active flag recomputed), so that every
// path to them (an action executed, undone or redone, loading, pasting, inserting, the patch
// re-validated) is announced alike.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TModul;
class TPropTyp;

enum class TListChangeKind {
  // A module came into the list under `module`; `subject` is it.
  ModuleAdded,
  // The module under `module` left the list; `subject` is null.
  ModuleRemoved,
  // `property` of the module changed (null: all of them): moved, retitled, marked, a value.
  ModuleChanged,
  // Ports of the module were added or removed, or they were laid out again; wires at the ports
  // that went are gone with them.
  PortsChanged,
  // The input `port` of the module under `module` got a wire, or lost it.
  WireAdded,
  WireRemoved,
  // The module's active flag (for a macro: the state its ports show) changed.
  ActiveChanged,
  // The colour options changed: everything is drawn again.
  ColoursChanged,
};

struct SListChange {
  explicit SListChange(TListChangeKind kind, std::string module = {}, TModul* subject = nullptr)
      : kind(kind), module(std::move(module)), subject(subject) {}

  TListChangeKind kind;
  // The module's key in the list; empty for ColoursChanged.
  std::string module;
  // The module itself while the announcement runs; never kept.
  TModul* subject = nullptr;
  // The input of a wire change.
  std::string port;
  const TPropTyp* property = nullptr;
};

class TListObserver {
 public:
  virtual ~TListObserver() = default;
  virtual void ListChanged(const SListChange& change) = 0;
};

// The observers of one list. An observer may subscribe or leave while a change is announced;
// one that leaves hears nothing more.
class TListChanges {
 public:
  void Subscribe(TListObserver& observer);
  void Unsubscribe(const TListObserver& observer);
  void Announce(const SListChange& change) const;
  bool HasObservers() const { return !observers_.empty(); }

 private:
  std::vector<TListObserver*> observers_;
};

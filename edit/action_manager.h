// Undo and redo. Every editing step of a module list is an action that can perform itself and
// build its own inverse; each list keeps an undo and a redo history of them. Actions never hold
// modules, only a list and keys, so they stay valid while other actions delete and re-create
// the module objects.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "persist/callbacks.h"
#include "persist/prop_typ.h"

class TWAction {
 public:
  virtual ~TWAction() = default;
  // Performs the change; false (and nothing changed) when it is not possible, for example
  // because a module it names no longer exists.
  virtual bool Execute() = 0;
  // A new action whose Execute undoes this one's.
  virtual TRPointer<TWAction> CreateInverse() const = 0;
  // Shown in the hints of the Undo and Redo commands.
  virtual std::string Name() const = 0;
};

using TRPointerAction = TRPointer<TWAction>;

// Several actions as one history entry; its inverse undoes the parts in reverse order.
class TMacroAction : public TWAction {
 public:
  explicit TMacroAction(std::string macroName = "macro Action ???") : name(std::move(macroName)) {}

  void Append(TRPointerAction action) { actions.push_back(std::move(action)); }
  bool IsEmpty() const { return actions.empty(); }
  // Executes every part in order and drops the parts that failed; always true.
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return name; }

  std::vector<TRPointerAction> actions;
  std::string name;
};

using TRPointerMacroAction = TRPointer<TMacroAction>;

class TActionManager {
 public:
  // Files an action that has already been performed and forgets everything that could be redone.
  void RecordAction(TRPointerAction action);
  // Executes the inverse of the newest entry and files it for redo when it succeeds.
  void Undo();
  void Redo();
  // Forgets both histories without telling the change callback.
  void ClearHistory();

  std::string UndoText() const;
  std::string RedoText() const;
  int UndoCount() const { return static_cast<int>(undoList_.size()); }
  int RedoCount() const { return static_cast<int>(redoList_.size()); }

  // Told after every change of a history.
  TAMsgStandardCallback changeCallback;

 private:
  static void Reverse(std::deque<TRPointerAction>& from, std::deque<TRPointerAction>& to);

  // Newest first.
  std::deque<TRPointerAction> undoList_;
  std::deque<TRPointerAction> redoList_;
};

// Undoable steps that create, delete and move whole modules. They name the module by its key in
// a module list; deleting keeps the module's complete text form, so that undo re-creates it
// exactly, under the same key.
#pragma once

#include <sstream>
#include <string>

#include "edit/action_manager.h"

class TPatchHost;

// The shared part of the actions that remove or re-create a whole module.
class TActionStreamModul {
 protected:
  // An empty `typeName` is taken from the module now stored under `key`.
  TActionStreamModul(TPatchHost* list, std::string key, std::string typeName);

  // Keeps the text form of the module under key; false when there is none.
  bool SaveModule();
  // Creates a module of typeName from the kept text and adds it under key, shown when the list
  // is; false when the type cannot be created.
  bool RestoreModule();
  // Takes the module out of the list; false when there is none.
  bool RemoveModule();

  TPatchHost* list_;
  std::string key_;
  std::string typeName_;
  std::string text_;
};

class TActionCreateModul : public TWAction {
 public:
  // An empty `key` lets the first execution choose one from the type name.
  TActionCreateModul(TPatchHost* list, std::string typeName, std::string key, int x, int y);
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "create module"; }

 private:
  TPatchHost* list_;
  std::string typeName_;
  std::string key_;
  int x_;
  int y_;
};

class TActionDeleteModul : public TWAction, private TActionStreamModul {
 public:
  TActionDeleteModul(TPatchHost* list, std::string key, std::string typeName = {});
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "delete module"; }
};

class TActionCreateModulFromStream : public TWAction, private TActionStreamModul {
 public:
  TActionCreateModulFromStream(TPatchHost* list, std::string key, std::string typeName,
                               std::string text);
  bool Execute() override { return RestoreModule(); }
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "create module"; }
};

// For modules already put into the list by other means (pasting, inserting a group): the
// module's text is kept at construction, so a redo after an undo can re-create it.
class TActionCreateExistModul : public TWAction, private TActionStreamModul {
 public:
  TActionCreateExistModul(TPatchHost* list, std::string key);
  bool Execute() override { return RestoreModule(); }
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "create module"; }
};

// Positions are absolute: canvas client coordinates plus the scroll positions.
class TActionMoveModul : public TWAction {
 public:
  TActionMoveModul(TPatchHost* list, std::string key, int oldX, int oldY, int newX, int newY);
  bool Execute() override;
  TRPointerAction CreateInverse() const override;
  std::string Name() const override { return "move module"; }

 private:
  TPatchHost* list_;
  std::string key_;
  int oldX_;
  int oldY_;
  int newX_;
  int newY_;
};

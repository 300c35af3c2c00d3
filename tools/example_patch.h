// Builds an example sound the way a user would in the editor: every module list is shown on a
// canvas without widgets, modules are dropped by type name at a position, wired port to port,
// and constants keep a fader on the Panel tab only where the example wants one to play with.
// The document is then saved with the program's own saving code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "modules/constants.h"
#include "patch/dokument_klang.h"
#include "patch/macro_modules.h"

// One module list being filled: the sound's structure or the inside of a macro.
class TExampleList {
 public:
  // Shows `list` (the group window of a macro, or the sound's structure tab).
  explicit TExampleList(TModuleListeArbeiten& list);

  // Drops a module of `typeName` under `key` with its top-left corner at (x, y).
  TModulArbeiten& Add(const std::string& typeName, const std::string& key, const std::string& title,
                      int x, int y);
  template <class T>
  T& Add(const std::string& typeName, const std::string& key, const std::string& title, int x,
         int y) {
    return dynamic_cast<T&>(Add(typeName, key, title, x, y));
  }
  // A constant ("ConstAnalog": amplitude, 2048 = unity, or milliseconds for envelope times;
  // "ConstFrequenz": hertz x 1024) holding `value` between `lower` and `upper`, raw units.
  TBasisKonstanten& Constant(const std::string& typeName, const std::string& key,
                             const std::string& title, std::int32_t lower, std::int32_t value,
                             std::int32_t upper, int x, int y);
  // Wires output `output` of `from` to input `input` of `to`.
  static void Wire(TModulArbeiten& from, TModulArbeiten& to, const std::string& input = "1",
                   const std::string& output = "1");

  TModuleListeArbeiten& list;
};

// A sound under construction.
class TExampleSound {
 public:
  TExampleSound(int voices, const std::string& note);

  TExampleList& Structure() { return structure_; }
  // A macro module dropped into the sound, with its inside shown for filling.
  TExampleList MacroAt(const std::string& key, const std::string& title, int x, int y);
  // Shows the fader of `constant` on the Panel tab at (x, y).
  void ShowFader(TBasisKonstanten& constant, int x, int y);
  // Marks exactly the modules of the structure whose keys are given (for saving a group).
  void MarkOnly(const std::vector<const char*>& keys);

  // Saves the sound with nothing marked; false when the file cannot be written.
  bool Save(const std::filesystem::path& path);
  // Saves the marked modules as a group file with the editor's "save as group" command.
  bool SaveGroup(const std::filesystem::path& path);

  TDokumentKlang document;

 private:
  TExampleList structure_;
};

// A sound document: the root of a sound's property tree (voice count, the patch, the description
// of its editor window) and the owner of its engine. It loads and saves the sound file, supplies
// the engine with the active modules, and re-validates the patch after every structural change.
#pragma once

#include <QString>
#include <string>

#include "engine/engine_host.h"
#include "engine/klang_engine.h"
#include "patch/document_host.h"
#include "patch/module_list.h"
#include "patch/window_description.h"
#include "persist/prop_list.h"
#include "persist/prop_values.h"

class TDokumentKlang : public TPropTypListChild, public TEngineHost, public TDocumentHost {
 public:
  TDokumentKlang();
  // Stops a playing sound first.
  ~TDokumentKlang() override;

  // Reads a sound file into this fresh document; false when the file cannot be read or is
  // malformed (what was read so far stays), with `fault` saying which and where.
  bool Load(const QString& path, std::string& fault);
  bool Load(const QString& path) {
    std::string fault;
    return Load(path, fault);
  }
  // Reads the sound from a recovery copy's `text` into this fresh document. The sound belongs to
  // `originalPath` (empty: it never had a file), so it saves there, and it counts as changed.
  bool Restore(const std::string& text, const QString& originalPath, std::string& fault);
  // Writes the sound file; false (and the old file intact) when it cannot be written.
  bool Save(const QString& path);
  // The sound as Save writes it, without making it the document's file.
  std::string SoundText();
  // Writes the sound as text, with the closing line.
  void WriteSound(std::ostream& out) const;

  int StartSound() override { return engine_.StartSound(); }
  int StopSound() override { return engine_.StopSound(); }
  bool IsStarted() const override { return engine_.IsStarted(); }
  void RestartSound(bool restart) override { engine_.RestartSound(restart); }
  // Changes the voice count (1..39), restarting a playing sound.
  void SetVoiceCount(int count) { engine_.SetVoiceCount(count); }
  TKlangEngine& Engine() { return engine_; }
  // GUI thread, on a timer (the main window's, or the loop of the headless renderer and the
  // live player): delivers what the engine thread published since the last poll, an overload
  // stop to the engine's listener and captures and levels to their modules.
  void PollEngine();

  void MarkChanged() override {
    modified_ = true;
    ++changes_;
  }
  bool IsModified() const { return modified_; }
  // Grows with every change, saved or not, so that a watcher sees changes since it last looked.
  unsigned ChangeCount() const { return changes_; }
  bool HasFileName() const { return hasFileName_; }

  TListChanges& SoundChanges() override { return soundChanges_; }

  void CollectModules(int voices, std::vector<TEngineModule*>& modules) override;
  void RevalidatePatch() override;
  void VoiceCountChanged(int voices) override;

  const TRPointerPropInteger CountVoices;
  const TRPointer<TModuleListeArbeiten> ModuleList;
  const TRPointer<TFensterKlang> ViewSound;

 private:
  // After reading: the engine takes the stored voice count, repaired into 1..39.
  void AdoptVoiceCount();
  bool ReadText(const std::string& text, std::string& fault);

  TKlangEngine engine_;
  TListChanges soundChanges_;
  bool modified_ = false;
  bool hasFileName_ = false;
  unsigned changes_ = 0;
};

// The sound document above `node` in the property tree, or null (a group opened on its own).
TDokumentKlang* FindDocument(const TPropTypListChild& node);

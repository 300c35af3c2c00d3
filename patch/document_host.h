// What module lists need of the sound document above them, as an interface, so that lists and
// the document (which owns lists) do not include each other: the changed flag, the engine, which
// edits stop and start again around the re-validation of the patch, and the sound-wide change
// channel. TDokumentKlang implements it.
#pragma once

#include "patch/list_changes.h"

class TDocumentHost {
 public:
  virtual ~TDocumentHost() = default;

  // Every change of every list of the sound, at any depth, after the list's own views heard it.
  virtual TListChanges& SoundChanges() = 0;

  virtual void MarkChanged() = 0;
  virtual bool IsStarted() const = 0;
  // 0 when the sound started (the engine's result codes otherwise).
  virtual int StartSound() = 0;
  // 0 when the sound stopped (the engine's result codes otherwise).
  virtual int StopSound() = 0;
  // Re-validates the patch; with `restart` a playing sound is stopped before and started after.
  virtual void RestartSound(bool restart) = 0;
};

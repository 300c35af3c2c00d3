// What the engine needs from a module of the patch. The patch model's module base class
// implements it; the engine never sees ports, panels or the property tree.
#pragma once

class TBindContext;
class TKlangEngine;

class TEngineModule {
 public:
  virtual ~TEngineModule() = default;

  // The module's work type code 0..26, or -1 when it has no engine work.
  virtual int GetWorkType() const = 0;
  // True when the module runs one instance whatever the voice count.
  virtual bool IsMono() const = 0;
  // Called at sound start once per voice (voice 0 only when mono) with the module's work record
  // for that voice, or null when the module has no work type. The module fills the record; any
  // further memory its kernel reads comes from `context` (see bind_context.h).
  virtual void BindWork(int voice, void* record, TBindContext& context) = 0;
  // Called once after every module is bound, before the engine thread starts.
  virtual void SoundStarted(TKlangEngine& engine, int voices) = 0;
  // Called once the engine thread has stopped (or was abandoned).
  virtual void SoundStopped(TKlangEngine& engine, int voices) = 0;
};

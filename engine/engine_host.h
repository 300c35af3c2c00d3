// The two ways the engine reaches out of itself: to the sound document that knows the patch and
// to whoever must hear that the engine gave up. Both are called on the GUI thread only: the
// engine thread publishes its news and the GUI thread collects it (TKlangEngine::PollNews).
#pragma once

#include <vector>

class TEngineModule;

// Supplied by the sound document. Every call comes from the GUI thread.
class TEngineHost {
 public:
  virtual ~TEngineHost() = default;

  // Appends the active modules of the sound, in broadcast order, for `voices` voices.
  virtual void CollectModules(int voices, std::vector<TEngineModule*>& modules) = 0;
  // Clears and recomputes which modules are active.
  virtual void RevalidatePatch() = 0;
  // The voice count changed: mark the document modified and show the new count.
  virtual void VoiceCountChanged(int voices) = 0;
};

// Told on the GUI thread, from TKlangEngine::PollNews.
class TEngineListener {
 public:
  virtual ~TEngineListener() = default;

  // The engine stopped itself after seven consecutive measurements above the processor limit;
  // `usage` is the last measurement in percent. The sound session shows it as message 15432.
  virtual void EngineOverloaded(int usage) = 0;
};

inline constexpr int kMessageEngineOverloaded = 15432;

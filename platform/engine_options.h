// The sound options the engine takes at every start, the same for the graphical program and
// real-time play.
#pragma once

#include "engine/klang_engine.h"
#include "platform/options.h"

inline void ApplySoundOptions(TKlangEngine& engine) {
  engine.SetProcessorLimit(SoundOptions().stopProzesserOver);
  engine.SetLowLatency(SoundOptions().lowLatency);
}

// "low latency (...)" or "buffered (...)": how a started sound plays, and why not with low latency
// when that was wished.
inline std::string PlayModeText(const TKlangEngine& engine) {
  const std::string lowLatency = "low latency: the engine computes in the speaker's callback";
  if (engine.IsDuplex()) return lowLatency + ", which records the microphone too";
  if (engine.IsLowLatency()) return lowLatency;
  const std::string buffered = "buffered: the engine runs " +
                               std::to_string(SoundOptions().waveBuffer) +
                               " ms ahead of the speaker";
  if (engine.FallbackReason().empty()) return buffered;
  return buffered + ", because " + engine.FallbackReason();
}

// The phase of the table oscillators: a signed 32-bit count of 1/1024 table entries that a
// frequency input (hertz x 1024) advances once per sample. One cycle spans the phase limit,
// sample rate x 1024, because a table holds one entry per sample of one second.
#pragma once

#include <cstdint>

#include "engine/work_kernel.h"
#include "engine/work_object.h"

inline constexpr int kPhaseFractionBits = 10;

// True when `phase` lies outside 0..limit-1: a cycle has completed, or an input outside the
// expected 0..limit-1 pushed it further. One unsigned compare covers both ends.
inline bool PhaseOutsideCycle(std::int32_t phase, std::int32_t limit) {
  return static_cast<std::uint32_t>(phase) >= static_cast<std::uint32_t>(limit);
}

// Brings a phase outside the cycle back into 0..limit-1. A frequency within the expected range
// only ever needs the single subtraction; anything else (negative, above the limit) takes the
// remainder, so no table is read outside its bounds whatever an input holds.
inline std::int32_t WrapPhase(std::int32_t phase, std::int32_t limit) {
  if (phase >= limit && phase - limit < limit) return phase - limit;
  const std::int32_t rest = phase % limit;
  return rest < 0 ? rest + limit : rest;
}

// Returns true when the phase was wrapped, i.e. a new cycle starts with this sample.
inline bool StartCycleIfDue(std::int32_t& phase, std::int32_t limit) {
  if (!PhaseOutsideCycle(phase, limit)) return false;
  phase = WrapPhase(phase, limit);
  return true;
}

// Work object of a phase oscillator: remembers the phase limit of the sample rate.
template <class Record>
class TWorkPhasenGenerator : public TWorkRecords<Record> {
 public:
  // `rate` in samples per second, the length of the tables. A rate whose cycle would not fit the
  // phase is ignored: the limit must stay positive for the wrap's remainder.
  void SetSampleRate(std::int32_t rate) override {
    if (rate > 0 && rate <= (INT32_MAX >> kPhaseFractionBits)) {
      phaseLimit = rate << kPhaseFractionBits;
    }
  }

  // Phase units of one cycle (22579200 at 22050 Hz).
  std::int32_t phaseLimit = kEngineSampleRate << kPhaseFractionBits;
};

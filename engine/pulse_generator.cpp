#include "engine/pulse_generator.h"

#include "engine/wrap_arith.h"

std::int32_t PulseThreshold(std::int32_t pulseWidth) {
  const std::int32_t shifted =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(pulseWidth) << 14);
  return shifted < 0 ? WrapNeg(shifted) : shifted;
}

void TWorkRechteckGeneratoren::ProcessSample() {
  const std::int32_t limit = phaseLimit;
  ForEachRecordBackward(firstRecord, lastRecord, [limit](SPulseGeneratorRecord& r) {
    if (r.phase < r.threshold) {
      r.output = *r.amplitude;
    } else {
      // The width is taken over only where a cycle starts, so a change never cuts a pulse short.
      if (StartCycleIfDue(r.phase, limit)) r.threshold = PulseThreshold(*r.pulseWidth);
      r.output = WrapNeg(*r.amplitude);
    }
    r.phase = WrapAdd(r.phase, *r.frequency);
  });
}

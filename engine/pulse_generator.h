// The pulse oscillator (work type 10): computes its square wave from the phase instead of
// reading a table, so that the width can change from one cycle to the next.
#pragma once

#include <cstdint>

#include "engine/oscillator_phase.h"

struct SPulseGeneratorRecord {
  std::int32_t phase;              // 1/1024 table entries of a one-second cycle
  const std::int32_t* pulseWidth;  // 689 is half the cycle, 1378 the whole
  std::int32_t threshold;          // phase units; high below it. The module sets the first one.
  const std::int32_t* amplitude;   // 2048 = unity; the output is +amplitude or -amplitude
  const std::int32_t* frequency;   // hertz x 1024
  std::int32_t output;             // audio
};

// Phase units of the high part for a width input: |width x 16384|, kept in 32 bits.
std::int32_t PulseThreshold(std::int32_t pulseWidth);

class TWorkRechteckGeneratoren : public TWorkPhasenGenerator<SPulseGeneratorRecord> {
 public:
  void ProcessSample() override;
};

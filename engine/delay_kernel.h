// The delay line: each record owns a ring buffer (memory held by the delay module) and outputs
// the input of Length samples earlier. The control input rescales Length once per period, at the
// moment the position wraps, so a moving control never jumps inside the buffer.
#pragma once

#include <cstdint>

#include "engine/record_kernel.h"

struct SDelayRecord {
  const std::int32_t* Control;  // 2048 = full MaxLength, 1024 = half
  std::int32_t Length;          // samples per period, 1..MaxLength
  const std::int32_t* Input;
  std::int32_t MaxLength;  // buffer length in samples, at least 1
  std::int32_t* Buffer;    // MaxLength samples
  std::int32_t Position;   // next buffer index, 0..Length-1
  std::int32_t Output;
};

// Shortest period used when the control is 0 (or rounds to 0).
inline constexpr std::int32_t kDelayMinimumLength = 41;

// The period for a control value: |control x maxLength| >> 11 (product wrapping in 32 bits),
// at most maxLength; 0 becomes 41 samples, or maxLength when the buffer is shorter. For a
// maxLength of at least 1 the result always lies in 1..maxLength. The delay module computes the
// first Length of a record with this same rule.
std::int32_t DelayLength(std::int32_t control, std::int32_t maxLength);

inline void DelayStep(SDelayRecord& record) {
  record.Output = record.Buffer[record.Position];
  record.Buffer[record.Position] = *record.Input;
  // ">=" rather than "==": a position can never run past the period, whatever the record held.
  if (++record.Position >= record.Length) {
    record.Position = 0;
    record.Length = DelayLength(*record.Control, record.MaxLength);
  }
}

using TWorkDelay = TWorkKernel<SDelayRecord, &DelayStep>;

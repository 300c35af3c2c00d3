#include "engine/delay_kernel.h"

#include "engine/wrap_arith.h"

std::int32_t DelayLength(std::int32_t control, std::int32_t maxLength) {
  const std::int32_t scaled = WrapMul(control, maxLength) >> kAmplitudeShift;
  // |scaled| cannot overflow: the shift leaves at most 21 significant bits.
  const std::int32_t length = scaled < 0 ? -scaled : scaled;
  if (length > maxLength) return maxLength;
  if (length == 0) return maxLength < kDelayMinimumLength ? maxLength : kDelayMinimumLength;
  return length;
}

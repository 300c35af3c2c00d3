// The amplitude rule every generator output follows: value x amplitude / 2048, the product kept
// in 32 bits and shifted right arithmetically, so that an amplitude of 2048 is unity gain.
#pragma once

#include <cstdint>

#include "engine/work_object.h"
#include "engine/wrap_arith.h"

inline std::int32_t ScaleByAmplitude(std::int32_t value, std::int32_t amplitude) {
  return WrapMul(value, amplitude) >> kAmplitudeShift;
}

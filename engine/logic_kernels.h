// Kernels that combine two inputs into one output value: the amplifier and the five logic
// operations share one record layout (the TWorkVerknuepfung family); the resolution mask sits
// beside them. Values are signed 32-bit; everything wraps and nothing is clipped.
#pragma once

#include <cstdint>

#include "engine/record_kernel.h"
#include "engine/wrap_arith.h"

struct SVerknuepfungRecord {
  const std::int32_t* Input1;
  const std::int32_t* Input2;
  std::int32_t Output;
};

// x1 x x2 >> 11: an amplitude of 2048 is unity gain. The shift rounds toward minus infinity.
inline std::int32_t Amplify(std::int32_t x1, std::int32_t x2) {
  return WrapMul(x1, x2) >> kAmplitudeShift;
}

inline std::int32_t BitOr(std::int32_t x1, std::int32_t x2) { return x1 | x2; }
inline std::int32_t BitAnd(std::int32_t x1, std::int32_t x2) { return x1 & x2; }
// The "exclusive or" module keeps the bits of x1 that x2 does not have: 6 and 3 give 4.
inline std::int32_t BitAndNot(std::int32_t x1, std::int32_t x2) { return x1 & ~x2; }

// Truncating division; x1 passes unchanged when x2 is 0. INT32_MIN / -1 gives INT32_MIN, the
// wrapped negation, instead of trapping.
inline std::int32_t Quotient(std::int32_t x1, std::int32_t x2) {
  if (x2 == 0) return x1;
  if (x2 == -1) return WrapNeg(x1);
  return x1 / x2;
}

// Remainder with the sign of x1; x1 passes unchanged when x2 is 0. INT32_MIN % -1 gives 0, like
// every other value modulo -1, instead of trapping.
inline std::int32_t Remainder(std::int32_t x1, std::int32_t x2) {
  if (x2 == 0) return x1;
  if (x2 == -1) return 0;
  return x1 % x2;
}

template <std::int32_t (*Operation)(std::int32_t, std::int32_t)>
inline void VerknuepfungStep(SVerknuepfungRecord& record) {
  record.Output = Operation(*record.Input1, *record.Input2);
}

template <std::int32_t (*Operation)(std::int32_t, std::int32_t)>
using TWorkVerknuepfung = TWorkKernel<SVerknuepfungRecord, &VerknuepfungStep<Operation>>;

using TWorkLautstaerke = TWorkVerknuepfung<&Amplify>;
using TWorkOder = TWorkVerknuepfung<&BitOr>;
using TWorkUnd = TWorkVerknuepfung<&BitAnd>;
using TWorkModula = TWorkVerknuepfung<&Remainder>;
using TWorkExor = TWorkVerknuepfung<&BitAndNot>;
using TWorkDivision = TWorkVerknuepfung<&Quotient>;

// Mask has the n lowest bits cleared, so the output keeps only the coarse steps of the input.
struct SAufloesungRecord {
  const std::int32_t* Input1;
  std::int32_t Output;
  std::uint32_t Mask;
};

inline void AufloesungStep(SAufloesungRecord& record) {
  record.Output =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(*record.Input1) & record.Mask);
}

using TWorkAufloesung = TWorkKernel<SAufloesungRecord, &AufloesungStep>;

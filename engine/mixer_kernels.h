// Kernels that mix audio signals: the adder (also the poly-to-mono combiner), the two crossfades
// and the stereo pan. Control inputs use 2048 as full scale; the pan weights sum to 4096/1024, so
// the pans have a gain of 4 (2 per side in the middle), which the modules rely on.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/record_kernel.h"
#include "engine/wrap_arith.h"

struct SAddiererRecord {
  std::int32_t Count;                  // number of sources, at least 1 as bound
  const std::int32_t* const* Sources;  // Count input pointers
  std::int32_t Output;
  // Set at the start: values from one source to the next when the sources lie evenly spaced, as
  // the voice records of one module do, else 0. The sum then reads them without their pointers.
  std::int32_t SourceSpacing;
};

struct SCrossfadeRecord {
  const std::int32_t* Input1;  // control
  const std::int32_t* Input2;  // A1
  const std::int32_t* Input3;  // A2
  std::int32_t Output;
};

struct SStereoPanRecord {
  const std::int32_t* Input1;  // pan position, -2048 (right) .. 2048 (left)
  const std::int32_t* Input2;  // signal
  std::int32_t Left;
  std::int32_t Right;
};

// The weight shift of the crossfades and the pan: a control of 1024 is unity.
inline constexpr int kControlShift = 10;
inline constexpr std::int32_t kPanFullScale = 2048;

// A1 for positive, A2 for negative controls, scaled by |c| / 1024; 0 gives 0.
inline std::int32_t CrossfadeAmplitude(std::int32_t c, std::int32_t a1, std::int32_t a2) {
  if (c > 0) return WrapMul(a1, c) >> kControlShift;
  return WrapMul(a2, WrapNeg(c)) >> kControlShift;
}

// The share of the first (left) signal at pan position p: s x (p + 2048) / 1024, silent at -2048
// and below.
inline std::int32_t PanFirst(std::int32_t p, std::int32_t s) {
  if (p <= -kPanFullScale) return 0;
  return WrapMul(s, WrapAdd(p, kPanFullScale)) >> kControlShift;
}

// The share of the second (right) signal: s x (2048 - p) / 1024, silent at 2048 and above.
inline std::int32_t PanSecond(std::int32_t p, std::int32_t s) {
  if (p >= kPanFullScale) return 0;
  return WrapMul(s, WrapSub(kPanFullScale, p)) >> kControlShift;
}

// Each share is shifted before the two are added.
inline std::int32_t CrossfadePan(std::int32_t p, std::int32_t a1, std::int32_t a2) {
  return WrapAdd(PanFirst(p, a1), PanSecond(p, a2));
}

// The sum of `count` sources, `source(i)` giving the value of source i. Wrapping addition is
// associative and commutative, so the sources are summed first to last into four independent
// unsigned sums: the loads of four sources are in flight at once instead of each addition waiting
// for the one before. A count of 0 or less reads no source and gives 0.
template <class Source>
inline std::int32_t SumOfSources(std::int32_t count, Source source) {
  std::uint32_t sums[4] = {0, 0, 0, 0};
  std::int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    for (int lane = 0; lane < 4; ++lane)
      sums[lane] += static_cast<std::uint32_t>(source(i + lane));
  }
  for (; i < count; ++i)
    sums[0] += static_cast<std::uint32_t>(source(i));
  return static_cast<std::int32_t>((sums[0] + sums[1]) + (sums[2] + sums[3]));
}

// Values from each source to the next when every source lies that far after the one before (at
// least two sources, not all the same), else 0.
std::int32_t EvenSourceSpacing(const std::int32_t* const* sources, std::int32_t count);

inline void AddiererStep(SAddiererRecord& record) {
  if (record.SourceSpacing != 0) {
    const std::int32_t* const first = record.Sources[0];
    const std::ptrdiff_t spacing = record.SourceSpacing;
    record.Output =
        SumOfSources(record.Count, [first, spacing](std::int32_t i) { return first[i * spacing]; });
    return;
  }
  const std::int32_t* const* const sources = record.Sources;
  record.Output = SumOfSources(record.Count, [sources](std::int32_t i) { return *sources[i]; });
}

inline void CrossfadeLautstaerkeStep(SCrossfadeRecord& record) {
  record.Output = CrossfadeAmplitude(*record.Input1, *record.Input2, *record.Input3);
}

inline void CrossfadeRichtungStep(SCrossfadeRecord& record) {
  record.Output = CrossfadePan(*record.Input1, *record.Input2, *record.Input3);
}

inline void StereoPanStep(SStereoPanRecord& record) {
  const std::int32_t p = *record.Input1;
  const std::int32_t s = *record.Input2;
  record.Left = PanFirst(p, s);
  record.Right = PanSecond(p, s);
}

// The adder and the combiner: finds at the start which records' sources are evenly spaced.
class TWorkAddierer : public TWorkKernel<SAddiererRecord, &AddiererStep> {
 public:
  void Prepare() override;
};
using TWorkCrossfadeLautstaerke = TWorkKernel<SCrossfadeRecord, &CrossfadeLautstaerkeStep>;
using TWorkCrossfadeRichtung = TWorkKernel<SCrossfadeRecord, &CrossfadeRichtungStep>;
using TWorkStereoPan = TWorkKernel<SStereoPanRecord, &StereoPanStep>;

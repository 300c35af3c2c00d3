#include "engine/noise_generators.h"

#include <algorithm>

#include "engine/amplitude.h"
#include "engine/work_kernel.h"

namespace {

constexpr std::int64_t kSlowestRate = 5001 * 1024;
constexpr std::int64_t kHoldFactor = 20;

// Reads the entry at the record's index and moves on; the one unsigned compare restarts the
// table at its end and also catches an index bound outside it.
template <class Record>
inline void ReplayNextEntry(Record& r, std::int32_t length) {
  if (static_cast<std::uint32_t>(r.index) >= static_cast<std::uint32_t>(length)) r.index = 0;
  r.output = ScaleByAmplitude(r.table[r.index], *r.amplitude);
  ++r.index;
}

}  // namespace

std::int32_t RandomHoldSamples(std::int32_t rate) {
  const std::int64_t hold = (kSlowestRate - rate) * kHoldFactor;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(hold, 0, INT32_MAX));
}

void TWorkRauschGeneratoren::ProcessSample() {
  const std::int32_t length = tableLength;
  ForEachRecordBackward(firstRecord, lastRecord,
                        [length](SNoiseGeneratorRecord& r) { ReplayNextEntry(r, length); });
}

void TWorkZufallsGeneratoren::ProcessSample() {
  const std::int32_t length = tableLength;
  ForEachRecordBackward(firstRecord, lastRecord, [length](SRandomGeneratorRecord& r) {
    const std::int32_t left = r.holdCounter;
    r.holdCounter = WrapSub(left, 1);
    if (left != 0) return;
    r.holdCounter = RandomHoldSamples(*r.rate);
    ReplayNextEntry(r, length);
  });
}

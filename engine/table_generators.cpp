#include "engine/table_generators.h"

#include <algorithm>

#include "engine/amplitude.h"

namespace {

// Output of this sample at `phase` (already inside the cycle), then the phase step; `increment`
// is in phase units (hertz x 1024). The phase stays in a register between the wrap and the step,
// so the record's field is read and written once.
template <class Record>
inline void PlayTable(Record& r, std::int32_t phase, const std::int32_t* table,
                      std::int32_t increment) {
  r.output = ScaleByAmplitude(table[phase >> kPhaseFractionBits], *r.amplitude);
  r.phase = WrapAdd(phase, increment);
}

template <class Record>
inline void StandardStep(Record& r, std::int32_t limit) {
  std::int32_t phase = r.phase;
  StartCycleIfDue(phase, limit);
  PlayTable(r, phase, r.table, *r.frequency);
}

// FM input x 512: an input of 2048 shifts the frequency by 1024 Hz.
inline std::int32_t ModulationIncrement(std::int32_t modulation) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(modulation) << 9);
}

}  // namespace

void TWorkStandardGeneratoren::ProcessSample() {
  const std::int32_t limit = phaseLimit;
  ForEachRecordBackward(firstRecord, lastRecord,
                        [limit](SStandardGeneratorRecord& r) { StandardStep(r, limit); });
}

void TWorkStandardSynchGeneratoren::ProcessSample() {
  const std::int32_t limit = phaseLimit;
  ForEachRecordBackward(firstRecord, lastRecord, [limit](SSynchGeneratorRecord& r) {
    if (*r.sync <= 0) {
      r.phase = 0;
      r.output = 0;
      return;
    }
    StandardStep(r, limit);
  });
}

void TWorkStandardFMGeneratoren::ProcessSample() {
  const std::int32_t limit = phaseLimit;
  ForEachRecordBackward(firstRecord, lastRecord, [limit](SFMGeneratorRecord& r) {
    std::int32_t phase = r.phase;
    StartCycleIfDue(phase, limit);
    PlayTable(r, phase, r.table, WrapAdd(*r.frequency, ModulationIncrement(*r.modulation)));
  });
}

void TWorkWavetable::Prepare() {
  TWorkPhasenGenerator::Prepare();
  ForEachRecordBackward(firstRecord, lastRecord, [](SWavetableRecord& r) {
    r.waveCount = std::clamp(r.waveCount, 1, kWavetableMaxWaves);
    if (r.currentWave < 0 || r.currentWave >= r.waveCount) r.currentWave = 0;
  });
}

void TWorkWavetable::ProcessSample() {
  const std::int32_t limit = phaseLimit;
  ForEachRecordBackward(firstRecord, lastRecord, [limit](SWavetableRecord& r) {
    std::int32_t phase = r.phase;
    if (StartCycleIfDue(phase, limit) && ++r.currentWave >= r.waveCount) r.currentWave = 0;
    PlayTable(r, phase, r.tables[r.currentWave], *r.frequency);
  });
}

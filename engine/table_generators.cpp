#include "engine/table_generators.h"

#include <algorithm>

#include "engine/amplitude.h"

namespace {

// Output of this sample, then the phase step; `increment` is in phase units (hertz x 1024).
template <class Record>
inline void PlayTable(Record& r, const std::int32_t* table, std::int32_t increment) {
  r.output = ScaleByAmplitude(table[r.phase >> kPhaseFractionBits], *r.amplitude);
  r.phase = WrapAdd(r.phase, increment);
}

template <class Record>
inline void StandardStep(Record& r, std::int32_t limit) {
  StartCycleIfDue(r.phase, limit);
  PlayTable(r, r.table, *r.frequency);
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
    StartCycleIfDue(r.phase, limit);
    PlayTable(r, r.table, WrapAdd(*r.frequency, ModulationIncrement(*r.modulation)));
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
    if (StartCycleIfDue(r.phase, limit) && ++r.currentWave >= r.waveCount) r.currentWave = 0;
    PlayTable(r, r.tables[r.currentWave], *r.frequency);
  });
}

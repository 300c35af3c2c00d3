// The oscillators that read one cycle of a waveform table per period: standard (work type 7),
// sync (8), FM (9) and wavetable (13). Their generator modules fill the records at binding:
// inputs point at other records' outputs, table addresses at the document's waveform tables.
#pragma once

#include <cstdint>

#include "engine/oscillator_phase.h"

// Work type 7.
struct SStandardGeneratorRecord {
  std::int32_t phase;             // 1/1024 table entries
  const std::int32_t* amplitude;  // 2048 = unity
  const std::int32_t* frequency;  // hertz x 1024
  std::int32_t output;            // audio
  const std::int32_t* table;      // one cycle, sample-rate entries
};

// Work type 8: a sync input of 0 or below holds the oscillator at the start of its cycle.
struct SSynchGeneratorRecord {
  std::int32_t phase;
  const std::int32_t* amplitude;
  const std::int32_t* frequency;
  const std::int32_t* sync;  // audio; above 0 lets the oscillator run
  std::int32_t output;
  const std::int32_t* table;
};

// Work type 9.
struct SFMGeneratorRecord {
  std::int32_t phase;
  const std::int32_t* amplitude;
  const std::int32_t* frequency;
  const std::int32_t* modulation;  // audio; one unit shifts the frequency by half a hertz
  std::int32_t output;
  const std::int32_t* table;
};

inline constexpr int kWavetableMaxWaves = 30;

// Work type 13: each cycle plays the next table of the sequence.
struct SWavetableRecord {
  std::int32_t phase;
  const std::int32_t* amplitude;
  const std::int32_t* frequency;
  std::int32_t output;
  std::int32_t waveCount;    // 1..kWavetableMaxWaves
  std::int32_t currentWave;  // 0..waveCount-1
  const std::int32_t* tables[kWavetableMaxWaves];
};

class TWorkStandardGeneratoren : public TWorkPhasenGenerator<SStandardGeneratorRecord> {
 public:
  void ProcessSample() override;
};

class TWorkStandardSynchGeneratoren : public TWorkPhasenGenerator<SSynchGeneratorRecord> {
 public:
  void ProcessSample() override;
};

class TWorkStandardFMGeneratoren : public TWorkPhasenGenerator<SFMGeneratorRecord> {
 public:
  void ProcessSample() override;
};

class TWorkWavetable : public TWorkPhasenGenerator<SWavetableRecord> {
 public:
  // Also brings every record's wave count into 1..30 and its current wave below the count, so
  // that a sequence bound with odd values never picks a table address outside the record.
  void Prepare() override;
  void ProcessSample() override;
};

// The generators that replay the noise table entry by entry: noise (work type 11) reads one
// entry per sample, random (12) holds each entry for a time set by its rate input.
#pragma once

#include <cstdint>

#include "engine/work_object.h"

struct SNoiseGeneratorRecord {
  std::int32_t index;             // next table entry
  const std::int32_t* amplitude;  // 2048 = unity
  std::int32_t output;            // audio
  const std::int32_t* table;      // the noise table, sample-rate entries
};

struct SRandomGeneratorRecord {
  std::int32_t holdCounter;  // samples left before the next value; 0 picks one now
  std::int32_t index;
  const std::int32_t* amplitude;
  const std::int32_t* rate;  // hertz x 1024, 0..5000 x 1024; higher is faster
  std::int32_t output;
  const std::int32_t* table;
};

// Hold counter reload for a rate input: 20 x (5001 x 1024 - rate), which is 20481 samples at
// 5000 Hz x 1024 and 102420481 at 0. A rate above the range holds for no extra sample.
std::int32_t RandomHoldSamples(std::int32_t rate);

// Work object of a table replay: remembers the table length, which is the sample rate.
template <class Record>
class TWorkTabellenGenerator : public TWorkRecords<Record> {
 public:
  void SetSampleRate(std::int32_t rate) override { tableLength = rate; }

  std::int32_t tableLength = kEngineSampleRate;
};

class TWorkRauschGeneratoren : public TWorkTabellenGenerator<SNoiseGeneratorRecord> {
 public:
  void ProcessSample() override;
};

class TWorkZufallsGeneratoren : public TWorkTabellenGenerator<SRandomGeneratorRecord> {
 public:
  void ProcessSample() override;
};

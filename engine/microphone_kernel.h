// The microphone kernel (work type 17) reads one recorded sample per engine sample from the
// filled buffers of its wave-input driver (the recording rate is the engine rate) and gives
// each buffer back when it is used up. A buffer change costs one sample of output 0.
#pragma once

#include <cstdint>

#include "engine/wave_buffer.h"
#include "engine/work_object.h"

class TWorkWaveIn;

struct SMicrophonRecord {
  std::int32_t output = 0;  // audio, the 16-bit recorded sample as it is
  TWorkWaveIn* driver = nullptr;
  SWaveHeader* header = nullptr;   // the buffer being read, null when none
  std::uint32_t readPosition = 0;  // bytes
};

class TWorkMicrophon : public TWorkRecords<SMicrophonRecord> {
 public:
  void ProcessSample() override;
};

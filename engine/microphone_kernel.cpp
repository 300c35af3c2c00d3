#include "engine/microphone_kernel.h"

#include <algorithm>
#include <cstring>

#include "engine/wave_in_driver.h"
#include "engine/work_kernel.h"

namespace {

void NextBuffer(SMicrophonRecord& record) {
  if (record.header) record.driver->AddBuffer(record.header);
  record.header = nullptr;
  record.driver->PopFilled(record.header);
  record.readPosition = 0;
  record.output = 0;
}

}  // namespace

void TWorkMicrophon::ProcessSample() {
  ForEachRecordBackward(firstRecord, lastRecord, [](SMicrophonRecord& record) {
    // Only what the device recorded is read, never past the buffer.
    const SWaveHeader* header = record.header;
    if (header &&
        record.readPosition + 2 <= std::min(header->bytesRecorded, header->bufferLength)) {
      std::int16_t sample;
      std::memcpy(&sample, header->data + record.readPosition, sizeof sample);
      record.output = sample;
      record.readPosition += 2;
    } else {
      NextBuffer(record);
    }
  });
}

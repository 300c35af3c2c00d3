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

// Reads the next recorded sample of the current buffer; only what the device recorded is read,
// never past the buffer.
bool ReadSample(SMicrophonRecord& record) {
  const SWaveHeader* header = record.header;
  if (!header || record.readPosition + 2 > std::min(header->bytesRecorded, header->bufferLength)) {
    return false;
  }
  std::int16_t sample;
  std::memcpy(&sample, header->data + record.readPosition, sizeof sample);
  record.output = sample;
  record.readPosition += 2;
  return true;
}

}  // namespace

// At a buffer change the new buffer's first sample is read at once: a sample of silence there
// would click at every change, dozens of times a second.
void TWorkMicrophon::ProcessSample() {
  if (direct_) {
    ProcessDirect();
    return;
  }
  ForEachRecordBackward(firstRecord, lastRecord, [](SMicrophonRecord& record) {
    if (ReadSample(record)) return;
    NextBuffer(record);
    ReadSample(record);
  });
}

void TWorkMicrophon::SetDirect(bool direct) {
  direct_ = direct;
  halver_.Reset();
  fedCount_ = 0;
  nextFed_ = 0;
}

TWorkWaveIn* TWorkMicrophon::SoleDriver() const {
  if (GetRecordCount() != 1 || records == nullptr) return nullptr;
  return reinterpret_cast<const SMicrophonRecord*>(records)->driver;
}

void TWorkMicrophon::Feed(const std::int16_t* samples, std::uint32_t frames) {
  frames = std::min(frames, kMaxFeedFrames) / 2 * 2;
  nextFed_ = 0;
  if (samples == nullptr) {
    fedCount_ = frames / 2;
    std::fill_n(fed_.begin(), fedCount_, std::int16_t{0});
    return;
  }
  fedCount_ = halver_.Halve(samples, frames, fed_.data());
}

void TWorkMicrophon::ProcessDirect() {
  const std::int32_t sample = nextFed_ < fedCount_ ? fed_[nextFed_++] : 0;
  ForEachRecordBackward(firstRecord, lastRecord,
                        [sample](SMicrophonRecord& record) { record.output = sample; });
}

#include "engine/speaker_kernels.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "engine/wave_out_driver.h"
#include "engine/work_kernel.h"
#include "engine/wrap_arith.h"

static_assert(std::endian::native == std::endian::little,
              "device samples are stored in the byte order of the WAV format");

namespace {

template <int Channels>
using TFrame = std::array<std::int32_t, Channels>;

template <int Channels>
TFrame<Channels> Input(const SLautsprecherRecord& record) {
  if constexpr (Channels == 1) {
    return {*record.left};
  } else {
    return {*record.left, *record.right};
  }
}

template <int Channels>
TFrame<Channels> Previous(const SLautsprecherRecord& record) {
  if constexpr (Channels == 1) {
    return {record.previousLeft};
  } else {
    return {record.previousLeft, record.previousRight};
  }
}

template <int Channels>
void SetPrevious(SLautsprecherRecord& record, const TFrame<Channels>& frame) {
  record.previousLeft = frame[0];
  if constexpr (Channels == 2) record.previousRight = frame[1];
}

template <int Channels>
TFrame<Channels> Midpoint(const TFrame<Channels>& previous, const TFrame<Channels>& current) {
  TFrame<Channels> middle;
  for (int c = 0; c < Channels; ++c)
    middle[c] = WrapAdd(previous[c], WrapSub(current[c], previous[c]) >> 1);
  return middle;
}

// A device sample is the low 16 bits of the engine value: engine full scale 2048 is 1/16 of the
// device's, and values beyond -32768..32767 wrap.
template <int Channels>
void StoreFrame(std::byte* at, const TFrame<Channels>& frame) {
  for (int c = 0; c < Channels; ++c) {
    const auto sample = static_cast<std::uint16_t>(static_cast<std::uint32_t>(frame[c]));
    std::memcpy(at + 2 * c, &sample, sizeof sample);
  }
}

// Everything below the write position is final: a correction never moves it back below where
// the sample that made it began.
void Publish(SLautsprecherRecord& record) {
  record.written->store(record.writePosition, std::memory_order_release);
}

template <int Channels>
void UseBuffer(SLautsprecherRecord& record, TWorkWaveOutBuffer* buffer) {
  constexpr std::uint32_t kPairBytes = 4 * Channels;
  record.current = buffer;
  record.data = buffer ? buffer->data() : nullptr;
  record.written = buffer ? &buffer->header()->written : nullptr;
  // Whole frame pairs only, so that a pair written below the length always fits.
  record.bufferLength = buffer ? buffer->length() - buffer->length() % kPairBytes : 0;
}

}  // namespace

template <int Channels>
void TSpeakerKernel<Channels>::SetWaveBuffer(int milliseconds) {
  leadBytes_ =
      static_cast<std::uint32_t>(std::clamp(milliseconds, kWaveBufferMinimum, kWaveBufferMaximum)) *
      kLeadBytesPerMillisecond;
}

template <int Channels>
void TSpeakerKernel<Channels>::Prepare() {
  TWorkRecords::Prepare();
  if (direct_) {
    PrepareDirect();
    return;
  }
  ForEachRecordBackward(firstRecord, lastRecord, [this](SLautsprecherRecord& record) {
    record.next = nullptr;
    TWorkWaveOutBuffer* first = nullptr;
    if (record.driver) {
      record.driver->Reset();
      first = record.driver->GetFreeBuffer();
    }
    UseBuffer<Channels>(record, first);
    record.writePosition = std::min(leadBytes_, record.bufferLength);
    if (first) {
      // The lead ahead of the device is never written: it plays as it stands.
      Publish(record);
      record.driver->QueueBuffer(first);
    }
  });
}

namespace {

// Hands the next buffer over so that the device plays it right after the current one, and
// measures how far the frames written have drifted from the frames the device played.
template <int Channels>
void TakeNextBuffer(SLautsprecherRecord& record) {
  using Kernel = TSpeakerKernel<Channels>;
  if (record.driver == nullptr) return;
  TWorkWaveOutBuffer* next = record.driver->GetFreeBuffer();
  if (next == nullptr) return;  // all busy: tried again on the next sample
  // Handed over before a byte of it is written: the device finds nothing to play in it yet.
  next->header()->written.store(0, std::memory_order_relaxed);
  record.driver->QueueBuffer(next);
  record.next = next;
  const auto drift = static_cast<std::int32_t>(record.framesWritten - record.driver->GetPosition());
  if (drift > Kernel::kTolerance) {
    record.correctionCount = drift - Kernel::kCorrectionTarget;
  } else if (drift < -Kernel::kTolerance) {
    record.correctionCount = drift + Kernel::kCorrectionTarget;
  }
}

template <int Channels>
void CorrectOnce(SLautsprecherRecord& record, const TFrame<Channels>& current) {
  constexpr std::uint32_t kPairBytes = TSpeakerKernel<Channels>::kPairBytes;
  if (record.correctionCount < 0) {
    if (record.writePosition + kPairBytes > record.bufferLength) return;
    std::byte* at = record.data + record.writePosition;
    StoreFrame<Channels>(at, current);
    StoreFrame<Channels>(at + kPairBytes / 2, current);
    record.writePosition += kPairBytes;
    record.framesWritten += 2;
    ++record.correctionCount;
  } else if (record.correctionCount > 0) {
    record.writePosition -= kPairBytes;
    record.framesWritten -= 2;
    --record.correctionCount;
  }
}

template <int Channels>
void WriteSample(SLautsprecherRecord& record) {
  using Kernel = TSpeakerKernel<Channels>;
  const TFrame<Channels> current = Input<Channels>(record);
  std::byte* at = record.data + record.writePosition;
  StoreFrame<Channels>(at, Midpoint<Channels>(Previous<Channels>(record), current));
  StoreFrame<Channels>(at + Kernel::kFrameBytes, current);
  record.writePosition += Kernel::kPairBytes;
  record.framesWritten += 2;
  SetPrevious<Channels>(record, current);

  if (record.correctionSpacing >= Kernel::kCorrectionSpacing) {
    record.correctionSpacing = 0;
    CorrectOnce<Channels>(record, current);
  } else {
    ++record.correctionSpacing;
  }
  Publish(record);
  if (record.next == nullptr && record.writePosition > Kernel::kNextBufferAt)
    TakeNextBuffer<Channels>(record);
}

// The current buffer is full: continue in the next one from byte 0. The engine sample of this
// call is not written.
template <int Channels>
void ChangeBuffer(SLautsprecherRecord& record) {
  if (record.next == nullptr) {
    TakeNextBuffer<Channels>(record);
    return;
  }
  // The whole buffer is final now, its unused end too.
  record.written->store(record.current->length(), std::memory_order_release);
  UseBuffer<Channels>(record, record.next);
  record.next = nullptr;
  record.writePosition = 0;
}

}  // namespace

template <int Channels>
void TSpeakerKernel<Channels>::ProcessSample() {
  ForEachRecordBackward(firstRecord, lastRecord, [](SLautsprecherRecord& record) {
    if (record.writePosition < record.bufferLength) {
      WriteSample<Channels>(record);
    } else {
      ChangeBuffer<Channels>(record);
    }
  });
}

template <int Channels>
void TSpeakerKernel<Channels>::StopWork() {
  ForEachRecordBackward(firstRecord, lastRecord, [](SLautsprecherRecord& record) {
    if (record.driver) record.driver->Reset();
  });
}

template <int Channels>
void TSpeakerKernel<Channels>::PrepareDirect() {
  ForEachRecordBackward(firstRecord, lastRecord, [this](SLautsprecherRecord& record) {
    record.data = nullptr;
    record.bufferLength = 0;
    record.writePosition = 0;
    record.written = &directMark_;
  });
}

template <int Channels>
TWorkWaveOut* TSpeakerKernel<Channels>::FirstDriver() const {
  const auto* first = reinterpret_cast<const SLautsprecherRecord*>(records);
  return first != nullptr ? first->driver : nullptr;
}

template <int Channels>
void TSpeakerKernel<Channels>::AimEach(std::byte* out, std::uint32_t frames,
                                       std::size_t recordBytes) {
  static_assert(kMaxAimFrames * kFrameBytes < kNextBufferAt);
  const std::uint32_t bytes = std::min(frames, kMaxAimFrames) / 2 * kPairBytes;
  SLautsprecherRecord* const first = firstRecord;
  ForEachRecordBackward(first, lastRecord, [=](SLautsprecherRecord& record) {
    record.data = out + static_cast<std::size_t>(&record - first) * recordBytes;
    record.writePosition = 0;
    record.bufferLength = bytes;
  });
}

template class TSpeakerKernel<1>;
template class TSpeakerKernel<2>;

#include "platform/rtaudio_wave_in_device.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <optional>

#include "engine/sample_halver.h"
#include "platform/device_buffer_queue.h"
#include "platform/rate_converter.h"
#include "platform/rtaudio_stream.h"

namespace {

class TRtAudioWaveInStream : public TWaveInStream {
 public:
  explicit TRtAudioWaveInStream(TWaveInDataReport& report) : report_(report) {}
  ~TRtAudioWaveInStream() override { Close(); }

  // Opens device `device` of the list over `apis`; recording begins with Start.
  int Begin(const std::vector<EDeviceApi>& apis, int device, std::string& error) {
    const SAudioStreamRequest request{
        EAudioDirection::Input,
        1,
        {kDeviceInputRate, 2 * kDeviceInputRate, kConvertedDeviceRate},
        &Record,
        this,
        {}};
    SOpenedAudioStream opened;
    const int result = OpenAudioStream(apis, device, request, opened, error);
    if (result != kWaveNoError) return result;
    audio_ = std::move(opened.audio);
    name_ = std::move(opened.name);
    halving_ = opened.rate == 2 * kDeviceInputRate;
    if (opened.rate == kConvertedDeviceRate &&
        !converter_.emplace(1, kConvertedDeviceRate, kDeviceInputRate).IsReady()) {
      std::string ignored;
      CloseAudioStream(*audio_, ignored);
      error = "There is not enough memory to convert the sound from the device's rate.";
      return kWaveNoMemory;
    }
    closed_.store(false, std::memory_order_release);
    return kWaveNoError;
  }

  int AddBuffer(SWaveHeader& header) override {
    if (closed_.load(std::memory_order_acquire)) return kWaveInvalidHandle;
    return queue_.Add(header) ? kWaveNoError : kWaveError;
  }

  int Start() override {
    if (closed_.load(std::memory_order_acquire)) return kWaveInvalidHandle;
    halver_.Reset();  // the callback is not running yet
    std::string ignored;
    return StartAudioStream(*audio_, ignored);
  }

  int Reset() override {
    if (closed_.load(std::memory_order_acquire)) return kWaveInvalidHandle;
    std::string ignored;
    const int stopped = StopAudioStream(*audio_, ignored);
    queue_.TakeBack([](SWaveHeader&) {});
    return stopped;
  }

  int Close() override {
    if (closed_.exchange(true, std::memory_order_acq_rel)) return kWaveInvalidHandle;
    std::string ignored;
    const int closed = CloseAudioStream(*audio_, ignored);
    queue_.TakeBack([](SWaveHeader&) {});
    return closed;
  }

  std::string DeviceName() const override { return name_; }

 private:
  // The device's thread: `frames` mono samples at the device's rate.
  static int Record(void*, void* input, unsigned frames, double, RtAudioStreamStatus, void* self) {
    auto& stream = *static_cast<TRtAudioWaveInStream*>(self);
    const auto* const samples = static_cast<const std::int16_t*>(input);
    if (stream.converter_) {
      stream.KeepConverted(samples, frames);
    } else if (stream.halving_) {
      stream.KeepHalved(samples, frames);
    } else {
      stream.Keep(samples, frames);
    }
    return 0;
  }

  // Copies the samples into the buffers in order; what finds no buffer is lost.
  void Keep(const std::int16_t* samples, std::size_t count) {
    const auto* const bytes = reinterpret_cast<const std::byte*>(samples);
    queue_.Transfer(
        count * sizeof(std::int16_t),
        [bytes](SWaveHeader& header, std::uint32_t offset, std::size_t at, std::size_t length) {
          std::memcpy(header.data + offset, bytes + at, length);
        },
        [this](SWaveHeader& header) {
          header.bytesRecorded = header.bufferLength;
          report_.BufferFilled(header);
        });
  }

  void KeepHalved(const std::int16_t* samples, std::size_t count) {
    constexpr std::size_t kPieceSamples = 512;
    std::array<std::int16_t, kPieceSamples / 2> halved;
    for (std::size_t at = 0; at < count; at += kPieceSamples) {
      const std::size_t piece = std::min(count - at, kPieceSamples);
      Keep(halved.data(), halver_.Halve(samples + at, piece, halved.data()));
    }
  }

  // A device at another rate: converted to 22050 Hz, in pieces whose result always fits, so
  // that the converter never has to hold more than its filter's look-ahead.
  void KeepConverted(const std::int16_t* samples, std::size_t count) {
    constexpr std::size_t kPieceFrames = 1024;
    std::array<std::int16_t, kPieceFrames> converted;
    TRateConverter::SConverted piece;
    do {
      piece = converter_->Convert(samples, std::min(count, kPieceFrames), converted.data(),
                                  converted.size());
      Keep(converted.data(), piece.produced);
      samples += piece.used;
      count -= piece.used;
    } while (count > 0 || piece.produced == converted.size());
  }

  TWaveInDataReport& report_;
  TDeviceBufferQueue queue_;
  std::unique_ptr<RtAudio> audio_;
  std::string name_;
  std::atomic<bool> closed_{true};
  bool halving_ = false;
  std::optional<TRateConverter> converter_;  // a device at kConvertedDeviceRate only
  TSampleHalver halver_;                     // the device's thread only (and Start, before it runs)
};

bool IsInputFormat(const SWaveFormat& format) { return format == Pcm16Format(1, kDeviceInputRate); }

}  // namespace

TRtAudioWaveInDevice::TRtAudioWaveInDevice(std::vector<EDeviceApi> apis) : apis_(std::move(apis)) {}

int TRtAudioWaveInDevice::Open(int device, const SWaveFormat& format, TWaveInDataReport& report,
                               std::unique_ptr<TWaveInStream>& stream) {
  if (!IsInputFormat(format)) {
    errors_.Remember(kWaveBadFormat, "Microphones record 16-bit mono sound at 22050 Hz only.");
    return kWaveBadFormat;
  }
  auto opened = std::make_unique<TRtAudioWaveInStream>(report);
  std::string reason;
  const int result = opened->Begin(apis_, device, reason);
  errors_.Remember(result, std::move(reason));
  if (result == kWaveNoError) stream = std::move(opened);
  return result;
}

bool TRtAudioWaveInDevice::CanOpen(int device, const SWaveFormat& format) {
  if (!IsInputFormat(format)) return false;
  // The trial stream never starts, so nothing is ever reported.
  struct TNoReports : TWaveInDataReport {
    void BufferFilled(SWaveHeader&) override {}
  } noReports;
  TRtAudioWaveInStream stream(noReports);
  std::string ignored;
  return stream.Begin(apis_, device, ignored) == kWaveNoError;
}

std::string TRtAudioWaveInDevice::ErrorText(int code) const { return errors_.Text(code); }

std::vector<std::string> TRtAudioWaveInDevice::DeviceNames() const {
  return ::DeviceNames(ListAudioDevices(EAudioDirection::Input, apis_));
}

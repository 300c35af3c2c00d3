#include "platform/rtaudio_wave_out_device.h"

#include <atomic>
#include <cstring>
#include <optional>

#include "engine/render_gate.h"
#include "platform/device_buffer_queue.h"
#include "platform/resampled_output.h"
#include "platform/rtaudio_stream.h"

namespace {

class TRtAudioWaveOutStream : public TWaveOutStream {
 public:
  TRtAudioWaveOutStream(TWaveOutDoneReport& report, std::uint16_t blockAlign)
      : report_(report), blockAlign_(blockAlign) {}
  ~TRtAudioWaveOutStream() override { Close(); }

  // Opens device `device` of the list over `apis` and starts it playing (silence until the
  // first buffer arrives).
  int Begin(const std::vector<EDeviceApi>& apis, int device, std::string& error) {
    SOpenedAudioStream opened;
    const int result = OpenAudioStream(apis, device, Request({}), opened, error);
    if (result != kWaveNoError) return result;
    apis_ = apis;
    device_ = device;
    audio_ = std::move(opened.audio);
    if (opened.rate != kDeviceOutputRate &&
        !resampled_.emplace(Channels(), opened.rate).IsReady()) {
      std::string ignored;
      CloseAudioStream(*audio_, ignored);
      error = "There is not enough memory to convert the sound to the device's rate.";
      return kWaveNoMemory;
    }
    const int started = StartAudioStream(*audio_, error);
    if (started != kWaveNoError) {
      std::string ignored;
      CloseAudioStream(*audio_, ignored);
      return started;
    }
    closed_.store(false, std::memory_order_release);
    return kWaveNoError;
  }

  int Write(SWaveHeader& header) override {
    if (closed_.load(std::memory_order_acquire)) return kWaveInvalidHandle;
    return queue_.Add(header) ? kWaveNoError : kWaveError;
  }

  int Reset() override {
    if (closed_.load(std::memory_order_acquire)) return kWaveInvalidHandle;
    ReturnAll();
    return kWaveNoError;
  }

  std::uint32_t GetPosition() const override {
    return static_cast<std::uint32_t>(queue_.Transferred() / blockAlign_);
  }

  int Close() override {
    if (closed_.exchange(true, std::memory_order_acq_rel)) return kWaveInvalidHandle;
    std::string ignored;
    const int closed = CloseAudioStream(*audio_, ignored);
    ReturnAll();
    return closed;
  }

  bool BeginRendering(TWaveOutRenderer& renderer) override {
    if (closed_.load(std::memory_order_acquire)) return false;
    gate_.Install(renderer);
    return true;
  }

  bool EndRendering(std::chrono::milliseconds limit) override { return gate_.Remove(limit); }

  // Reopens the device as one stream that also records the input; the old stream is closed
  // before the new one starts, so that only one callback ever reads the buffers. A device converted
  // from 44100 Hz is never duplex: its input would need the converse conversion, period by period
  // in step with the output's, and the microphone's own stream already converts.
  bool TakeInput(const std::string& inputName) override {
    if (closed_.load(std::memory_order_acquire) || resampled_ || inputName.empty()) return false;
    if (inputName == inputName_) return true;
    SOpenedAudioStream opened;
    std::string ignored;
    if (OpenAudioStream(apis_, device_, Request(inputName), opened, ignored) != kWaveNoError)
      return false;
    if (opened.rate != kDeviceOutputRate) {
      CloseAudioStream(*opened.audio, ignored);
      return false;
    }
    CloseAudioStream(*audio_, ignored);
    audio_ = std::move(opened.audio);
    inputName_ = inputName;
    return StartAudioStream(*audio_, ignored) == kWaveNoError;
  }

 private:
  // The stream's channels, from its 16-bit frames.
  unsigned Channels() const { return blockAlign_ / static_cast<unsigned>(sizeof(std::int16_t)); }

  SAudioStreamRequest Request(std::string inputName) {
    return {
        EAudioDirection::Output, Channels(), {kDeviceOutputRate, kConvertedDeviceRate}, &Play, this,
        std::move(inputName)};
  }

  // The device's thread: the next `frames` frames at the device's rate.
  // A duplex stream's `input` holds the period's mono input; it runs at 44100 Hz.
  static int Play(void* output, void* input, unsigned frames, double, RtAudioStreamStatus,
                  void* self) {
    auto& stream = *static_cast<TRtAudioWaveOutStream*>(self);
    if (!stream.resampled_) {
      stream.PlaySource(static_cast<std::byte*>(output), static_cast<const std::int16_t*>(input),
                        frames);
      return 0;
    }
    stream.resampled_->Fill(static_cast<std::int16_t*>(output), frames,
                            [&stream](std::int16_t* source, std::uint32_t count) {
                              stream.PlaySource(reinterpret_cast<std::byte*>(source), nullptr,
                                                count);
                            });
    return 0;
  }

  // The device's thread: the next `frames` frames at 44100 Hz, from the renderer, or else from
  // the buffers in order, silence after.
  void PlaySource(std::byte* out, const std::int16_t* in, std::uint32_t frames) {
    if (gate_.Render(out, in, frames)) return;
    const std::size_t bytes = std::size_t{frames} * blockAlign_;
    const std::size_t played = queue_.Transfer(
        bytes,
        [out](const SWaveHeader& header, std::uint32_t offset, std::size_t at, std::size_t count) {
          // Only what the writer has finished is read; a buffer not written that far yet (the
          // engine fell behind the device) plays silence there.
          const std::uint32_t written = header.written.load(std::memory_order_acquire);
          const std::size_t ready =
              written > offset ? std::min<std::size_t>(count, written - offset) : 0;
          std::memcpy(out + at, header.data + offset, ready);
          std::memset(out + at + ready, 0, count - ready);
        },
        [this](SWaveHeader& header) { report_.BufferDone(header); });
    std::memset(out + played, 0, bytes - played);
  }

  void ReturnAll() {
    queue_.TakeBack([this](SWaveHeader& header) { report_.BufferDone(header); });
  }

  TWaveOutDoneReport& report_;
  const std::uint16_t blockAlign_;
  TDeviceBufferQueue queue_;
  TRenderGate gate_;
  std::unique_ptr<RtAudio> audio_;
  // What the stream was opened with, for reopening it duplex.
  std::vector<EDeviceApi> apis_;
  int device_ = 0;
  std::string inputName_;                      // the input recorded as well; empty for none
  std::optional<TResampledOutput> resampled_;  // a device not at 44100 Hz only
  std::atomic<bool> closed_{true};
};

bool IsOutputFormat(const SWaveFormat& format) {
  return (format.channels == 1 || format.channels == 2) &&
         format == Pcm16Format(format.channels, kDeviceOutputRate);
}

}  // namespace

TRtAudioWaveOutDevice::TRtAudioWaveOutDevice(std::vector<EDeviceApi> apis)
    : apis_(std::move(apis)) {}

int TRtAudioWaveOutDevice::Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
                                std::unique_ptr<TWaveOutStream>& stream) {
  if (!IsOutputFormat(format)) {
    errors_.Remember(kWaveBadFormat, "Speakers play 16-bit mono or stereo sound at 44100 Hz only.");
    return kWaveBadFormat;
  }
  auto opened = std::make_unique<TRtAudioWaveOutStream>(report, format.blockAlign);
  std::string reason;
  const int result = opened->Begin(apis_, device, reason);
  errors_.Remember(result, std::move(reason));
  if (result == kWaveNoError) stream = std::move(opened);
  return result;
}

bool TRtAudioWaveOutDevice::CanOpen(int device, const SWaveFormat& format) {
  if (!IsOutputFormat(format)) return false;
  // Nothing is written to the trial stream, so nothing is ever reported.
  struct TNoReports : TWaveOutDoneReport {
    void BufferDone(SWaveHeader&) override {}
  } noReports;
  TRtAudioWaveOutStream stream(noReports, format.blockAlign);
  std::string ignored;
  return stream.Begin(apis_, device, ignored) == kWaveNoError;
}

std::string TRtAudioWaveOutDevice::ErrorText(int code) const { return errors_.Text(code); }

std::vector<std::string> TRtAudioWaveOutDevice::DeviceNames() const {
  return ::DeviceNames(ListAudioDevices(EAudioDirection::Output, apis_));
}

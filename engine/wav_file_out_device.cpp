#include "engine/wav_file_out_device.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>

#include "engine/wav_file.h"
#include "persist/output_file.h"

// The state of one open stream. The buffers it is handed form one continuous byte stream; the
// play clock says how far into it the device has played, and everything up to the clock is
// copied into the file once the buffer holding it has arrived: in chunks of a few kilobytes, and
// whole before that buffer's done report, a reset or the close. Bytes behind the clock are never
// changed by the speaker kernel (it writes ahead of the play position and reuses a buffer only
// after its done report), so a buffer whose bytes are copied late is still copied exactly.
class TWavFileOutput {
 public:
  TWavFileOutput(const std::filesystem::path& target, const SWaveFormat& format,
                 TWaveOutDoneReport& report)
      : output_(target), format_(format), report_(report) {}

  // A stream's header cannot be completed afterwards, so it announces the longest file.
  int Begin() {
    std::string error;
    if (!output_.Open(error)) return Fail(error);
    file_ = output_.File();
    temporary_ = output_.TemporaryPath();
    const auto header = WavHeader(format_, output_.IsStream() ? kWavMaxDataBytes : 0);
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size())
      return Fail("The header of \"" + output_.path().string() + "\" cannot be written", errno);
    return kWaveNoError;
  }

  const std::filesystem::path& temporary() const { return temporary_; }

  int Write(SWaveHeader& header) {
    std::lock_guard lock(mutex_);
    if (closed_) return kWaveInvalidHandle;
    if (heldCount_ == held_.size()) return kWaveError;
    held_[(heldFirst_ + heldCount_++) % held_.size()] = {&header, queuedEnd_};
    queuedEnd_ += header.bufferLength;
    CopyPlayed();
    return kWaveNoError;
  }

  void Play(std::uint32_t frames) {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    clock_ += std::uint64_t{frames} * format_.blockAlign;
    // Every writer of the position holds the lock, so no read-modify-write is needed.
    position_.store(position_.load(std::memory_order_relaxed) + frames, std::memory_order_relaxed);
    if (CopyDue()) CopyPlayed();
  }

  int Reset() {
    std::lock_guard lock(mutex_);
    if (closed_) return kWaveInvalidHandle;
    FinishPlayed();
    return kWaveNoError;
  }

  std::uint32_t Position() const { return position_.load(std::memory_order_relaxed); }

  void SkipLeadingFrames(std::uint32_t frames) {
    std::lock_guard lock(mutex_);
    skipBytes_ = std::uint64_t{frames} * format_.blockAlign;
  }

  bool closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
  }

  int Close() {
    std::lock_guard lock(mutex_);
    if (closed_) return kWaveInvalidHandle;
    FinishPlayed();
    closed_ = true;
    return Finalize();
  }

  void Abandon() {
    std::lock_guard lock(mutex_);
    if (!closed_) Fail("The file was abandoned");
  }

  bool written() const {
    std::lock_guard lock(mutex_);
    return closed_ && failure_ == kWaveNoError;
  }

  std::string error() const {
    std::lock_guard lock(mutex_);
    return error_;
  }

  SWavLevels levels() const {
    std::lock_guard lock(mutex_);
    return levels_;
  }

 private:
  struct SHeld {
    SWaveHeader* header;
    std::uint64_t start;  // offset of its first byte in the stream
  };

  static std::uint64_t EndOf(const SHeld& held) { return held.start + held.header->bufferLength; }

  // An offline render plays a few frames per engine sample; copying them in chunks instead keeps
  // that cheap. A buffer still goes back as soon as it has been played to its end.
  bool CopyDue() const {
    if (clock_ - copied_ >= kCopyChunkBytes) return true;
    return heldCount_ > 0 && clock_ >= EndOf(held_[heldFirst_]);
  }

  // Copies the played bytes that have arrived and returns each buffer played to its end.
  void CopyPlayed() {
    while (heldCount_ > 0) {
      const SHeld& front = held_[heldFirst_];
      const std::uint64_t end = EndOf(front);
      if (copied_ < end) {
        if (copied_ >= clock_) return;
        const std::uint64_t bytes = std::min(end, clock_) - copied_;
        WriteBytes(front.header->data + (copied_ - front.start), bytes);
        copied_ += bytes;
        if (copied_ < end) return;
      }
      SWaveHeader& done = *front.header;
      heldFirst_ = (heldFirst_ + 1) % held_.size();
      --heldCount_;
      report_.BufferDone(done);
    }
  }

  // Ends the stream at the clock: what was played without a buffer is silence, what was handed
  // over and not played is returned.
  void FinishPlayed() {
    CopyPlayed();
    if (copied_ < clock_) WriteSilence(clock_ - copied_);
    while (heldCount_ > 0) {
      SWaveHeader& returned = *held_[heldFirst_].header;
      heldFirst_ = (heldFirst_ + 1) % held_.size();
      --heldCount_;
      report_.BufferDone(returned);
    }
    queuedEnd_ = copied_ = clock_ = 0;
    position_.store(0, std::memory_order_relaxed);
  }

  void WriteBytes(const std::byte* bytes, std::uint64_t count) {
    if (failure_ != kWaveNoError) return;
    const std::uint64_t skipped = std::min(skipBytes_, count);
    skipBytes_ -= skipped;
    bytes += skipped;
    count -= skipped;
    if (count > kWavMaxDataBytes - dataBytes_) {
      Fail("The sound is too long for a WAV file");
      return;
    }
    if (std::fwrite(bytes, 1, count, file_) != count) {
      Fail("Writing \"" + output_.path().string() + "\" failed", errno);
      return;
    }
    dataBytes_ += count;
    Measure(bytes, count);
  }

  // Every count written is whole frames of 16-bit samples: the clock, the skip and the buffers
  // all move in frames.
  void Measure(const std::byte* bytes, std::uint64_t count) {
    // Summed exactly in integers per write (each square is at most 2^30), then added once.
    int peak = levels_.peak;
    std::uint64_t squares = 0;
    for (std::uint64_t i = 0; i + 1 < count; i += 2) {
      const auto low = std::to_integer<std::uint16_t>(bytes[i]);
      const auto high = std::to_integer<std::uint16_t>(bytes[i + 1]);
      const int value = static_cast<std::int16_t>(low | (high << 8));
      peak = std::max(peak, std::abs(value));
      squares += static_cast<std::uint64_t>(value * value);
    }
    levels_.peak = peak;
    levels_.sumOfSquares += static_cast<double>(squares);
    levels_.samples += count / 2;
  }

  void WriteSilence(std::uint64_t count) {
    static constexpr std::array<std::byte, 4096> kZeros{};
    while (count > 0 && failure_ == kWaveNoError) {
      const std::uint64_t part = std::min<std::uint64_t>(count, kZeros.size());
      WriteBytes(kZeros.data(), part);
      count -= part;
    }
  }

  // Completes the header and renames the file over the target, or removes it after a failure.
  int Finalize() {
    if (failure_ == kWaveNoError && !output_.IsStream()) {
      const auto header = WavHeader(format_, static_cast<std::uint32_t>(dataBytes_));
      if (std::fseek(file_, 0, SEEK_SET) != 0 ||
          std::fwrite(header.data(), 1, header.size(), file_) != header.size())
        Fail("Completing \"" + output_.path().string() + "\" failed", errno);
    }
    file_ = nullptr;
    std::string error;
    if (failure_ == kWaveNoError && !output_.Commit(error)) Fail(error);
    output_.Abandon();
    return failure_;
  }

  // Keeps the first failure: later ones are its consequences. `number` is an errno value or 0.
  int Fail(const std::string& what, int number = 0) {
    if (failure_ != kWaveNoError) return failure_;
    error_ = what + (number != 0 ? " (" + std::string(std::strerror(number)) + ")." : ".");
    failure_ = kWaveError;
    return failure_;
  }

  TOutputFile output_;
  std::filesystem::path temporary_;  // kept after the close, for whoever checks it is gone
  const SWaveFormat format_;
  TWaveOutDoneReport& report_;

  static constexpr std::uint64_t kCopyChunkBytes = 4096;

  mutable std::mutex mutex_;
  std::array<SHeld, 16> held_{};
  std::size_t heldFirst_ = 0;
  std::size_t heldCount_ = 0;
  // Offsets in the stream since the last reset, in bytes.
  std::uint64_t queuedEnd_ = 0;
  std::uint64_t copied_ = 0;
  std::uint64_t clock_ = 0;
  std::atomic<std::uint32_t> position_{0};  // frames

  std::FILE* file_ = nullptr;  // owned by output_
  std::uint64_t dataBytes_ = 0;
  SWavLevels levels_;
  std::uint64_t skipBytes_ = 0;  // still to be left out at the start of the file
  int failure_ = kWaveNoError;
  std::string error_;
  bool closed_ = false;
};

namespace {

class TWavFileOutStream : public TWaveOutStream {
 public:
  explicit TWavFileOutStream(std::shared_ptr<TWavFileOutput> output) : output_(std::move(output)) {}
  int Write(SWaveHeader& header) override { return output_->Write(header); }
  int Reset() override { return output_->Reset(); }
  std::uint32_t GetPosition() const override { return output_->Position(); }
  int Close() override { return output_->Close(); }

 private:
  std::shared_ptr<TWavFileOutput> output_;
};

bool IsOutputFormat(const SWaveFormat& format) {
  return (format.channels == 1 || format.channels == 2) &&
         format == Pcm16Format(format.channels, kDeviceOutputRate);
}

}  // namespace

TWavFileOutDevice::TWavFileOutDevice(std::filesystem::path target) : target_(std::move(target)) {}

TWavFileOutDevice::~TWavFileOutDevice() = default;

std::filesystem::path TWavFileOutDevice::TemporaryPath() const {
  return output_ ? output_->temporary() : std::filesystem::path();
}

int TWavFileOutDevice::Open(int device, const SWaveFormat& format, TWaveOutDoneReport& report,
                            std::unique_ptr<TWaveOutStream>& stream) {
  openError_.clear();
  if (device < 0) return kWaveBadDeviceId;
  if (!IsOutputFormat(format)) return kWaveBadFormat;
  if (output_ && !output_->closed()) return kWaveAllocated;
  auto output = std::make_shared<TWavFileOutput>(target_, format, report);
  const int begun = output->Begin();
  if (begun != kWaveNoError) {
    openError_ = output->error();
    return begun;
  }
  output_ = output;
  stream = std::make_unique<TWavFileOutStream>(std::move(output));
  return kWaveNoError;
}

bool TWavFileOutDevice::CanOpen(int device, const SWaveFormat& format) {
  return device >= 0 && IsOutputFormat(format);
}

std::string TWavFileOutDevice::ErrorText(int code) const {
  if (code == kWaveError) {
    const std::string detail = !openError_.empty() ? openError_ : output_ ? output_->error() : "";
    if (!detail.empty()) return detail;
  }
  return WaveResultText(code);
}

std::vector<std::string> TWavFileOutDevice::DeviceNames() const {
  return {target_.filename().string()};
}

void TWavFileOutDevice::SkipLeadingFrames(std::uint32_t frames) {
  if (output_) output_->SkipLeadingFrames(frames);
}

void TWavFileOutDevice::Abandon() {
  if (output_) output_->Abandon();
}

bool TWavFileOutDevice::Written() const { return output_ && output_->written(); }

SWavLevels TWavFileOutDevice::Levels() const { return output_ ? output_->levels() : SWavLevels{}; }

void TWavFileOutDevice::Play(std::uint32_t frames) {
  if (output_) output_->Play(frames);
}

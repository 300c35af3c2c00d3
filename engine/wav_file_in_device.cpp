#include "engine/wav_file_in_device.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/wav_file.h"

namespace {

bool IsInputFormat(const SWaveFormat& format) { return format == Pcm16Format(1, kDeviceInputRate); }

std::int32_t DecodeSample(const std::byte* at, std::uint16_t bits) {
  if (bits == 8) return (std::to_integer<std::int32_t>(at[0]) - 128) * 256;
  std::int16_t sample;
  std::memcpy(&sample, at, sizeof sample);
  return sample;
}

// One mono value per frame: the mean of its channels.
std::vector<std::int32_t> DecodeMono(const SWavContent& content) {
  const SWaveFormat& format = content.format;
  const std::size_t bytesPerSample = format.bitsPerSample / 8;
  std::vector<std::int32_t> mono(content.samples.size() / format.blockAlign);
  for (std::size_t frame = 0; frame < mono.size(); ++frame) {
    const std::byte* at = content.samples.data() + frame * format.blockAlign;
    std::int32_t sum = 0;
    for (std::size_t channel = 0; channel < format.channels; ++channel)
      sum += DecodeSample(at + channel * bytesPerSample, format.bitsPerSample);
    mono[frame] = sum / format.channels;
  }
  return mono;
}

class TWavFileInStream : public TWaveInStream {
 public:
  TWavFileInStream(std::vector<std::int16_t> samples, TWaveInDataReport& report)
      : samples_(std::move(samples)), report_(report) {}

  int AddBuffer(SWaveHeader& header) override {
    if (closed_) return kWaveInvalidHandle;
    if (waitingCount_ == waiting_.size()) return kWaveError;
    waiting_[(waitingFirst_ + waitingCount_++) % waiting_.size()] = &header;
    // A buffer given back while recording was one of those filled ahead.
    if (started_ && filledAhead_ > 0) --filledAhead_;
    FillAhead();
    return kWaveNoError;
  }

  int Start() override {
    if (closed_) return kWaveInvalidHandle;
    started_ = true;
    FillAhead();
    return kWaveNoError;
  }

  int Reset() override {
    started_ = false;
    waitingCount_ = 0;
    filledAhead_ = 0;
    return kWaveNoError;
  }

  int Close() override {
    Reset();
    closed_ = true;
    return kWaveNoError;
  }

 private:
  void FillAhead() {
    while (started_ && filledAhead_ < TWavFileInDevice::kFilledAhead && waitingCount_ > 0) {
      SWaveHeader& header = *waiting_[waitingFirst_];
      waitingFirst_ = (waitingFirst_ + 1) % waiting_.size();
      --waitingCount_;
      Fill(header);
      ++filledAhead_;
      report_.BufferFilled(header);
    }
  }

  void Fill(SWaveHeader& header) {
    const std::size_t wanted = header.bufferLength / 2;
    const std::size_t available = std::min(wanted, samples_.size() - next_);
    std::memcpy(header.data, samples_.data() + next_, available * 2);
    std::memset(header.data + available * 2, 0, (wanted - available) * 2);
    next_ += available;
    header.bytesRecorded = static_cast<std::uint32_t>(wanted * 2);
  }

  const std::vector<std::int16_t> samples_;
  std::size_t next_ = 0;
  TWaveInDataReport& report_;
  // Empty buffers in the order they were given; more than the driver's twenty never wait.
  std::array<SWaveHeader*, 32> waiting_{};
  std::size_t waitingFirst_ = 0;
  std::size_t waitingCount_ = 0;
  int filledAhead_ = 0;
  bool started_ = false;
  bool closed_ = false;
};

}  // namespace

bool LoadRecording(const std::filesystem::path& source, std::vector<std::int16_t>& samples,
                   std::string& error) {
  SWavContent content;
  if (!ReadWavFile(source, content, error)) return false;
  const std::uint32_t rate = content.format.samplesPerSecond;
  if (rate != kDeviceInputRate && rate != 2 * kDeviceInputRate) {
    error = source.string() + ": Only 22050 Hz and 44100 Hz recordings can be read (the file has " +
            std::to_string(rate) + " Hz).";
    return false;
  }
  const std::vector<std::int32_t> mono = DecodeMono(content);
  const std::size_t step = rate / kDeviceInputRate;
  samples.resize(mono.size() / step);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    std::int32_t sum = 0;
    for (std::size_t k = 0; k < step; ++k)
      sum += mono[i * step + k];
    samples[i] = static_cast<std::int16_t>(sum / static_cast<std::int32_t>(step));
  }
  return true;
}

TWavFileInDevice::TWavFileInDevice(std::filesystem::path source) : source_(std::move(source)) {}

bool TWavFileInDevice::Recording(std::vector<std::int16_t>& samples, std::string& error) const {
  samples.clear();
  return source_.empty() || LoadRecording(source_, samples, error);
}

int TWavFileInDevice::Open(int device, const SWaveFormat& format, TWaveInDataReport& report,
                           std::unique_ptr<TWaveInStream>& stream) {
  openError_.clear();
  if (device < 0) return kWaveBadDeviceId;
  if (!IsInputFormat(format)) return kWaveBadFormat;
  std::vector<std::int16_t> samples;
  if (!Recording(samples, openError_)) return kWaveBadFormat;
  stream = std::make_unique<TWavFileInStream>(std::move(samples), report);
  return kWaveNoError;
}

bool TWavFileInDevice::CanOpen(int device, const SWaveFormat& format) {
  std::vector<std::int16_t> samples;
  std::string ignored;
  return device >= 0 && IsInputFormat(format) && Recording(samples, ignored);
}

std::string TWavFileInDevice::ErrorText(int code) const {
  if (code == kWaveBadFormat && !openError_.empty()) return openError_;
  return WaveResultText(code);
}

std::vector<std::string> TWavFileInDevice::DeviceNames() const {
  return {source_.empty() ? std::string("Silence") : source_.filename().string()};
}

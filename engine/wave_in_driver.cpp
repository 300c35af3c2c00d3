#include "engine/wave_in_driver.h"

TWorkWaveIn::TWorkWaveIn(std::shared_ptr<TWaveInDevice> device) : device_(std::move(device)) {}

TWorkWaveIn::~TWorkWaveIn() { Close(); }

int TWorkWaveIn::Open(int device, std::uint32_t bufferBytes) {
  if (stream_) return kWaveHandleBusy;
  running_.store(false, std::memory_order_release);
  std::unique_ptr<TWaveInStream> openedStream;
  const int opened = device_->Open(device, format_, *this, openedStream);
  if (opened != kWaveNoError) return opened;
  stream_ = std::move(openedStream);
  live_.store(stream_.get(), std::memory_order_release);
  const bool sized = buffers_[0].header() && buffers_[0].length() == bufferBytes;
  if (!sized && !AllocateBuffers(bufferBytes)) return kWaveNoMemory;
  return kWaveNoError;
}

bool TWorkWaveIn::AllocateBuffers(std::uint32_t bytes) {
  for (TWorkWaveInBuffer& buffer : buffers_) {
    if (!buffer.Allocate(bytes)) {
      for (TWorkWaveInBuffer& allocated : buffers_)
        allocated.Release();
      return false;
    }
  }
  return true;
}

int TWorkWaveIn::Start() {
  if (!stream_ || !buffers_[0].header()) return kWaveInvalidHandle;
  if (running_.load(std::memory_order_acquire)) return kWaveHandleBusy;
  queue_.Clear();  // nothing pushes while not recording
  running_.store(true, std::memory_order_release);
  for (TWorkWaveInBuffer& buffer : buffers_) {
    const int added = stream_->AddBuffer(*buffer.header());
    if (added != kWaveNoError) return added;
  }
  return stream_->Start();
}

int TWorkWaveIn::Suspend() {
  if (!stream_) return kWaveInvalidHandle;
  running_.store(false, std::memory_order_release);
  return stream_->Reset();
}

int TWorkWaveIn::Close() {
  if (!stream_) return kWaveInvalidHandle;
  running_.store(false, std::memory_order_release);
  live_.store(nullptr, std::memory_order_release);
  stream_->Reset();
  const int closed = stream_->Close();
  stream_.reset();
  return closed;
}

int TWorkWaveIn::AddBuffer(SWaveHeader* header) {
  TWaveInStream* stream = live_.load(std::memory_order_acquire);
  if (!running_.load(std::memory_order_acquire) || stream == nullptr || header == nullptr)
    return kWaveNoError;
  return stream->AddBuffer(*header);
}

void TWorkWaveIn::BufferFilled(SWaveHeader& header) {
  if (running_.load(std::memory_order_acquire)) queue_.Push(&header);
}

bool TWorkWaveIn::CanOpen(int device, const SWaveFormat& format) const {
  return device_->CanOpen(device, format);
}

std::string TWorkWaveIn::ErrorText(int code) const { return device_->ErrorText(code); }

#include "engine/wave_out_driver.h"

#include <array>
#include <atomic>
#include <mutex>
#include <thread>

#include "engine/critical_section.h"
#include "engine/fifo.h"
#include "engine/wthread.h"

// Everything the output thread touches while the device is open.
class TWaveOutSession : public TWThread, public TWaveOutDoneReport {
 public:
  bool AllocateBuffers(std::uint32_t bytes) {
    for (TWorkWaveOutBuffer& buffer : buffers)
      if (!buffer.Allocate(bytes)) return false;
    return true;
  }

  void Wake() {
    wakeups_.fetch_add(1, std::memory_order_release);
    wakeups_.notify_one();
  }

  // Engine thread only: the single producer of the queue.
  bool Push(TWorkWaveOutBuffer* buffer) {
    buffer->header()->user.store(1, std::memory_order_relaxed);
    queued_.fetch_add(1, std::memory_order_relaxed);
    if (queue_.Push(buffer)) return true;
    Settle(*buffer, false);
    return false;
  }

  // Frees every buffer that the output thread has not taken yet.
  void DropQueued() {
    std::lock_guard lock(queueLock_);
    TWorkWaveOutBuffer* buffer = nullptr;
    while (queue_.Pop(buffer))
      Settle(*buffer, false);
  }

  bool HandedOver() const {
    return settled_.load(std::memory_order_acquire) == queued_.load(std::memory_order_acquire);
  }

  void BufferDone(SWaveHeader& header) override { header.user.store(0, std::memory_order_release); }

  std::array<TWorkWaveOutBuffer, TWorkWaveOut::kBufferCount> buffers;
  std::unique_ptr<TWaveOutStream> stream;
  std::atomic<bool> running{false};

 protected:
  void Run() override {
    while (running.load(std::memory_order_acquire)) {
      const std::uint32_t seen = wakeups_.load(std::memory_order_acquire);
      WriteQueued();
      if (!running.load(std::memory_order_acquire)) break;
      wakeups_.wait(seen, std::memory_order_acquire);
    }
  }

 private:
  void WriteQueued() {
    TWorkWaveOutBuffer* buffer = nullptr;
    while (running.load(std::memory_order_acquire) && PopLocked(buffer)) {
      // A buffer the device refuses is free again at once; its content is not played.
      Settle(*buffer, stream->Write(*buffer->header()) == kWaveNoError);
    }
  }

  bool PopLocked(TWorkWaveOutBuffer*& buffer) {
    std::lock_guard lock(queueLock_);
    return queue_.Pop(buffer);
  }

  // The buffer has left the queue: the device holds it (`held`) or it is free again.
  void Settle(TWorkWaveOutBuffer& buffer, bool held) {
    if (!held) buffer.header()->user.store(0, std::memory_order_release);
    settled_.fetch_add(1, std::memory_order_release);
  }

  // Guards the consumer side of the queue: the output thread's pops and the drain of Reset.
  // The engine thread pushes without it.
  TCriticalSection queueLock_;
  TFIFO<TWorkWaveOutBuffer*, TWorkWaveOut::kBufferCount> queue_;
  // The wake-up event: every signal counts up, so none is lost between a drain and the wait.
  std::atomic<std::uint32_t> wakeups_{0};
  std::atomic<std::uint64_t> queued_{0};
  std::atomic<std::uint64_t> settled_{0};
};

TWorkWaveOut::TWorkWaveOut(std::shared_ptr<TWaveOutDevice> device) : device_(std::move(device)) {
  SetFormat(false);
}

TWorkWaveOut::~TWorkWaveOut() { Close(); }

void TWorkWaveOut::SetFormat(bool stereo) {
  format_ = Pcm16Format(stereo ? 2 : 1, kDeviceOutputRate);
}

int TWorkWaveOut::Open(int device, int /*requestedSize*/, bool stereo) {
  if (session_) return kWaveHandleBusy;
  auto session = std::make_shared<TWaveOutSession>();
  const int opened = device_->Open(device, format_, *session, session->stream);
  if (opened != kWaveNoError) return opened;
  if (!session->AllocateBuffers(stereo ? kStereoBufferBytes : kMonoBufferBytes)) {
    session->stream->Close();
    return kWaveNoMemory;
  }
  session->running.store(true, std::memory_order_release);
  if (!session->Start()) {
    session->stream->Close();
    return kWaveError;
  }
  session->SetPriority(TWThread::kPriorityHighest);  // a refusal leaves the default priority
  live_.store(session.get(), std::memory_order_release);
  session_ = std::move(session);
  return kWaveNoError;
}

int TWorkWaveOut::Close() {
  if (!session_) return kWaveInvalidHandle;
  const std::shared_ptr<TWaveOutSession> session = std::move(session_);
  live_.store(nullptr, std::memory_order_release);
  session->running.store(false, std::memory_order_release);
  session->Wake();
  if (!session->WaitFor(kThreadEndLimit)) session->Abandon();
  session->DropQueued();
  session->stream->Reset();
  return session->stream->Close();
}

int TWorkWaveOut::Reset() {
  TWaveOutSession* session = live_.load(std::memory_order_acquire);
  if (session == nullptr) return kWaveInvalidHandle;
  session->DropQueued();
  return session->stream->Reset();
}

TWorkWaveOutBuffer* TWorkWaveOut::GetFreeBuffer() {
  TWaveOutSession* session = live_.load(std::memory_order_acquire);
  if (session == nullptr) return nullptr;
  for (TWorkWaveOutBuffer& buffer : session->buffers)
    if (buffer.header()->user.load(std::memory_order_acquire) == 0) return &buffer;
  return nullptr;
}

int TWorkWaveOut::QueueBuffer(TWorkWaveOutBuffer* buffer) {
  TWaveOutSession* session = live_.load(std::memory_order_acquire);
  if (session == nullptr) return kWaveInvalidHandle;
  if (buffer == nullptr || buffer->header() == nullptr) return kWaveError;
  if (!session->Push(buffer)) return kWaveError;
  session->Wake();
  return kWaveNoError;
}

std::uint32_t TWorkWaveOut::GetPosition() const {
  const TWaveOutSession* session = live_.load(std::memory_order_acquire);
  return session != nullptr ? session->stream->GetPosition() : 0;
}

bool TWorkWaveOut::BeginRendering(TWaveOutRenderer& renderer) {
  return session_ && session_->stream->BeginRendering(renderer);
}

bool TWorkWaveOut::TakeInput(const std::string& inputName) {
  return session_ && session_->stream->TakeInput(inputName);
}

bool TWorkWaveOut::EndRendering(std::chrono::milliseconds limit) {
  return !session_ || session_->stream->EndRendering(limit);
}

bool TWorkWaveOut::CanOpen(int device, const SWaveFormat& format) const {
  return device_->CanOpen(device, format);
}

std::string TWorkWaveOut::ErrorText(int code) const { return device_->ErrorText(code); }

bool TWorkWaveOut::WaitUntilHandedOver(std::chrono::milliseconds limit) const {
  if (!session_) return true;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!session_->HandedOver()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

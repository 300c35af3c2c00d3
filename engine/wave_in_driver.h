// The wave-input driver of a microphone module: twenty buffers circulate between the device,
// which fills them at 22050 Hz mono 16-bit, a queue of filled buffers, and the microphone
// kernel, which reads them on the engine thread and gives each one back when it is used up.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/fifo.h"
#include "engine/wave_buffer.h"
#include "engine/wave_format.h"
#include "engine/wave_in_device.h"

class TWorkWaveIn : private TWaveInDataReport {
 public:
  static constexpr int kBufferCount = 20;
  static constexpr int kQueueSize = 16;

  explicit TWorkWaveIn(std::shared_ptr<TWaveInDevice> device);
  ~TWorkWaveIn() override;
  TWorkWaveIn(const TWorkWaveIn&) = delete;
  TWorkWaveIn& operator=(const TWorkWaveIn&) = delete;

  const SWaveFormat& format() const { return format_; }

  // GUI thread. 12 when open; the device's code when it cannot be opened; 7 when the buffers of
  // `bufferBytes` each cannot be had (the device then stays open until Close).
  int Open(int device, std::uint32_t bufferBytes);
  // GUI thread, at sound start. 5 when not open, 12 when already recording; otherwise hands all
  // twenty buffers to the device and starts recording. Recording goes on after the sound stops.
  int Start();
  // GUI thread, while no engine reads the buffers: 5 when not open; otherwise stops recording
  // and takes every buffer back, until the next Start.
  int Suspend();
  // The name of the device's stream (see TWaveInStream::DeviceName); empty while closed.
  std::string DeviceName() const { return stream_ ? stream_->DeviceName() : std::string(); }
  // 5 when not open; otherwise stops recording and closes the device.
  int Close();
  bool IsOpen() const { return stream_ != nullptr; }
  // GUI thread: a share of the open stream, null while closed. A binding keeps it (and the
  // driver), so that an abandoned engine thread never reaches freed memory when the device closes.
  std::shared_ptr<const void> Stream() const { return stream_; }

  // Engine thread. Gives a used buffer back to the device while recording.
  int AddBuffer(SWaveHeader* header);
  // Engine thread. The oldest filled buffer; false when none is waiting.
  bool PopFilled(SWaveHeader*& header) { return queue_.Pop(header); }

  bool CanOpen(int device, const SWaveFormat& format) const;
  std::string ErrorText(int code) const;

 private:
  // The device's thread. A filled buffer beyond the sixteen waiting ones is dropped and stays
  // with the driver until the next Start after a Close.
  void BufferFilled(SWaveHeader& header) override;
  bool AllocateBuffers(std::uint32_t bytes);

  std::shared_ptr<TWaveInDevice> device_;
  std::atomic<bool> running_{false};
  std::shared_ptr<TWaveInStream> stream_;
  // The same stream for the engine thread's AddBuffer, which may run while the GUI thread closes.
  std::atomic<TWaveInStream*> live_{nullptr};
  std::array<TWorkWaveInBuffer, kBufferCount> buffers_;
  // Pushed by the device's thread, popped by the engine thread: one producer, one consumer.
  TFIFO<SWaveHeader*, kQueueSize> queue_;
  SWaveFormat format_ = Pcm16Format(1, kDeviceInputRate);
};

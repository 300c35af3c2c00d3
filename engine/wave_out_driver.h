// The wave-output driver of one speaker. The speaker kernel fills the driver's four large
// buffers on the engine thread and hands each one over while it is still being written, ahead of
// the device; the driver's output thread passes the buffers on to the device, whose done report
// makes them free again. The engine thread never waits on the device: it writes buffer memory,
// pushes onto a lock-free single-producer queue and reads the position.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/wave_buffer.h"
#include "engine/wave_format.h"
#include "engine/wave_out_device.h"

class TWaveOutSession;

class TWorkWaveOut {
 public:
  static constexpr int kBufferCount = 4;
  // About 1.8 s of sound each, whatever the caller asks for.
  static constexpr std::uint32_t kMonoBufferBytes = 160000;
  static constexpr std::uint32_t kStereoBufferBytes = 320000;
  static constexpr std::chrono::milliseconds kThreadEndLimit{500};

  explicit TWorkWaveOut(std::shared_ptr<TWaveOutDevice> device);
  ~TWorkWaveOut();
  TWorkWaveOut(const TWorkWaveOut&) = delete;
  TWorkWaveOut& operator=(const TWorkWaveOut&) = delete;

  // 44100 Hz 16-bit PCM, two channels when `stereo`, else one. The speaker module calls it once.
  void SetFormat(bool stereo);
  const SWaveFormat& format() const { return format_; }

  // GUI thread, while the sound is stopped. `requestedSize` (bytes) is accepted for the caller's
  // sake and does not change the buffer size. Returns 0, 12 when already open, the device's code
  // when it cannot be opened, 7 when the buffers cannot be had, 1 when no thread can be started;
  // on failure the driver stays closed.
  int Open(int device, int requestedSize, bool stereo);
  // Ends the output thread (abandoning it after 500 ms), returns every buffer and closes the
  // device. 5 when not open; otherwise the device's close result (0 when all was delivered).
  int Close();
  bool IsOpen() const { return session_ != nullptr; }
  // GUI thread: a share of what the engine-thread operations below touch while open (buffers,
  // queue, stream), null while closed. A binding keeps it, so that an abandoned engine thread
  // never reaches freed memory when the device closes.
  std::shared_ptr<const void> Session() const { return session_; }

  // Engine thread (before the first sample) or GUI thread (after the last): drops the buffers
  // still waiting for the output thread, freeing them, then resets the device, which returns the
  // buffers it holds. Returns the device's reset result, 5 when not open.
  int Reset();
  // Engine thread. The first free buffer in array order; null when all are busy or closed.
  TWorkWaveOutBuffer* GetFreeBuffer();
  // Engine thread. Marks the buffer busy and hands it to the output thread. 0, or 5 when closed.
  int QueueBuffer(TWorkWaveOutBuffer* buffer);
  // Engine thread. Device frames played since the device was opened or last reset.
  std::uint32_t GetPosition() const;

  // GUI thread, while open: the device's callback runs `renderer` instead of playing the buffers
  // (see TWaveOutStream::BeginRendering); false when the device cannot.
  bool BeginRendering(TWaveOutRenderer& renderer);
  // GUI thread: back to the buffers; false when the callback did not leave `renderer` in time.
  bool EndRendering(std::chrono::milliseconds limit);
  // See TWaveOutStream::TakeInput; false while closed.
  bool TakeInput(const std::string& inputName);

  bool CanOpen(int device, const SWaveFormat& format) const;
  std::string ErrorText(int code) const;
  // Not for the engine thread: waits until the output thread has passed every queued buffer to
  // the device (an offline render does so before it stops). False when `limit` passed first.
  bool WaitUntilHandedOver(std::chrono::milliseconds limit) const;

 private:
  std::shared_ptr<TWaveOutDevice> device_;
  SWaveFormat format_;
  // Null while closed. The output thread holds a share, so that an abandoned thread never
  // touches freed buffers, queue or stream.
  std::shared_ptr<TWaveOutSession> session_;
  // The same session for the engine-thread operations, which may run while the GUI thread
  // closes the driver.
  std::atomic<TWaveOutSession*> live_{nullptr};
};

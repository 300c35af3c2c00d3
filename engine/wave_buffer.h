// A sound buffer as the wave-output and wave-input devices exchange it: a header describing a
// block of 16-bit PCM data, and the owner of both.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// The fields follow the platform's wave header. `user` is the busy word of the output driver:
// 1 while the buffer is queued or playing, 0 when it is free. It is set by one thread (engine or
// output thread) and cleared by another (the device's done report), hence atomic.
struct SWaveHeader {
  std::byte* data = nullptr;
  std::uint32_t bufferLength = 0;   // bytes
  std::uint32_t bytesRecorded = 0;  // bytes a wave-input device filled
  std::atomic<std::uint32_t> user{0};
  std::uint32_t flags = 0;
  std::uint32_t loops = 0;
  SWaveHeader* next = nullptr;
  std::uintptr_t reserved = 0;
  // Output buffers: the bytes from the start that the writer has finished and will not touch
  // again until the buffer is free. A speaker kernel hands a buffer over before it writes it and
  // moves this mark on (release) behind every sample; the device copies only the bytes below it
  // (acquire) and plays silence for the rest. A buffer filled whole before it is handed over keeps
  // the whole length.
  std::atomic<std::uint32_t> written{0};
};

class TWorkWaveInOutBuffer {
 public:
  // Replaces any previous block by a zero-filled header and a zero-filled data block of `bytes`;
  // false (and no buffer) when the memory cannot be had.
  bool Allocate(std::uint32_t bytes);
  void Release();

  SWaveHeader* header() const { return header_.get(); }
  std::byte* data() const { return data_.get(); }
  std::uint32_t length() const { return header_ ? header_->bufferLength : 0; }

 private:
  std::unique_ptr<SWaveHeader> header_;
  std::unique_ptr<std::byte[]> data_;
};

class TWorkWaveOutBuffer : public TWorkWaveInOutBuffer {};
class TWorkWaveInBuffer : public TWorkWaveInOutBuffer {};

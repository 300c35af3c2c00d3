// The engine of a sound in the low-latency mode: instead of a thread of its own that runs ahead
// of the device in 10 ms slices, the audio device's callback computes each period as it is asked
// for, half as many engine samples as the device wants frames, in the same order of work types
// and with the same kernels; the speaker kernel writes them straight into the callback's output.
// MIDI messages, which the MIDI thread writes into the key records as they arrive, are therefore
// heard from the first sample of the next period. A microphone recorded by the same device (the
// duplex mode) is fed each piece of the period's input before the samples that read it. Like the
// engine thread it owns shares of everything it touches, and its overload guard measures each
// period's work against the period.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/active_works.h"
#include "engine/bind_arena.h"
#include "engine/engine_thread.h"
#include "engine/microphone_kernel.h"
#include "engine/overload_guard.h"
#include "engine/speaker_kernels.h"
#include "engine/wave_out_device.h"

class TCallbackEngine : public TWaveOutRenderer {
 public:
  // The device's frames per second: each engine sample is two of them.
  static constexpr std::int64_t kDeviceRate = 2 * kEngineSampleRate;
  // Device time per measurement, as the engine thread's measuring window.
  static constexpr std::int64_t kWindowNs = 150'000'000;

  TCallbackEngine(std::shared_ptr<TWorkSet> works, std::shared_ptr<TSpeicher> records,
                  std::shared_ptr<TBindArena> arena, TActiveWorks activeWorks,
                  TDirectOutput& output, TWorkMicrophon* input,
                  std::shared_ptr<SEngineMeter> meter);

  // Device callback: prepares the work objects before the first period; silence once stopped.
  void Render(std::byte* out, const std::int16_t* in, std::uint32_t frames) override;

  bool IsRunning() const { return running_.load(std::memory_order_relaxed); }
  // Any thread: the following periods are silent.
  void RequestStop() { running_.store(false, std::memory_order_relaxed); }

 private:
  void Compute(std::byte* out, const std::int16_t* in, std::uint32_t frames);
  void Measure(std::int64_t busyNs, std::uint32_t frames);

  const std::shared_ptr<TWorkSet> works_;
  const std::shared_ptr<TSpeicher> records_;
  const std::shared_ptr<TBindArena> arena_;
  const TActiveWorks activeWorks_;
  TDirectOutput& output_;
  TWorkMicrophon* const input_;  // null without a duplex microphone
  TOverloadGuard guard_;
  std::atomic<bool> running_{true};
  // The device callback only.
  bool prepared_ = false;
  std::int64_t busyNs_ = 0;
  std::int64_t periodNs_ = 0;
};

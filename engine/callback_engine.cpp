#include "engine/callback_engine.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace {

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

TCallbackEngine::TCallbackEngine(std::shared_ptr<TWorkSet> works,
                                 std::shared_ptr<TSpeicher> records,
                                 std::shared_ptr<TBindArena> arena, TActiveWorks activeWorks,
                                 TDirectOutput& output, TWorkMicrophon* input,
                                 std::shared_ptr<SEngineMeter> meter)
    : works_(std::move(works)),
      records_(std::move(records)),
      arena_(std::move(arena)),
      activeWorks_(std::move(activeWorks)),
      output_(output),
      input_(input),
      guard_(std::move(meter)) {}

void TCallbackEngine::Render(std::byte* out, const std::int16_t* in, std::uint32_t frames) {
  if (!IsRunning()) {
    std::memset(out, 0, std::size_t{frames} * output_.FrameBytes());
    return;
  }
  const std::int64_t begin = NowNs();
  if (!prepared_) {
    guard_.Meter()->processorUsage.store(0, std::memory_order_relaxed);
    PrepareWorks(activeWorks_);
    prepared_ = true;
  }
  Compute(out, in, frames);
  Measure(NowNs() - begin, frames);
}

void TCallbackEngine::Compute(std::byte* out, const std::int16_t* in, std::uint32_t frames) {
  const std::size_t frameBytes = output_.FrameBytes();
  for (std::uint32_t done = 0; done + 2 <= frames;) {
    const std::uint32_t chunk = std::min(frames - done, TDirectOutput::kMaxAimFrames) / 2 * 2;
    output_.Aim(out + done * frameBytes, chunk);
    if (input_ != nullptr) input_->Feed(in != nullptr ? in + done : nullptr, chunk);
    for (std::uint32_t i = 0; i < chunk / 2; ++i)
      ProcessOneSample(activeWorks_);
    done += chunk;
  }
  // An odd period (a device that changed its size) repeats the last frame.
  if (frames % 2 != 0) {
    std::byte* last = out + (frames - 1) * frameBytes;
    if (frames > 1) {
      std::memcpy(last, last - frameBytes, frameBytes);
    } else {
      std::memset(last, 0, frameBytes);
    }
  }
}

void TCallbackEngine::Measure(std::int64_t busyNs, std::uint32_t frames) {
  busyNs_ += busyNs;
  periodNs_ += std::int64_t{frames} * 1'000'000'000 / kDeviceRate;
  if (periodNs_ < kWindowNs) return;
  const auto usage = static_cast<int>(busyNs_ * 100 / periodNs_);
  busyNs_ = 0;
  periodNs_ = 0;
  if (guard_.OverLimit(usage)) guard_.Stop(running_, usage);
}

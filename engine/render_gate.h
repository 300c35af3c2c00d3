// The hand-over of a renderer (the low-latency engine) to an audio callback. The GUI thread
// installs and removes it; the callback runs it without waiting or locking. Removing waits until
// the callback is no longer inside the renderer, so that the caller may free it afterwards: the
// callback announces itself before it looks at the renderer and the remover looks at that
// announcement after it cleared the renderer, both sequentially consistent, so that one of the
// two always sees the other.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/wave_out_device.h"

class TRenderGate {
 public:
  void Install(TWaveOutRenderer& renderer) {
    renderer_.store(&renderer, std::memory_order_seq_cst);
  }

  // True once no callback is inside the renderer any more; false when one still was after
  // `limit`.
  bool Remove(std::chrono::milliseconds limit) {
    renderer_.store(nullptr, std::memory_order_seq_cst);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (inside_.load(std::memory_order_seq_cst)) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
  }

  // The audio callback: false when no renderer is installed and the caller plays as before.
  bool Render(std::byte* out, const std::int16_t* in, std::uint32_t frames) {
    inside_.store(true, std::memory_order_seq_cst);
    TWaveOutRenderer* renderer = renderer_.load(std::memory_order_seq_cst);
    if (renderer != nullptr) renderer->Render(out, in, frames);
    inside_.store(false, std::memory_order_release);
    return renderer != nullptr;
  }

 private:
  std::atomic<TWaveOutRenderer*> renderer_{nullptr};
  std::atomic<bool> inside_{false};
};

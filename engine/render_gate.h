// The hand-over of a renderer (the low-latency engine) to an audio callback. The GUI thread
// installs and removes it; the callback runs it without waiting or locking, through a callback
// gate. Removing waits until the callback is no longer inside the renderer, so that the caller
// may free it afterwards.
#pragma once

#include <atomic>
#include <chrono>

#include "engine/callback_gate.h"
#include "engine/wave_out_device.h"

class TRenderGate {
 public:
  void Install(TWaveOutRenderer& renderer) {
    renderer_.store(&renderer, std::memory_order_relaxed);
    gate_.Open();
  }

  // True once no callback is inside the renderer any more; false when one still was after
  // `limit`.
  bool Remove(std::chrono::milliseconds limit) { return gate_.Close(limit); }

  // The audio callback: false when no renderer is installed and the caller plays as before.
  bool Render(std::byte* out, const std::int16_t* in, std::uint32_t frames) {
    const TCallbackGate::TPass pass(gate_);
    if (!pass.Open()) return false;
    renderer_.load(std::memory_order_relaxed)->Render(out, in, frames);
    return true;
  }

 private:
  TCallbackGate gate_;
  // Atomic, since a removal that gave up leaves a callback inside while the next one installs.
  std::atomic<TWaveOutRenderer*> renderer_{nullptr};
};

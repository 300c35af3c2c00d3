// Runs a bound sound as fast as the computer can, sample by sample, on the caller's thread: for
// the headless renderer, the tests and the benchmarks. A hook before every sample lets the
// caller deliver MIDI messages (or anything else) at their exact sample time.
#pragma once

#include <cstdint>
#include <functional>

class TKlangEngine;

class TOfflineRunner {
 public:
  // Called before sample `index` (counted from 0 since Start) is computed.
  using TSampleHook = std::function<void(std::int64_t index)>;

  explicit TOfflineRunner(TKlangEngine& engine) : engine_(engine) {}
  TOfflineRunner(const TOfflineRunner&) = delete;
  TOfflineRunner& operator=(const TOfflineRunner&) = delete;
  // Releases a sound it bound.
  ~TOfflineRunner();

  // Binds the sound as a start would (TKlangEngine::BindSound), without a thread, and prepares
  // the active work objects. Returns BindSound's result.
  int Start();
  // Computes `samples` more samples; nothing happens unless Start succeeded.
  void Run(std::int64_t samples, const TSampleHook& beforeSample = {});
  // Releases the sound (TKlangEngine::StopSound); returns its result.
  int Stop();

  std::int64_t SamplesComputed() const { return samplesComputed_; }

 private:
  TKlangEngine& engine_;
  bool bound_ = false;
  std::int64_t samplesComputed_ = 0;
};

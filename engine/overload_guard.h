// The overload guard shared by both ways the engine runs (its own thread in slices, or the audio
// device's callback): every measurement of the processor usage is shown, and the seventh
// measurement in a row above the sound options' limit stops the sound and tells the GUI thread.
#pragma once

#include <atomic>
#include <memory>

// Published by the engine, read by the GUI thread on its own timer (TKlangEngine::PollNews and
// ProcessorUsage); the limit goes the other way.
struct SEngineMeter {
  std::atomic<int> processorUsage{0};   // percent of the real time spent computing; may pass 100
  std::atomic<int> processorLimit{95};  // percent; read anew at every measurement
  // Set (release) once the engine stopped itself after an overload, with the usage (percent)
  // of the last measurement stored before it; the GUI thread takes it back.
  std::atomic<bool> overloaded{false};
  std::atomic<int> overloadUsage{0};
};

class TOverloadGuard {
 public:
  // Over-limit measurements tolerated in a row; the next one stops the engine.
  static constexpr int kToleratedStrikes = 6;

  explicit TOverloadGuard(std::shared_ptr<SEngineMeter> meter) : meter_(std::move(meter)) {}

  void Reset() { strikes_ = 0; }
  // Shows `usage` (percent) and counts it; true when it is the seventh in a row above the limit.
  // A negative usage (a clock that jumped backwards) shows as 0 and counts neither way.
  bool OverLimit(int usage);
  // The engine stopped itself: `running` is cleared, and only the first stop is reported, since
  // after a stop from the GUI nobody needs the message.
  void Stop(std::atomic<bool>& running, int usage);
  const std::shared_ptr<SEngineMeter>& Meter() const { return meter_; }

 private:
  const std::shared_ptr<SEngineMeter> meter_;
  int strikes_ = 0;
};

// The engine side of a sound document: the 27 work objects, the waveform tables, the record block
// and the engine thread. Starting a sound lays out the records of every active module in one
// block (work types in code order, modules in registration order, voice 0 first), lets each
// module fill its records, and starts the thread; stopping reverses it. All operations except
// the meter accessors belong to the GUI thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/callback_engine.h"
#include "engine/engine_clock.h"
#include "engine/engine_scheduler.h"
#include "engine/engine_thread.h"
#include "engine/waveform_tables.h"

class TEngineHost;
class TEngineListener;
class TEngineModule;

class TKlangEngine {
 public:
  using TWorkFactory = std::function<std::unique_ptr<TWorkBasisklassen>(int code)>;

  enum EStartResult : int {
    kStarted = 0,
    kStartNoMemory = 1,  // "Can't create Memory !"
    kStartNoThread = 2,  // "Can't start Thread !"
    kAlreadyStarted = 3,
  };
  enum EStopResult : int {
    kStopped = 0,
    kStopThreadHung = 1,  // "Can't stop Thread !": the thread was abandoned
    kNotStarted = 2,
  };

  static constexpr int kMaxVoices = 39;
  static constexpr std::chrono::milliseconds kStopTimeout{1500};

  explicit TKlangEngine(TWorkFactory factory = CreateWorkObject);
  TKlangEngine(const TKlangEngine&) = delete;
  TKlangEngine& operator=(const TKlangEngine&) = delete;
  // Stops a playing sound first.
  ~TKlangEngine();

  // Without a host the sound has no modules; without a listener an overload goes unreported.
  // Both must outlive the engine.
  void SetHost(TEngineHost* host) { host_ = host; }
  void SetListener(TEngineListener* listener) { listener_ = listener; }
  // Takes effect at the next start.
  void SetClock(SEngineClock clock) { clock_ = std::move(clock); }
  // Takes effect at the next start: whether a sound whose one speaker's device can call the
  // engine from its own callback plays in the low-latency mode (see callback_engine.h) instead
  // of on the engine thread.
  void SetLowLatency(bool lowLatency) { lowLatency_ = lowLatency; }
  // While started: true in the low-latency mode. Otherwise FallbackReason says why the sound
  // plays on the engine thread although the low-latency mode was wished (empty when it was not).
  bool IsLowLatency() const { return callback_ != nullptr; }
  const std::string& FallbackReason() const { return fallbackReason_; }
  // While started in the low-latency mode: true when the speaker's device also records the
  // sound's one microphone in its callback; otherwise the microphone records on its own.
  bool IsDuplex() const { return duplexInput_ != nullptr; }
  // While stopped: the work objects are made anew by `factory` (tests put kernels of their own
  // in). Ignored while started.
  void SetWorkFactory(TWorkFactory factory);

  // GUI thread, on its timer: delivers what the engine thread published since the last call,
  // which is an overload stop, to the listener.
  void PollNews();

  int StartSound();
  int StopSound();
  // Lays out and binds the sound exactly as StartSound does and marks it started, but starts no
  // thread: the caller drives ActiveWorks itself (the offline renderer). Returns kStarted,
  // kStartNoMemory or kAlreadyStarted; StopSound releases it.
  int BindSound();

  int CountVoices() const { return countVoices_; }
  // Clamped to 1..39. A playing sound is restarted with the new count.
  void SetVoiceCount(int count);
  // Lets the patch recompute its active modules, stopping the sound before and starting it again
  // after when `restart` is set and the sound was playing.
  void RestartSound(bool restart);

  bool IsStarted() const { return started_; }
  // False once the engine stopped itself after an overload, while IsStarted is still true.
  bool IsRunning() const;
  // Any thread: the last measured processor usage in percent.
  int ProcessorUsage() const { return meter_->processorUsage.load(std::memory_order_relaxed); }
  // Any thread: the usage in percent above which a measurement counts against the engine.
  void SetProcessorLimit(int percent) {
    meter_->processorLimit.store(percent, std::memory_order_relaxed);
  }

  // The work object of `code` 0..26, or null.
  TWorkBasisklassen* Work(int code) const;
  // The work objects computed per sample while the sound is bound, in code order.
  const TActiveWorks& ActiveWorks() const { return activeWorks_; }
  // The one-cycle table of a wave code (EWaveCode), or null; kEngineSampleRate entries.
  const std::int32_t* WaveTable(int waveCode) const { return waveformTables_.Table(waveCode); }
  int SampleRate() const { return kEngineSampleRate; }

 private:
  std::vector<TEngineModule*> CollectModules() const;
  void RegisterModules(const std::vector<TEngineModule*>& modules);
  bool LayOutRecords();
  void BindModules(const std::vector<TEngineModule*>& modules);
  void ReleaseSound(const std::vector<TEngineModule*>& modules, bool threadEnded);
  bool StartInCallback();
  TDirectOutput* SoleSpeaker();
  TWorkMicrophon* TakeMicrophone(TWorkWaveOut& output);
  void EndDuplex(bool callbackLeft);
  bool EndCallback();
  TWorkBasisklassen* WorkOf(const TEngineModule* module) const;
  int RecordCountFor(const TEngineModule* module) const;

  TWorkFactory factory_;
  std::shared_ptr<TWorkSet> works_;
  TWaveformTables waveformTables_{kEngineSampleRate};
  std::shared_ptr<TSpeicher> records_;
  // The memory of the current binding besides the record block.
  std::shared_ptr<TBindArena> arena_;
  TActiveWorks activeWorks_;
  std::shared_ptr<TEngineThread> thread_;
  // The low-latency mode's engine and the driver whose device runs it; null otherwise.
  std::shared_ptr<TCallbackEngine> callback_;
  TWorkWaveOut* callbackDriver_ = nullptr;
  // The duplex mode's microphone and its driver, whose own stream is suspended; null otherwise.
  TWorkMicrophon* duplexMicrophone_ = nullptr;
  TWorkWaveIn* duplexInput_ = nullptr;
  bool lowLatency_ = false;
  std::string fallbackReason_;
  std::shared_ptr<SEngineMeter> meter_ = std::make_shared<SEngineMeter>();
  SEngineClock clock_;
  TEngineHost* host_ = nullptr;
  TEngineListener* listener_ = nullptr;
  int countVoices_ = 1;
  bool started_ = false;
};

// A wave-output device under the test's control: it records what it is handed, can refuse or
// hold up writes, and reports whatever position the test gives it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "engine/wave_out_device.h"

class TFakeWaveOutDevice : public TWaveOutDevice {
 public:
  struct SControl {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<SWaveHeader*> written;  // in order, until done
    bool holdWrites = false;            // Write waits until released
    int writeResult = kWaveNoError;
    std::atomic<int> writesInside{0};
    std::function<std::uint32_t()> position = [] { return 0u; };
    int opened = 0;
    int resets = 0;
  };

  int openResult = kWaveNoError;
  std::shared_ptr<SControl> control = std::make_shared<SControl>();

  int Open(int device, const SWaveFormat&, TWaveOutDoneReport& report,
           std::unique_ptr<TWaveOutStream>& stream) override {
    if (device < 0) return kWaveBadDeviceId;
    if (openResult != kWaveNoError) return openResult;
    ++control->opened;
    report_ = &report;
    stream = std::make_unique<TStream>(control, report);
    return kWaveNoError;
  }
  bool CanOpen(int device, const SWaveFormat&) override { return device >= 0; }
  std::string ErrorText(int code) const override { return WaveResultText(code); }

  void HoldWrites() {
    std::lock_guard lock(control->mutex);
    control->holdWrites = true;
  }
  // Drops the record of what a stream of an abandoned thread wrote.
  void ForgetWritten() {
    std::lock_guard lock(control->mutex);
    control->written.clear();
  }
  void ReleaseWrites() {
    std::lock_guard lock(control->mutex);
    control->holdWrites = false;
    control->changed.notify_all();
  }
  std::size_t WrittenCount() {
    std::lock_guard lock(control->mutex);
    return control->written.size();
  }
  // Plays the oldest buffer to its end.
  void FinishOldest() {
    std::lock_guard lock(control->mutex);
    if (control->written.empty()) return;
    SWaveHeader* header = control->written.front();
    control->written.erase(control->written.begin());
    report_->BufferDone(*header);
  }
  bool WaitForWrites(std::size_t count) {
    std::unique_lock lock(control->mutex);
    return control->changed.wait_for(lock, std::chrono::seconds(5),
                                     [&] { return control->written.size() >= count; });
  }

 private:
  class TStream : public TWaveOutStream {
   public:
    TStream(std::shared_ptr<SControl> control, TWaveOutDoneReport& report)
        : control_(std::move(control)), report_(report) {}
    int Write(SWaveHeader& header) override {
      ++control_->writesInside;
      std::unique_lock lock(control_->mutex);
      control_->changed.wait(lock, [&] { return !control_->holdWrites; });
      --control_->writesInside;
      if (control_->writeResult != kWaveNoError) return control_->writeResult;
      control_->written.push_back(&header);
      control_->changed.notify_all();
      return kWaveNoError;
    }
    int Reset() override {
      std::lock_guard lock(control_->mutex);
      ++control_->resets;
      for (SWaveHeader* header : control_->written)
        report_.BufferDone(*header);
      control_->written.clear();
      return kWaveNoError;
    }
    std::uint32_t GetPosition() const override { return control_->position(); }
    int Close() override { return Reset(); }

   private:
    std::shared_ptr<SControl> control_;
    TWaveOutDoneReport& report_;
  };

  TWaveOutDoneReport* report_ = nullptr;  // of the last opened stream
};

// The delay module: outputs its input a set time later (0.1 to 3000 ms). The dynamic variant
// shortens the delay in proportion to its control input, re-read once per delay period by the
// kernel (engine/delay_kernel.h). The ring buffers of all its voices lie in one cleared block of
// the binding's memory, taken anew at every sound start.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/delay_kernel.h"
#include "modules/signal_module.h"
#include "patch/module_registry.h"

class TDelay : public TSignalModul {
 public:
  // Limits of "DelayTime", in tenths of a millisecond.
  static constexpr std::int32_t kMinTime = 1;
  static constexpr std::int32_t kMaxTime = 30000;
  // The control value of a delay without control input: 2048 gives the full delay.
  static constexpr std::int32_t kFullDelayControl = 2048;
  static constexpr const char* kControlHint = "Delay Time in procent";

  TDelay(bool mono, bool dynamic);

  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;

  // "DelayTime", brought into 1..30000 should a file hold another value.
  std::int32_t Time() const;
  // The dialog's edit text: the time in milliseconds with four significant digits.
  std::string TimeText() const;
  // The dialog's OK with a checked time: stores it, marks the sound changed and restarts a
  // playing sound with the new time.
  void SetTime(std::int32_t tenths);
  // The name dialog with the time, offered again after a time out of range; its OK is SetTime.
  void ShowProperties() override;
  static constexpr std::string_view kDialog = "Delay";
  // Samples of the delay memory of all voices at the last binding; 0 when it could not be had.
  std::size_t MemorySamples() const { return memorySamples_; }

  // Tenths of a millisecond, 1..30000, default 2000 (200 ms).
  const TRPointerPropInteger DelayTime;

 private:
  // Gives `record` the buffer of `voice` inside the memory (taken when voice 0 sizes it for
  // `voices` buffers of `samples`), or a one-sample spare when the memory cannot be had.
  void BindBuffer(SDelayRecord& record, int voice, int voices, std::int32_t samples,
                  TBindContext& context);

  const bool dynamic_;
  std::int32_t* memory_ = nullptr;  // in the current binding's memory; valid while bound
  std::size_t memorySamples_ = 0;
};

// The delay dialog's check of the typed time, in milliseconds: either the time in tenths of a
// millisecond (digits beyond the first decimal are cut off) and an empty message, or the
// message to show under kDelayFaultCaption.
struct SDelayTimeEntry {
  std::int32_t tenths = 0;
  std::string message;
};
inline constexpr const char* kDelayFaultCaption = "Fault Delay";
SDelayTimeEntry CheckDelayTime(const std::string& text);

void RegisterDelayModules(TModuleTypeTable& table);

// How the scope and volume-view kernels tell their modules about a result. Both are called on
// the engine thread; an implementation only hands the news to the GUI thread and returns.
#pragma once

#include <cstdint>

// The volume view's level reaches its panel as this window message, the level as first
// parameter and 0 as second.
inline constexpr int kMessageVolumeLevel = 6789;

class TScopeNotification {
 public:
  virtual ~TScopeNotification() = default;
  // The capture buffer is full; sent once per capture.
  virtual void CaptureComplete() = 0;
};

class TVolumeLevelNotification {
 public:
  virtual ~TVolumeLevelNotification() = default;
  // `level` is the mean absolute input value of the last window (2048 = engine full scale);
  // posted as message 6789.
  virtual void PostLevel(std::int32_t level) = 0;
};

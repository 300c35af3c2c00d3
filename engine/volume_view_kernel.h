// The volume-view kernel (work type 20) reports the mean absolute level of its input about six
// times a second: every 3501 samples it posts the window's sum divided by 3500 to the module's
// mailbox, unless three reports are still waiting for the GUI, in which case the sum carries into
// the next window.
#pragma once

#include <cstdint>

#include "engine/view_notifications.h"
#include "engine/work_object.h"

struct SLautstaerkeSehenRecord {
  const std::int32_t* input = nullptr;
  // Shared by the module and the engine threads of its bindings.
  TLevelMailbox* mailbox = nullptr;
  std::int32_t samples = 0;  // in the current window
  // Sum of absolute values; 64 bits, so that windows carried while the GUI is stalled cannot
  // wrap it.
  std::uint64_t total = 0;
};

class TWorkLautstaerkeSehen : public TWorkRecords<SLautstaerkeSehenRecord> {
 public:
  static constexpr std::int32_t kWindowEnd = 3500;  // a window spans 0..3500: 3501 samples
  static constexpr std::int32_t kMaximumPending = 3;

  void ProcessSample() override;
  // Every view shows 0 once the sound has stopped.
  void StopWork() override;
};

static_assert(TWorkLautstaerkeSehen::kMaximumPending < TLevelMailbox::kSlots,
              "the report of a stop always finds a place");

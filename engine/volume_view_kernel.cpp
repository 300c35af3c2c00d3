#include "engine/volume_view_kernel.h"

#include <algorithm>
#include <limits>

#include "engine/work_kernel.h"

namespace {

// |INT32_MIN| does not fit an int32; it does fit the unsigned magnitude.
std::uint32_t Magnitude(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return value < 0 ? 0u - bits : bits;
}

void EndWindow(SLautstaerkeSehenRecord& record) {
  record.samples = 0;
  if (record.mailbox->Pending() >= TWorkLautstaerkeSehen::kMaximumPending) return;
  const std::uint64_t level = record.total / TWorkLautstaerkeSehen::kWindowEnd;
  record.mailbox->Post(static_cast<std::int32_t>(
      std::min<std::uint64_t>(level, std::numeric_limits<std::int32_t>::max())));
  record.total = 0;
}

}  // namespace

void TWorkLautstaerkeSehen::ProcessSample() {
  ForEachRecordBackward(firstRecord, lastRecord, [](SLautstaerkeSehenRecord& record) {
    record.total += Magnitude(*record.input);
    if (record.samples >= kWindowEnd) {
      EndWindow(record);
    } else {
      ++record.samples;
    }
  });
}

void TWorkLautstaerkeSehen::StopWork() {
  ForEachRecordBackward(firstRecord, lastRecord, [](SLautstaerkeSehenRecord& record) {
    if (record.mailbox) record.mailbox->Post(0);
  });
}

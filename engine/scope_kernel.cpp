#include "engine/scope_kernel.h"

#include "engine/work_kernel.h"

void TWorkSehen::ProcessSample() {
  ForEachRecordBackward(firstRecord, lastRecord, [](SSehenRecord& record) {
    if (record.done) return;
    if (record.count < record.capture->capacity) {
      record.capture->samples[record.count].store(*record.input, std::memory_order_relaxed);
      ++record.count;
      record.capture->written.store(record.count, std::memory_order_relaxed);
    } else {
      record.done = 1;
      record.capture->completed.fetch_add(1, std::memory_order_release);
    }
  });
}

#include "engine/constant_work.h"

#include <atomic>

int TWorkKonstanten::SetValue(int, const TEngineModule* module, std::int32_t value, int) {
  auto* record = static_cast<SKonstantenRecord*>(GetRecord(module, 0));
  // One aligned 32-bit store handed to the engine thread, which reads it through a plain input
  // pointer (listed in tests/tsan.supp); relaxed order is enough because nothing else is
  // published with it.
  if (record != nullptr) std::atomic_ref(record->Value).store(value, std::memory_order_relaxed);
  return 0;
}

// The constant work type: storage only. Each constant module owns one record holding its value,
// which is itself the output its consumers read. The GUI thread writes it while the engine reads
// it every sample, so there is no per-sample work and no Prepare.
#pragma once

#include <cstdint>

#include "engine/work_object.h"

struct SKonstantenRecord {
  std::int32_t Value;  // audio (2048 = full scale) or hertz x 1024, as the module chose
};

class TWorkKonstanten : public TWorkRecords<SKonstantenRecord> {
 public:
  // Stores `value` into the voice-0 record of `module` (ignored when the module has no record);
  // safe while the engine runs. `index` and `extra` are unused. Returns 0.
  int SetValue(int index, const TEngineModule* module, std::int32_t value, int extra) override;
  bool NeedsProcessing() const override { return false; }
};

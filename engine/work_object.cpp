#include "engine/work_object.h"

int TWorkBasisklassen::SetValue(int, const TEngineModule*, std::int32_t, int) { return 0; }
void TWorkBasisklassen::SetSampleRate(std::int32_t) {}
std::size_t TWorkBasisklassen::GetRecordSize() const { return 0; }
bool TWorkBasisklassen::NeedsProcessing() const { return true; }
void TWorkBasisklassen::Prepare() {}
void TWorkBasisklassen::ProcessSample() {}
void TWorkBasisklassen::StopWork() {}

bool TWorkBasisklassen::RegisterModule(const TEngineModule* module, int count) {
  const bool inserted = moduleTable_.try_emplace(module, SEntry{count, recordCount_}).second;
  if (inserted) recordCount_ += count;
  return inserted;
}

void TWorkBasisklassen::ClearModules() {
  moduleTable_.clear();
  recordCount_ = 0;
}

int TWorkBasisklassen::GetRecordCount() const { return recordCount_; }

void* TWorkBasisklassen::GetRecord(const TEngineModule* module, int voice) const {
  const auto found = moduleTable_.find(module);
  if (found == moduleTable_.end() || records == nullptr) return nullptr;
  if (voice < 0 || voice >= found->second.count) return nullptr;
  const auto index = static_cast<std::size_t>(found->second.firstIndex) + voice;
  return records + index * GetRecordSize();
}

#include "engine/offline_runner.h"

#include "engine/active_works.h"
#include "engine/klang_engine.h"

TOfflineRunner::~TOfflineRunner() { Stop(); }

int TOfflineRunner::Start() {
  const int result = engine_.BindSound();
  if (result != TKlangEngine::kStarted) return result;
  bound_ = true;
  samplesComputed_ = 0;
  PrepareWorks(engine_.ActiveWorks());
  return result;
}

void TOfflineRunner::Run(std::int64_t samples, const TSampleHook& beforeSample) {
  if (!bound_) return;
  const TActiveWorks& works = engine_.ActiveWorks();
  for (std::int64_t i = 0; i < samples; ++i, ++samplesComputed_) {
    if (beforeSample) beforeSample(samplesComputed_);
    ProcessOneSample(works);
  }
}

int TOfflineRunner::Stop() {
  if (!bound_) return TKlangEngine::kNotStarted;
  bound_ = false;
  return engine_.StopSound();
}

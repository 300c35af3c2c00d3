#include "engine/bind_context.h"

#include "engine/klang_engine.h"

int TBindContext::CountVoices() const { return engine_.CountVoices(); }
int TBindContext::SampleRate() const { return engine_.SampleRate(); }
const std::int32_t* TBindContext::WaveTable(int waveCode) const {
  return engine_.WaveTable(waveCode);
}
TWorkBasisklassen* TBindContext::Work(int code) const { return engine_.Work(code); }

#include "engine/klang_engine.h"

#include <algorithm>

#include "engine/bind_context.h"
#include "engine/engine_host.h"
#include "engine/engine_module.h"
#include "engine/wave_in_driver.h"
#include "engine/wave_out_driver.h"

namespace {

std::shared_ptr<TWorkSet> CreateWorkSet(const TKlangEngine::TWorkFactory& factory) {
  auto works = std::make_shared<TWorkSet>();
  for (int code = 0; code < kWorkTypeCount; ++code) {
    auto work = factory(code);
    if (work == nullptr) work = std::make_unique<TWorkBasisklassen>();
    work->SetSampleRate(kEngineSampleRate);
    (*works)[code] = std::move(work);
  }
  return works;
}

// Bytes the records of `work` take in the block, rounded up so that the next work type's
// records start aligned for any record layout.
std::size_t BlockShareOf(const TWorkBasisklassen& work) {
  const std::size_t bytes = work.GetRecordSize() * static_cast<std::size_t>(work.GetRecordCount());
  const std::size_t alignment = TSpeicher::kAlignment;
  return (bytes + alignment - 1) / alignment * alignment;
}

}  // namespace

TKlangEngine::TKlangEngine(TWorkFactory factory)
    : factory_(std::move(factory)), works_(CreateWorkSet(factory_)) {}

TKlangEngine::~TKlangEngine() { StopSound(); }

int TKlangEngine::StartSound() {
  const int bound = BindSound();
  if (bound != kStarted) return bound;
  if (StartInCallback()) return kStarted;
  thread_ = std::make_shared<TEngineThread>(works_, records_, arena_, activeWorks_, clock_, meter_);
  if (!thread_->Start()) {
    // Unlike binding, a failed thread leaves nothing half started: devices opened by
    // SoundStarted are closed again.
    thread_.reset();
    started_ = false;
    ReleaseSound(CollectModules(), true);
    return kStartNoThread;
  }
  // Real-time scheduling is a wish: without the permission the thread runs at normal priority.
  thread_->SetPriority(TWThread::kPriorityTimeCritical);
  return kStarted;
}

int TKlangEngine::BindSound() {
  if (started_) return kAlreadyStarted;
  const std::vector<TEngineModule*> modules = CollectModules();
  for (auto& work : *works_)
    work->ClearModules();
  RegisterModules(modules);
  if (!LayOutRecords()) return kStartNoMemory;
  BindModules(modules);
  for (TEngineModule* module : modules)
    module->SoundStarted(*this, countVoices_);
  started_ = true;
  return kStarted;
}

int TKlangEngine::StopSound() {
  if (!started_) return kNotStarted;
  started_ = false;
  if (thread_ != nullptr) thread_->Scheduler().RequestStop();
  if (callback_ != nullptr) callback_->RequestStop();
  const std::vector<TEngineModule*> modules = CollectModules();
  const bool threadEnded =
      (thread_ == nullptr || thread_->EndWithin(kStopTimeout)) && EndCallback();
  thread_.reset();
  ReleaseSound(modules, threadEnded);
  return threadEnded ? kStopped : kStopThreadHung;
}

void TKlangEngine::SetWorkFactory(TWorkFactory factory) {
  if (started_) return;
  factory_ = std::move(factory);
  works_ = CreateWorkSet(factory_);
}

void TKlangEngine::PollNews() {
  if (!meter_->overloaded.exchange(false, std::memory_order_acquire)) return;
  const int usage = meter_->overloadUsage.load(std::memory_order_relaxed);
  if (listener_ != nullptr) listener_->EngineOverloaded(usage);
}

void TKlangEngine::SetVoiceCount(int count) {
  count = std::clamp(count, 1, kMaxVoices);
  if (count == countVoices_) return;
  const bool wasStarted = started_;
  if (wasStarted) StopSound();
  countVoices_ = count;
  if (host_ != nullptr) host_->VoiceCountChanged(count);
  if (wasStarted) StartSound();
}

void TKlangEngine::RestartSound(bool restart) {
  const bool startAgain = restart && StopSound() == kStopped;
  if (host_ != nullptr) host_->RevalidatePatch();
  if (startAgain) StartSound();
}

bool TKlangEngine::IsRunning() const {
  if (callback_ != nullptr) return callback_->IsRunning();
  return thread_ != nullptr && thread_->Scheduler().IsRunning();
}

bool TKlangEngine::StartInCallback() {
  fallbackReason_.clear();
  for (auto& work : *works_)
    if (auto* speaker = dynamic_cast<TDirectOutput*>(work.get())) speaker->SetDirect(false);
  if (!lowLatency_) return false;
  TDirectOutput* speaker = SoleSpeaker();
  if (speaker == nullptr) return false;
  TWorkWaveOut* driver = speaker->FirstDriver();
  speaker->SetDirect(true);
  auto callback = std::make_shared<TCallbackEngine>(works_, records_, arena_, activeWorks_,
                                                    *speaker, TakeMicrophone(*driver), meter_);
  if (!driver->BeginRendering(*callback)) {
    speaker->SetDirect(false);
    EndDuplex(true);
    fallbackReason_ = "the output device cannot compute the sound in its own callback";
    return false;
  }
  callback_ = std::move(callback);
  callbackDriver_ = driver;
  return true;
}

// The speaker kernel whose one record plays on an open device; null, with the reason, when the
// sound has no such speaker or more than one.
TDirectOutput* TKlangEngine::SoleSpeaker() {
  TDirectOutput* sole = nullptr;
  int speakers = 0;
  for (TWorkBasisklassen* work : activeWorks_) {
    if (auto* speaker = dynamic_cast<TDirectOutput*>(work)) {
      speakers += work->GetRecordCount();
      sole = speaker;
    }
  }
  if (speakers > 1) {
    fallbackReason_ = "the sound's speakers are on more than one output device";
    return nullptr;
  }
  if (sole == nullptr || sole->FirstDriver() == nullptr) {
    fallbackReason_ = "no speaker of the sound plays on a device";
    return nullptr;
  }
  return sole;
}

// The sound's one microphone when the speaker's device can record it in its own callback, its
// own stream suspended meanwhile; null, and the microphone records as before, otherwise.
TWorkMicrophon* TKlangEngine::TakeMicrophone(TWorkWaveOut& output) {
  for (TWorkBasisklassen* work : activeWorks_) {
    auto* microphone = dynamic_cast<TWorkMicrophon*>(work);
    if (microphone == nullptr) continue;
    TWorkWaveIn* input = microphone->SoleDriver();
    if (input == nullptr || !output.TakeInput(input->DeviceName())) return nullptr;
    input->Suspend();
    microphone->SetDirect(true);
    duplexMicrophone_ = microphone;
    duplexInput_ = input;
    return microphone;
  }
  return nullptr;
}

// The microphone records on its own again, as after any sound and for a sound that fell back to
// the engine thread; a callback that never left keeps the kernel as it is.
void TKlangEngine::EndDuplex(bool callbackLeft) {
  if (duplexInput_ == nullptr) return;
  if (callbackLeft) duplexMicrophone_->SetDirect(false);
  duplexInput_->Start();
  duplexMicrophone_ = nullptr;
  duplexInput_ = nullptr;
}

bool TKlangEngine::EndCallback() {
  if (callback_ == nullptr) return true;
  const bool left = callbackDriver_->EndRendering(kStopTimeout);
  EndDuplex(left);
  // A callback that never came back may still compute: what it reaches is never freed.
  if (!left) new std::shared_ptr<TCallbackEngine>(callback_);  // NOLINT(*-owning-memory)
  callback_.reset();
  callbackDriver_ = nullptr;
  return left;
}

TWorkBasisklassen* TKlangEngine::Work(int code) const {
  if (code < 0 || code >= kWorkTypeCount) return nullptr;
  return (*works_)[code].get();
}

std::vector<TEngineModule*> TKlangEngine::CollectModules() const {
  std::vector<TEngineModule*> modules;
  if (host_ != nullptr) host_->CollectModules(countVoices_, modules);
  return modules;
}

void TKlangEngine::RegisterModules(const std::vector<TEngineModule*>& modules) {
  for (TEngineModule* module : modules) {
    // A module met twice keeps its first registration.
    if (TWorkBasisklassen* work = WorkOf(module))
      work->RegisterModule(module, RecordCountFor(module));
  }
}

bool TKlangEngine::LayOutRecords() {
  std::size_t total = 0;
  for (const auto& work : *works_)
    total += BlockShareOf(*work);
  // A fresh block: an abandoned thread may still hold the previous one.
  records_ = std::make_shared<TSpeicher>();
  auto* block = static_cast<std::byte*>(records_->Allocate(total));
  if (block == nullptr) return false;
  activeWorks_.clear();
  std::size_t offset = 0;
  for (const auto& work : *works_) {
    const std::size_t share = BlockShareOf(*work);
    if (share == 0) {
      work->records = nullptr;
      continue;
    }
    work->records = block + offset;
    if (work->NeedsProcessing()) activeWorks_.push_back(work.get());
    offset += share;
  }
  return true;
}

void TKlangEngine::BindModules(const std::vector<TEngineModule*>& modules) {
  // A fresh arena: an abandoned thread may still hold the previous one.
  arena_ = std::make_shared<TBindArena>();
  TBindContext context(*this, *arena_);
  for (TEngineModule* module : modules) {
    const TWorkBasisklassen* work = WorkOf(module);
    const int voices = module->IsMono() ? 1 : countVoices_;
    for (int voice = 0; voice < voices; ++voice) {
      void* record = work != nullptr ? work->GetRecord(module, voice) : nullptr;
      module->BindWork(voice, record, context);
    }
  }
}

void TKlangEngine::ReleaseSound(const std::vector<TEngineModule*>& modules, bool threadEnded) {
  for (TEngineModule* module : modules)
    module->SoundStopped(*this, countVoices_);
  if (threadEnded) {
    for (TWorkBasisklassen* work : activeWorks_)
      work->StopWork();
  } else {
    // The abandoned thread keeps the old work objects; the next start gets fresh ones.
    works_ = CreateWorkSet(factory_);
  }
  for (auto& work : *works_)
    work->records = nullptr;
  activeWorks_.clear();
  records_.reset();
  arena_.reset();
}

TWorkBasisklassen* TKlangEngine::WorkOf(const TEngineModule* module) const {
  return Work(module->GetWorkType());
}

int TKlangEngine::RecordCountFor(const TEngineModule* module) const {
  return module->IsMono() ? 1 : countVoices_;
}

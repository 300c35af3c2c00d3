#include "engine/klang_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "engine/constant_work.h"
#include "engine/engine_host.h"
#include "engine/engine_module.h"
#include "engine/logic_kernels.h"

namespace {

constexpr int kVolume = 3;    // two-input records of 24 bytes
constexpr int kConstant = 1;  // 4-byte records, storage only
constexpr int kNoWork = -1;

// A module that remembers how the engine treated it. It fills no record, so the tests that run
// the engine thread use work types whose kernels read nothing.
class TProbeModule : public TEngineModule {
 public:
  TProbeModule(int workType, bool mono) : workType_(workType), mono_(mono) {}

  int GetWorkType() const override { return workType_; }
  bool IsMono() const override { return mono_; }
  void BindWork(int voice, void* record, TBindContext&) override {
    bindings.push_back({voice, record});
  }
  void SoundStarted(TKlangEngine&, int voices) override { startedWith.push_back(voices); }
  void SoundStopped(TKlangEngine&, int voices) override { stoppedWith.push_back(voices); }

  struct SBinding {
    int voice;
    void* record;
  };
  std::vector<SBinding> bindings;
  std::vector<int> startedWith;
  std::vector<int> stoppedWith;

 private:
  int workType_;
  bool mono_;
};

class TProbeHost : public TEngineHost {
 public:
  void CollectModules(int, std::vector<TEngineModule*>& out) override {
    out.insert(out.end(), modules.begin(), modules.end());
  }
  void RevalidatePatch() override { ++revalidations; }
  void VoiceCountChanged(int voices) override { voiceChanges.push_back(voices); }

  std::vector<TEngineModule*> modules;
  int revalidations = 0;
  std::vector<int> voiceChanges;
};

class KlangEngine : public ::testing::Test {
 protected:
  KlangEngine() { engine.SetHost(&host); }
  TProbeModule& Add(int workType, bool mono) {
    probes.push_back(std::make_unique<TProbeModule>(workType, mono));
    host.modules.push_back(probes.back().get());
    return *probes.back();
  }

  TProbeHost host;
  std::vector<std::unique_ptr<TProbeModule>> probes;
  TKlangEngine engine;
};

TEST_F(KlangEngine, ASoundWithoutModulesStartsRunsAndStops) {
  EXPECT_EQ(engine.StartSound(), TKlangEngine::kStarted);
  EXPECT_TRUE(engine.IsStarted());
  EXPECT_TRUE(engine.IsRunning());
  EXPECT_TRUE(engine.ActiveWorks().empty());
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(engine.StartSound(), TKlangEngine::kAlreadyStarted);
  EXPECT_EQ(engine.StopSound(), TKlangEngine::kStopped);
  EXPECT_FALSE(engine.IsStarted());
  EXPECT_EQ(engine.StopSound(), TKlangEngine::kNotStarted);
}

TEST_F(KlangEngine, RecordsLieInCodeOrderModuleOrderAndVoiceOrder) {
  engine.SetVoiceCount(4);
  TProbeModule& poly = Add(kVolume, false);
  TProbeModule& mono = Add(kVolume, true);
  TProbeModule& constant = Add(kConstant, true);
  TProbeModule& control = Add(kNoWork, false);
  ASSERT_EQ(engine.BindSound(), TKlangEngine::kStarted);

  EXPECT_EQ(engine.Work(kVolume)->GetRecordCount(), 5);
  ASSERT_EQ(poly.bindings.size(), 4u);
  ASSERT_EQ(mono.bindings.size(), 1u);
  auto* first = static_cast<SVerknuepfungRecord*>(poly.bindings[0].record);
  for (int voice = 0; voice < 4; ++voice) {
    EXPECT_EQ(poly.bindings[voice].voice, voice);
    EXPECT_EQ(poly.bindings[voice].record, first + voice);
  }
  EXPECT_EQ(mono.bindings[0].record, first + 4);
  // The constant (code 1) comes before the volume records (code 3), each type aligned.
  EXPECT_LT(constant.bindings[0].record, poly.bindings[0].record);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % alignof(SVerknuepfungRecord), 0u);
  // A module without engine work is bound per voice with no record.
  ASSERT_EQ(control.bindings.size(), 4u);
  for (const auto& binding : control.bindings)
    EXPECT_EQ(binding.record, nullptr);
  // Storage-only constants are never computed.
  EXPECT_EQ(engine.ActiveWorks(), TActiveWorks{engine.Work(kVolume)});
  EXPECT_EQ(poly.startedWith, std::vector<int>{4});

  EXPECT_EQ(engine.StopSound(), TKlangEngine::kStopped);
  EXPECT_EQ(constant.stoppedWith, std::vector<int>{4});
  EXPECT_EQ(engine.Work(kVolume)->records, nullptr);
}

TEST_F(KlangEngine, AModuleCollectedTwiceIsLaidOutOnce) {
  TProbeModule& module = Add(kVolume, true);
  host.modules.push_back(&module);
  ASSERT_EQ(engine.BindSound(), TKlangEngine::kStarted);
  EXPECT_EQ(engine.Work(kVolume)->GetRecordCount(), 1);
  engine.StopSound();
}

TEST_F(KlangEngine, ConstantValueReachesTheModulesRecord) {
  TProbeModule& constant = Add(kConstant, true);
  ASSERT_EQ(engine.BindSound(), TKlangEngine::kStarted);
  engine.Work(kConstant)->SetValue(0, &constant, -1234, 0);
  EXPECT_EQ(static_cast<SKonstantenRecord*>(constant.bindings[0].record)->Value, -1234);
  TProbeModule stranger(kConstant, true);
  EXPECT_EQ(engine.Work(kConstant)->SetValue(0, &stranger, 5, 0), 0);  // ignored
  engine.StopSound();
}

TEST_F(KlangEngine, VoiceCountChangeRestartsAPlayingSoundAndIsClamped) {
  TProbeModule& poly = Add(kNoWork, false);
  engine.SetVoiceCount(1);
  EXPECT_TRUE(host.voiceChanges.empty());  // unchanged: not even marked modified
  ASSERT_EQ(engine.StartSound(), TKlangEngine::kStarted);
  engine.SetVoiceCount(3);
  EXPECT_TRUE(engine.IsStarted());
  EXPECT_EQ(poly.startedWith, (std::vector<int>{1, 3}));
  EXPECT_EQ(poly.stoppedWith, std::vector<int>{1});
  engine.SetVoiceCount(500);
  engine.SetVoiceCount(-2);
  EXPECT_EQ(host.voiceChanges, (std::vector<int>{3, TKlangEngine::kMaxVoices, 1}));
  engine.StopSound();
}

TEST_F(KlangEngine, RestartRevalidatesAndStartsOnlyAPlayingSound) {
  TProbeModule& module = Add(kConstant, true);
  engine.RestartSound(true);
  EXPECT_EQ(host.revalidations, 1);
  EXPECT_FALSE(engine.IsStarted());
  ASSERT_EQ(engine.StartSound(), TKlangEngine::kStarted);
  engine.RestartSound(true);
  EXPECT_EQ(host.revalidations, 2);
  EXPECT_TRUE(engine.IsStarted());
  EXPECT_EQ(module.startedWith.size(), 2u);
  engine.StopSound();
}

class TOverloadLog : public TEngineListener {
 public:
  void EngineOverloaded(int usage) override {
    reports.push_back(usage);
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<int> reports;
  std::vector<std::thread::id> threads;
};

TEST_F(KlangEngine, AnOverloadStopIsDeliveredOnceByThePollOnThePollingThread) {
  TOverloadLog log;
  engine.SetListener(&log);
  // Every reading of the clock finds a whole slice gone: 100 % busy, and sleeping takes no time.
  auto now = std::make_shared<std::int64_t>(0);
  engine.SetClock({[now] { return *now += TEngineScheduler::kSliceMs; }, [](std::int64_t) {}});
  ASSERT_EQ(engine.StartSound(), TKlangEngine::kStarted);
  for (int i = 0; i < 5000 && engine.IsRunning(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_FALSE(engine.IsRunning());
  EXPECT_TRUE(log.reports.empty());  // nothing is told on the engine thread
  engine.PollNews();
  engine.PollNews();
  ASSERT_EQ(log.reports.size(), 1u);
  EXPECT_GT(log.reports[0], 95);
  EXPECT_EQ(log.threads[0], std::this_thread::get_id());
  engine.StopSound();
}

// A work type whose records cannot be had, or whose kernel hangs until released.
class TTroubleWork : public TWorkRecords<std::int32_t> {
 public:
  std::size_t GetRecordSize() const override { return recordSize; }
  void ProcessSample() override {
    entered->store(true);
    while (hang->load())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  void StopWork() override { stopped->store(true); }

  std::size_t recordSize = sizeof(std::int32_t);
  std::shared_ptr<std::atomic<bool>> hang = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<std::atomic<bool>> stopped = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<std::atomic<bool>> entered = std::make_shared<std::atomic<bool>>(false);
};

constexpr int kTroubleCode = 7;

struct STroubleFactory {
  std::unique_ptr<TWorkBasisklassen> operator()(int code) const {
    if (code != kTroubleCode) return CreateWorkObject(code);
    auto work = std::make_unique<TTroubleWork>();
    work->recordSize = recordSize;
    work->hang = hang;
    work->stopped = stopped;
    work->entered = entered;
    return work;
  }
  std::size_t recordSize = sizeof(std::int32_t);
  std::shared_ptr<std::atomic<bool>> hang = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<std::atomic<bool>> stopped = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<std::atomic<bool>> entered = std::make_shared<std::atomic<bool>>(false);
};

TEST(KlangEngineFailures, NoMemoryBindsNothingAndLeavesTheSoundStopped) {
  STroubleFactory factory;
  factory.recordSize = std::size_t{1} << 62;
  TKlangEngine engine(factory);
  TProbeHost host;
  TProbeModule module(kTroubleCode, true);
  host.modules.push_back(&module);
  engine.SetHost(&host);
  EXPECT_EQ(engine.StartSound(), TKlangEngine::kStartNoMemory);
  EXPECT_FALSE(engine.IsStarted());
  EXPECT_TRUE(module.bindings.empty());
  EXPECT_TRUE(module.startedWith.empty());
}

TEST(KlangEngineFailures, AHungThreadIsAbandonedAndTheNextStartGetsFreshWorkObjects) {
  STroubleFactory factory;
  TProbeHost host;
  TProbeModule module(kTroubleCode, true);
  host.modules.push_back(&module);
  {
    TKlangEngine engine(factory);
    engine.SetHost(&host);
    const TWorkBasisklassen* hungWork = engine.Work(kTroubleCode);
    factory.hang->store(true);
    ASSERT_EQ(engine.StartSound(), TKlangEngine::kStarted);
    // A loaded machine may start the thread late; it must be stuck in its kernel first.
    while (!factory.entered->load())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(engine.StopSound(), TKlangEngine::kStopThreadHung);
    EXPECT_EQ(module.stoppedWith.size(), 1u);
    EXPECT_FALSE(factory.stopped->load());  // not while its kernel may still be computing
    EXPECT_NE(engine.Work(kTroubleCode), hungWork);
    EXPECT_FALSE(engine.IsStarted());
  }
  // The engine is gone; the abandoned thread still owns its work objects and record block.
  factory.hang->store(false);
  for (int i = 0; i < 2000 && !factory.stopped->load(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(factory.stopped->load());
}

}  // namespace

#include "engine/offline_runner.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/bind_context.h"
#include "engine/constant_work.h"
#include "engine/delay_kernel.h"
#include "engine/engine_host.h"
#include "engine/engine_module.h"
#include "engine/klang_engine.h"

namespace {

class TConstantModule : public TEngineModule {
 public:
  int GetWorkType() const override { return 1; }
  bool IsMono() const override { return true; }
  void BindWork(int, void*, TBindContext&) override {}
  void SoundStarted(TKlangEngine& engine, int) override { engine.Work(1)->SetValue(0, this, 0, 0); }
  void SoundStopped(TKlangEngine&, int) override {}
};

// A mono delay of 4 samples reading the constant's value.
class TDelayModule : public TEngineModule {
 public:
  explicit TDelayModule(const TConstantModule& source) : source_(source) {}
  int GetWorkType() const override { return 0; }
  bool IsMono() const override { return true; }
  void BindWork(int, void* record, TBindContext& context) override {
    buffer_.assign(4, 0);
    auto& delay = *static_cast<SDelayRecord*>(record);
    delay.Control = &fullDelay_;
    delay.Input = &context.RecordOf<SKonstantenRecord>(source_, 0)->Value;
    delay.MaxLength = 4;
    delay.Buffer = buffer_.data();
    delay.Length = DelayLength(fullDelay_, delay.MaxLength);
    delay.Position = 0;
    delay.Output = 0;
    output = &delay.Output;
  }
  void SoundStarted(TKlangEngine&, int) override {}
  void SoundStopped(TKlangEngine&, int) override {}

  const std::int32_t* output = nullptr;

 private:
  const TConstantModule& source_;
  const std::int32_t fullDelay_ = 2048;
  std::vector<std::int32_t> buffer_;
};

class TTwoModuleHost : public TEngineHost {
 public:
  void CollectModules(int, std::vector<TEngineModule*>& modules) override {
    modules = {&delay, &constant};
  }
  void RevalidatePatch() override {}
  void VoiceCountChanged(int) override {}

  TConstantModule constant;
  TDelayModule delay{constant};
};

TEST(OfflineRunner, HookDeliversValuesAtTheirSampleTimes) {
  TTwoModuleHost host;
  TKlangEngine engine;
  engine.SetHost(&host);
  TOfflineRunner runner(engine);
  ASSERT_EQ(runner.Start(), TKlangEngine::kStarted);
  EXPECT_EQ(engine.StartSound(), TKlangEngine::kAlreadyStarted);

  std::vector<std::int32_t> outputs;
  runner.Run(6, [&](std::int64_t index) {
    engine.Work(1)->SetValue(0, &host.constant, static_cast<std::int32_t>(100 + index), 0);
  });
  runner.Run(4, [&](std::int64_t) { outputs.push_back(*host.delay.output); });

  EXPECT_EQ(runner.SamplesComputed(), 10);
  // The hook before sample k sees the output of sample k - 1, the value set before sample k - 5.
  EXPECT_EQ(outputs, (std::vector<std::int32_t>{101, 102, 103, 104}));
  EXPECT_EQ(runner.Stop(), TKlangEngine::kStopped);
  EXPECT_FALSE(engine.IsStarted());
}

}  // namespace

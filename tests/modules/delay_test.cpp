#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "engine/delay_kernel.h"
#include "modules/delay.h"
#include "signal_rig.h"

namespace {

// The sample at which an impulse fed in at sample 0 reaches the sink, or -1 within `limit`.
std::int64_t ImpulseArrival(TSignalRig& rig, TTestSource& signal, const TPolySink& sink,
                            std::int64_t limit, int voice = 0) {
  for (std::int64_t sample = 0; sample < limit; ++sample) {
    signal.values.fill(sample == 0 ? 1000 : 0);
    rig.runner.Run(1);
    if (sink.Value(voice) == 1000) return sample;
  }
  return -1;
}

struct SDelayRig {
  explicit SDelayRig(const char* typeName, std::int32_t tenths = 2000, std::int32_t control = 0)
      : delay(rig.Create<TDelay>("Delay", typeName)),
        signal(rig.Source("Signal")),
        sink(rig.SinkOf(delay)) {
    delay.DelayTime->value = tenths;
    const bool dynamic = delay.InputList->Count() == 2;
    TSignalRig::Wire(delay, dynamic ? "2" : "1", signal);
    if (dynamic) TSignalRig::Wire(delay, "1", rig.Source("Control", control));
  }
  SDelayRecord& Record(int voice = 0) { return rig.RecordOf<SDelayRecord>(delay, voice); }

  TSignalRig rig;
  TDelay& delay;
  TTestSource& signal;
  TPolySink& sink;
};

TEST(DelayRegistry, TheFourTypeNamesBuildTheirVariantsAndKeepTheTimeThroughAFile) {
  struct SRow {
    const char* typeName;
    const char* title;
    bool mono;
    int inputs;
  };
  const SRow rows[] = {{"MonoDelay", " Delay", true, 1},
                       {"PolyDelay", " Delay", false, 1},
                       {"MonoDynDelay", " Dyn. Delay", true, 2},
                       {"PolyDynDelay", " Dyn. Delay", false, 2}};
  TSignalRig rig;
  for (const SRow& row : rows) {
    SCOPED_TRACE(row.typeName);
    auto& delay = rig.Create<TDelay>(row.typeName, row.typeName);
    EXPECT_EQ(delay.typeName, row.typeName);
    EXPECT_EQ(delay.Title->value, row.title);
    EXPECT_EQ(delay.IsMono(), row.mono);
    EXPECT_EQ(delay.GetWorkType(), 0);
    EXPECT_EQ(delay.HelpTopic(), 2000);
    EXPECT_EQ(delay.InputList->Count(), row.inputs);
    EXPECT_EQ(delay.InputList->Port("1")->Type().isPoly, !row.mono);
    EXPECT_EQ(delay.DelayTime->value, 2000);
    delay.DelayTime->value = 1234;
  }
  auto& dynamic = dynamic_cast<TDelay&>(*rig.document.ModuleList->Get("PolyDynDelay"));
  EXPECT_EQ(dynamic.InputList->Port("1")->Title->value, "Dly");
  EXPECT_EQ(dynamic.HintOf(*dynamic.InputList->Input("1")), "Delay Time in procent");

  QTemporaryDir folder;
  ASSERT_TRUE(rig.document.Save(folder.filePath("delays.zmr")));
  TDokumentKlang loaded;
  ASSERT_TRUE(loaded.Load(folder.filePath("delays.zmr")));
  for (const SRow& row : rows) {
    auto* delay = dynamic_cast<TDelay*>(loaded.ModuleList->Get(row.typeName).get());
    ASSERT_NE(delay, nullptr) << row.typeName;
    EXPECT_EQ(delay->DelayTime->value, 1234) << row.typeName;
  }
}

// Time in tenths of a millisecond, control value of a dynamic delay, and the delay in samples.
struct SLengthRow {
  const char* typeName;
  std::int32_t tenths;
  std::int32_t control;
  std::int32_t maxLength;
  std::int32_t length;
};

TEST(DelaySignal, AnImpulseArrivesAfterTheEffectiveLength) {
  const SLengthRow rows[] = {
      {"MonoDelay", 2000, 0, 4410, 4410},
      {"MonoDynDelay", 2000, 1024, 4410, 2205},
      {"PolyDynDelay", 2000, 0, 4410, 41},
      {"MonoDynDelay", 2000, -4096, 4410, 4410},
      {"MonoDynDelay", 1, 0, 2, 2},
      {"MonoDelay", 1, 0, 2, 2},
      // Times a hand-edited file can hold are brought into 0.1 .. 3000 ms.
      {"MonoDelay", 0, 0, 2, 2},
      {"PolyDelay", -50, 0, 2, 2},
      {"MonoDelay", 999999, 0, 66150, 66150},
  };
  for (const SLengthRow& row : rows) {
    SCOPED_TRACE(std::string(row.typeName) + " " + std::to_string(row.tenths) + " control " +
                 std::to_string(row.control));
    SDelayRig delay(row.typeName, row.tenths, row.control);
    ASSERT_TRUE(delay.rig.Start());
    EXPECT_EQ(delay.Record().MaxLength, row.maxLength);
    EXPECT_EQ(delay.Record().Length, row.length);
    EXPECT_EQ(ImpulseArrival(delay.rig, delay.signal, delay.sink, row.length + 10), row.length);
  }
}

TEST(DelaySignal, APolyDelayOwnsOneBufferPerVoiceAndKeepsTheVoicesApart) {
  SDelayRig delay("PolyDelay");
  delay.rig.document.SetVoiceCount(4);
  ASSERT_TRUE(delay.rig.Start());
  EXPECT_EQ(delay.delay.MemorySamples(), 4u * 4410u);
  EXPECT_EQ(delay.Record(3).Buffer, delay.Record(0).Buffer + 3 * 4410);
  EXPECT_EQ(ImpulseArrival(delay.rig, delay.signal, delay.sink, 4420, 3), 4410);
}

TEST(DelaySignal, ARestartedSoundBeginsWithASilentLine) {
  SDelayRig delay("MonoDelay", 10);  // 22 samples
  ASSERT_TRUE(delay.rig.Start());
  delay.signal.values[0] = 500;
  delay.rig.runner.Run(10);
  delay.rig.runner.Stop();
  delay.signal.values[0] = 0;
  ASSERT_TRUE(delay.rig.Start());
  for (int sample = 0; sample < 30; ++sample) {
    delay.rig.runner.Run(1);
    ASSERT_EQ(delay.sink.Value(), 0) << "sample " << sample;
  }
}

TEST(DelayDialog, TheTypedTimeIsCheckedAgainstTheRange) {
  const std::string refusal = "Delaytime must between 0.1 and 3000 msec !";
  const std::pair<const char*, SDelayTimeEntry> rows[] = {
      {"200", {2000, ""}}, {"3000", {30000, ""}},  {"0.1", {1, ""}},       {" 12.34", {123, ""}},
      {"0", {0, refusal}}, {"3001", {0, refusal}}, {"0.09", {0, refusal}}, {"-5", {0, refusal}},
      {"", {0, refusal}},  {"1e9", {0, refusal}},  {"abc", {0, refusal}},  {"2x", {0, refusal}},
  };
  for (const auto& [text, expected] : rows) {
    const SDelayTimeEntry entry = CheckDelayTime(text);
    EXPECT_EQ(entry.tenths, expected.tenths) << '"' << text << '"';
    EXPECT_EQ(entry.message, expected.message) << '"' << text << '"';
  }
  EXPECT_STREQ(kDelayFaultCaption, "Fault Delay");
}

TEST(DelayDialog, ShowsTheStoredTimeInMillisecondsAndStoresTheCheckedOne) {
  TSignalRig rig;
  auto& delay = rig.Create<TDelay>("Delay", "MonoDelay");
  EXPECT_EQ(delay.TimeText(), "200");
  delay.DelayTime->value = 1;
  EXPECT_EQ(delay.TimeText(), "0.1");
  delay.SetTime(30000);
  EXPECT_EQ(delay.TimeText(), "3000");
  EXPECT_EQ(delay.DelayTime->value, 30000);
  EXPECT_TRUE(rig.document.IsModified());
}

}  // namespace

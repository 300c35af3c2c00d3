#include "engine/midi_in_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/klang_engine.h"
#include "engine/midi_in_file_device.h"
#include "engine/offline_runner.h"

namespace {

// A device that logs every call and fails the one named by `failAt` with `failCode`.
class TScriptedDevice : public TMidiInDevice {
 public:
  int Open(TMidiInCallback* callback) override {
    callback_ = callback;
    return Step(callback ? "open" : "open without callback");
  }
  int Reset() override { return Step("reset"); }
  int PrepareHeader(SMidiInHeader& header) override {
    header_ = &header;
    return Step("prepare");
  }
  int AddBuffer(SMidiInHeader&) override { return Step("add"); }
  int Start() override { return Step("start"); }
  int Stop() override { return Step("stop"); }
  int UnprepareHeader(SMidiInHeader&) override { return Step("unprepare"); }
  int Close() override { return Step("close"); }

  std::string failAt;
  int failCode = kMidiError;
  std::vector<std::string> calls;
  TMidiInCallback* callback_ = nullptr;
  SMidiInHeader* header_ = nullptr;

 private:
  int Step(const std::string& name) {
    calls.push_back(name);
    return name == failAt ? failCode : kMidiOk;
  }
};

struct SReceived {
  char kind;  // 'S' short message, 'E' error, 'L' long data
  int status, data1, data2;
  bool operator==(const SReceived&) const = default;
};

class TRecordingDriver : public TWorkMidiIn {
 public:
  ~TRecordingDriver() override { Close(); }
  void OnShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    received.push_back({'S', status, data1, data2});
  }
  void OnError(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    received.push_back({'E', status, data1, data2});
  }
  void OnLongData(SMidiInHeader& header) override {
    received.push_back({'L', static_cast<int>(header.bytesRecorded), 0, 0});
  }
  std::vector<SReceived> received;
};

using TCalls = std::vector<std::string>;

TEST(MidiInDriver, OpenRunsItsStepsUntilOneFailsAndThenCloses) {
  struct SCase {
    const char* failAt;
    int result;
    TCalls calls;
  } cases[] = {
      {"", kMidiOk, {"open", "reset", "prepare", "add", "start"}},
      {"open", kMidiBadDeviceId, {"open"}},
      {"reset", kMidiBadDeviceId, {"open", "reset", "stop", "reset"}},
      {"add",
       kMidiBadDeviceId,
       {"open", "reset", "prepare", "add", "stop", "reset", "unprepare", "close"}},
      {"start",
       kMidiBadDeviceId,
       {"open", "reset", "prepare", "add", "start", "stop", "reset", "unprepare", "close"}},
  };
  for (const auto& c : cases) {
    TScriptedDevice device;
    device.failAt = c.failAt;
    device.failCode = kMidiBadDeviceId;
    TWorkMidiIn driver;
    EXPECT_EQ(driver.Open(device), c.result) << c.failAt;
    EXPECT_EQ(device.calls, c.calls) << c.failAt;
    EXPECT_EQ(driver.IsOpen(), c.result == kMidiOk) << c.failAt;
    EXPECT_EQ(device.callback_, &driver) << c.failAt;
  }
}

TEST(MidiInDriver, SysExBufferIsZeroFilledAndHandedOverOnce) {
  TScriptedDevice device;
  TWorkMidiIn driver;
  ASSERT_EQ(driver.Open(device), kMidiOk);
  ASSERT_NE(device.header_, nullptr);
  EXPECT_EQ(device.header_->bufferLength, kMidiInSysExBytes);
  for (std::uint32_t i = 0; i < kMidiInSysExBytes; ++i) {
    ASSERT_EQ(device.header_->data[i], std::byte{0}) << i;
  }
  device.callback_->MidiInCallback(EMidiInMessage::LongData, 0, device.header_);
  EXPECT_EQ(std::count(device.calls.begin(), device.calls.end(), "add"), 1);
}

TEST(MidiInDriver, CloseStopsAtTheFirstFailureButForgetsTheDevice) {
  struct SCase {
    const char* failAt;
    TCalls calls;
  } cases[] = {
      {"", {"stop", "reset", "unprepare", "close"}},
      {"stop", {"stop"}},
      {"unprepare", {"stop", "reset", "unprepare"}},
      {"close", {"stop", "reset", "unprepare", "close"}},
  };
  for (const auto& c : cases) {
    TScriptedDevice device;
    TWorkMidiIn driver;
    ASSERT_EQ(driver.Open(device), kMidiOk);
    device.calls.clear();
    device.failAt = c.failAt;
    EXPECT_EQ(driver.Close(), *c.failAt ? kMidiError : kMidiOk) << c.failAt;
    EXPECT_EQ(device.calls, c.calls) << c.failAt;
    EXPECT_FALSE(driver.IsOpen()) << c.failAt;
  }
}

TEST(MidiInDriver, ResultCodesOfOpenOnOpenAndCloseOnClosed) {
  TScriptedDevice first, second;
  TWorkMidiIn driver;
  EXPECT_EQ(driver.Close(), kMidiInvalidHandle);
  ASSERT_EQ(driver.Open(first), kMidiOk);
  EXPECT_EQ(driver.Open(second), kMidiAllocated);
  EXPECT_TRUE(second.calls.empty());
  EXPECT_EQ(driver.Close(), kMidiOk);
  EXPECT_EQ(driver.Close(), kMidiInvalidHandle);
}

TEST(MidiInDriver, CanOpenOpensWithoutCallbackAndClosesAgain) {
  TScriptedDevice good, bad;
  bad.failAt = "open without callback";
  EXPECT_TRUE(TWorkMidiIn::CanOpen(good));
  EXPECT_EQ(good.calls, (TCalls{"open without callback", "close"}));
  EXPECT_FALSE(TWorkMidiIn::CanOpen(bad));
  EXPECT_EQ(bad.calls, TCalls{"open without callback"});
}

TEST(MidiInDriver, UnpacksMessagesAndIgnoresTheRest) {
  TRecordingDriver driver;
  SMidiInHeader header{nullptr, kMidiInSysExBytes, 17};
  struct SCase {
    EMidiInMessage message;
    std::uint32_t packed;
  } cases[] = {
      {EMidiInMessage::Data, 0x7F4590},      {EMidiInMessage::Data, 0xAB000080},
      {EMidiInMessage::Error, 0x0102F3},     {EMidiInMessage::Open, 0x7F4590},
      {EMidiInMessage::Close, 0x7F4590},     {EMidiInMessage::MoreData, 0x7F4590},
      {EMidiInMessage::LongError, 0x7F4590}, {EMidiInMessage::LongData, 0},
  };
  for (const auto& c : cases) {
    driver.MidiInCallback(c.message, c.packed,
                          c.message == EMidiInMessage::LongData ? &header : nullptr);
  }
  const std::vector<SReceived> expected = {
      {'S', 0x90, 0x45, 0x7F}, {'S', 0x80, 0x00, 0x00}, {'E', 0xF3, 0x02, 0x01}, {'L', 17, 0, 0}};
  EXPECT_EQ(driver.received, expected);
}

TEST(MidiInFileDevice, DeliversEachMessageBeforeItsSampleOnTheRunnersHook) {
  TMidiInFileDevice device({{5, 0x80, 60, 0}, {0, 0x90, 60, 100}, {5, 0x90, 62, 90}});
  TRecordingDriver driver;
  ASSERT_EQ(driver.Open(device), kMidiOk);

  TKlangEngine engine;
  TOfflineRunner runner(engine);
  ASSERT_EQ(runner.Start(), TKlangEngine::kStarted);
  std::vector<std::int64_t> deliveredAt;
  runner.Run(3, [&](std::int64_t index) {
    device.DeliverUpTo(index);
    deliveredAt.resize(driver.received.size(), index);
  });
  EXPECT_EQ(driver.received, (std::vector<SReceived>{{'S', 0x90, 60, 100}}));
  runner.Run(10, device.SampleHook());
  // Same-sample events keep their order.
  EXPECT_EQ(driver.received, (std::vector<SReceived>{
                                 {'S', 0x90, 60, 100}, {'S', 0x80, 60, 0}, {'S', 0x90, 62, 90}}));
  EXPECT_EQ(deliveredAt, std::vector<std::int64_t>{0});
}

TEST(MidiInFileDevice, DropsWhatPassesWhileNotStartedAndAnswersLikeADevice) {
  TMidiInFileDevice device({{1, 0x90, 1, 1}, {2, 0x90, 2, 2}, {3, 0x90, 3, 3}});
  TRecordingDriver driver;
  device.DeliverUpTo(1);
  ASSERT_EQ(driver.Open(device), kMidiOk);
  EXPECT_EQ(driver.Open(device), kMidiAllocated);
  device.DeliverUpTo(2);
  device.Stop();
  device.DeliverUpTo(3);
  EXPECT_EQ(driver.received, (std::vector<SReceived>{{'S', 0x90, 2, 2}}));

  EXPECT_EQ(device.Open(nullptr), kMidiAllocated);
  EXPECT_EQ(driver.Close(), kMidiOk);
  EXPECT_EQ(device.Close(), kMidiInvalidHandle);
  EXPECT_EQ(device.Start(), kMidiInvalidHandle);
  EXPECT_FALSE(device.IsStarted());
  EXPECT_TRUE(TWorkMidiIn::CanOpen(device));
  EXPECT_FALSE(device.IsOpen());
}

}  // namespace

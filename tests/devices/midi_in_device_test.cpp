// MIDI input ports on a JACK dummy server, through the MIDI input driver: a keyboard client of
// the test plays into the port the driver opened.
#include "platform/rtmidi_in_devices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "engine/midi_in_driver.h"
#include "jack_test_clients.h"

namespace {

using namespace std::chrono_literals;

const std::vector<EDeviceApi> kJackOnly{EDeviceApi::Jack};

// Notes what reaches the driver, in order, as "kind: bytes".
class TRecordingMidiIn : public TWorkMidiIn {
 public:
  ~TRecordingMidiIn() override { Close(); }

  void OnShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    Note("data", {status, data1, data2});
  }
  void OnLongData(SMidiInHeader& header) override {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(header.data);
    Note("long", std::vector<std::uint8_t>(bytes, bytes + header.bytesRecorded));
  }
  void OnError(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    Note("error", {status, data1, data2});
  }

  std::vector<std::string> received() const {
    const std::lock_guard lock(mutex_);
    return received_;
  }

 private:
  void Note(const std::string& kind, const std::vector<std::uint8_t>& bytes) {
    std::string text = kind + ":";
    for (const std::uint8_t byte : bytes)
      text += " " + std::to_string(byte);
    const std::lock_guard lock(mutex_);
    received_.push_back(text);
  }

  mutable std::mutex mutex_;
  std::vector<std::string> received_;
};

class JackMidi : public ::testing::Test {
 protected:
  // The device of the keyboard's port.
  TMidiInDevice* KeyboardDevice() {
    const std::vector<std::string> names = devices_.DeviceNames();
    const auto listed = std::ranges::find(names, "JACK: " + keyboard_.name() + ":out");
    if (listed == names.end()) return nullptr;
    return devices_.Device(static_cast<int>(listed - names.begin()));
  }

  bool Receives(const TRecordingMidiIn& driver, std::size_t count) {
    return WaitUntil([&] { return driver.received().size() >= count; }, 2s);
  }

  TJackKeyboard keyboard_{OwnClientName("keyboard")};
  TRtMidiInDevices devices_{kJackOnly};
};

TEST_F(JackMidi, ANotePlayedOnAJackClientReachesTheDriverWithSysExAndMalformedBytes) {
  ASSERT_TRUE(keyboard_.IsOpen());
  TMidiInDevice* device = KeyboardDevice();
  ASSERT_NE(device, nullptr);
  const int threadsBefore = SettledThreadCount();
  {
    TRecordingMidiIn driver;
    ASSERT_EQ(driver.Open(*device), kMidiOk) << devices_.ErrorText(kMidiError);
    // Sent before the connection takes effect, a note would be lost when the keyboard's period
    // runs late, as it does on a busy machine.
    ASSERT_TRUE(keyboard_.WaitUntilConnected(2s));

    keyboard_.Send({0x90, 60, 100});
    keyboard_.Send({0x80, 60, 0});
    ASSERT_TRUE(Receives(driver, 2));
    keyboard_.Send({0xF0, 0x7D, 1, 2, 0xF7});
    ASSERT_TRUE(Receives(driver, 3));
    keyboard_.Send({0x90, 60});
    ASSERT_TRUE(Receives(driver, 4));
    // The system-exclusive buffer is handed over once: later exclusive data finds none.
    keyboard_.Send({0xF0, 0x7D, 3, 0xF7});
    keyboard_.Send({0xB0, 7, 90});
    ASSERT_TRUE(Receives(driver, 5));
    EXPECT_EQ(driver.received(), (std::vector<std::string>{"data: 144 60 100", "data: 128 60 0",
                                                           "long: 240 125 1 2 247",
                                                           "error: 144 60 0", "data: 176 7 90"}));
    EXPECT_EQ(driver.Close(), kMidiOk);
    keyboard_.Send({0x90, 62, 100});
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(driver.received().size(), 5u);

    // Reopening the same device gives the same port again.
    ASSERT_EQ(driver.Open(*device), kMidiOk) << devices_.ErrorText(kMidiError);
    ASSERT_TRUE(keyboard_.WaitUntilConnected(2s));
    keyboard_.Send({0x90, 64, 1});
    ASSERT_TRUE(Receives(driver, 6));
    EXPECT_EQ(driver.received().back(), "data: 144 64 1");
  }
  EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threadsBefore; }, 2s));
}

TEST_F(JackMidi, ADeviceInUseOrGoneIsRefusedWithItsCode) {
  TMidiInDevice* device = KeyboardDevice();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device, KeyboardDevice());  // one device per port
  EXPECT_TRUE(TWorkMidiIn::CanOpen(*device));

  TRecordingMidiIn first;
  TRecordingMidiIn second;
  ASSERT_EQ(first.Open(*device), kMidiOk);
  EXPECT_EQ(second.Open(*device), kMidiAllocated);
  EXPECT_EQ(first.Close(), kMidiOk);

  // A port that went away after it was listed.
  {
    TJackKeyboard passing(OwnClientName("passing"));
    const std::vector<std::string> names = devices_.DeviceNames();
    const auto listed = std::ranges::find(names, "JACK: " + passing.name() + ":out");
    ASSERT_NE(listed, names.end());
    device = devices_.Device(static_cast<int>(listed - names.begin()));
    ASSERT_NE(device, nullptr);
  }
  EXPECT_EQ(first.Open(*device), kMidiBadDeviceId);
  EXPECT_NE(devices_.ErrorText(kMidiBadDeviceId).find("is no longer there"), std::string::npos)
      << devices_.ErrorText(kMidiBadDeviceId);
}

TEST(RtMidiIn, AMissingServerListsNoDevice) {
  const TJackServerChoice server("zelmar-no-such-server");
  TRtMidiInDevices devices(kJackOnly);
  EXPECT_TRUE(devices.DeviceNames().empty());
  EXPECT_EQ(devices.Device(0), nullptr);
  EXPECT_NE(devices.ErrorText(kMidiBadDeviceId).find("no MIDI input device number 0"),
            std::string::npos);
}

}  // namespace

#include "modules/speakers.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/microphone_kernel.h"
#include "patch/dokument_klang.h"
#include "platform/message_box.h"
#include "platform/options.h"
#include "tests/engine/wav_test_files.h"
#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"

namespace {

TFixedSource& Source(TDokumentKlang& document, const std::string& key, std::int32_t value) {
  return Place(document, key, std::make_shared<TFixedSource>(value));
}

TEST(Speaker, PortsTitlesAndWorkTypes) {
  struct SCase {
    const char* typeName;
    int inputs;
    int workType;
    int height;
  };
  for (const SCase& c : {SCase{"Speaker", 1, 18, 51}, SCase{"SpeakerStereo", 2, 19, 65}}) {
    TDokumentKlang document;
    auto& speaker = Create<TLautsprecher>(document, "S", c.typeName);
    EXPECT_EQ(speaker.Title->value, " Speaker");
    EXPECT_EQ(speaker.InputList->Count(), c.inputs);
    EXPECT_EQ(speaker.GetWorkType(), c.workType);
    EXPECT_EQ(speaker.Rect->GetRect().bottom, c.height);
    EXPECT_TRUE(speaker.IsMono());
    EXPECT_TRUE(speaker.IsSink());
    EXPECT_EQ(speaker.UseDefaultDevice->value, 1);
  }
}

TEST(Speaker, PlaysItsInputThroughTheWavFileDevice) {
  TRenderRig rig;
  TDokumentKlang& document = rig.Document();
  auto& speaker = Create(document, "Speaker", "Speaker");
  Wire(Source(document, "Value", 1000), speaker);
  const SRenderedSound sound = rig.Render(2000);
  ASSERT_EQ(sound.channels, 1);
  EXPECT_EQ(sound.leadFrames, static_cast<std::size_t>(SoundOptions().waveBuffer) * 250);
  ASSERT_EQ(sound.EngineSampleCount(), 2000u);
  EXPECT_EQ(sound.samples[sound.leadFrames - 1], 0);
  EXPECT_EQ(sound.samples[sound.leadFrames], 500);  // the midpoint from silence
  for (std::size_t i = 0; i < 2000; ++i)
    ASSERT_EQ(sound.EngineSample(i), 1000) << i;
}

TEST(Speaker, StereoWritesLeftAndRightFrames) {
  TRenderRig rig;
  TDokumentKlang& document = rig.Document();
  auto& speaker = Create(document, "Speaker", "SpeakerStereo");
  Wire(Source(document, "Left", 1000), speaker, "1");
  Wire(Source(document, "Right", -600), speaker, "2");
  const SRenderedSound sound = rig.Render(500);
  ASSERT_EQ(sound.channels, 2);
  ASSERT_EQ(sound.EngineSampleCount(), 500u);
  for (std::size_t i = 0; i < 500; ++i) {
    ASSERT_EQ(sound.EngineSample(i, 0), 1000) << i;
    ASSERT_EQ(sound.EngineSample(i, 1), -600) << i;
  }
}

TEST(Speaker, WithoutAnOpenDeviceTheChainStaysInactive) {
  struct SCase {
    const char* name;
    bool services;
    int ownDevice;  // -1: follows the default
  };
  for (const SCase& c :
       {SCase{"no output service", false, -1}, SCase{"own device none", true, -2}}) {
    std::unique_ptr<TRenderRig> rig;
    if (c.services) rig = std::make_unique<TRenderRig>();
    TDokumentKlang document;
    auto& speaker = Create<TLautsprecher>(document, "Speaker", "Speaker");
    auto& source = Source(document, "Value", 1000);
    Wire(source, speaker);
    if (c.ownDevice == -2) {
      speaker.UseDefaultDevice->value = 0;
      speaker.Device->value = -1;
    }
    document.ModuleList->Broadcast(0, 0, &document);
    document.RevalidatePatch();
    EXPECT_FALSE(speaker.IsDeviceOpen()) << c.name;
    EXPECT_FALSE(speaker.IsActive(nullptr)) << c.name;
    EXPECT_FALSE(source.IsActive(nullptr)) << c.name;
  }
}

TEST(Speaker, AFailedOpeningOfItsOwnDeviceIsReportedAndForgotten) {
  // The file device takes one stream at a time: a second speaker cannot open it.
  TRenderRig rig;
  TMessages messages;
  TDokumentKlang& document = rig.Document();
  auto& first = Create<TLautsprecher>(document, "First", "Speaker");
  auto& second = Create<TLautsprecher>(document, "Second", "Speaker");
  ASSERT_TRUE(first.OpenDevice(false));
  second.UseDefaultDevice->value = 0;
  second.Device->value = 0;
  EXPECT_FALSE(second.OpenDevice(false));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(second.Device->value, -1);

  second.Device->value = 0;
  EXPECT_FALSE(second.OpenDevice(true));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Fault Module Wave");
  EXPECT_EQ(messages.shown[0].icon, TMessageIcon::Error);
  EXPECT_FALSE(messages.shown[0].text.isEmpty());

  // Following the default, a failure keeps the stored device.
  second.UseDefaultDevice->value = 1;
  second.Device->value = 3;
  EXPECT_FALSE(second.OpenDevice(false));
  EXPECT_EQ(second.Device->value, 3);
}

TEST(Speaker, ReopeningWhilePlayingPausesTheSound) {
  TRenderRig rig;
  TDokumentKlang& document = rig.Document();
  auto& speaker = Create<TLautsprecher>(document, "Speaker", "Speaker");
  Wire(Source(document, "Value", 1000), speaker);
  ASSERT_TRUE(speaker.OpenDevice(false));
  document.RevalidatePatch();
  ASSERT_EQ(document.StartSound(), TKlangEngine::kStarted);
  // The default output device changed (tree message 9): the speaker reopens under a stopped
  // sound, which plays again afterwards.
  document.ModuleList->Broadcast(9, 0, &document);
  EXPECT_TRUE(speaker.IsDeviceOpen());
  EXPECT_TRUE(document.IsStarted());
  EXPECT_TRUE(speaker.IsActive(nullptr));
  EXPECT_EQ(document.StopSound(), TKlangEngine::kStopped);
}

TEST(Microphone, ItsRecordingReachesTheSpeaker) {
  std::vector<std::int16_t> recorded(3000);
  for (std::size_t i = 0; i < recorded.size(); ++i)
    recorded[i] = static_cast<std::int16_t>(i % 700 + 1);
  const auto recording = WriteTestFile("microphone.wav", Wav16(1, 22050, recorded));
  TRenderRig rig({}, recording);
  TDokumentKlang& document = rig.Document();
  auto& microphone = Create<TMikrophon>(document, "Micro", "Microphon");
  auto& speaker = Create(document, "Speaker", "Speaker");
  Wire(microphone, speaker);
  const SRenderedSound sound = rig.Render(2000);
  ASSERT_TRUE(microphone.IsDeviceOpen());
  ASSERT_EQ(sound.EngineSampleCount(), 2000u);
  // The recording comes through sample for sample, across the changes of recording buffer.
  for (std::size_t i = 0; i < 2000; ++i)
    ASSERT_EQ(sound.EngineSample(i), recorded[i]) << i;
}

TEST(Microphone, WithoutADeviceItsChainStaysInactive) {
  TRenderRig rig;  // no recording: no input device
  TDokumentKlang& document = rig.Document();
  auto& microphone = Create<TMikrophon>(document, "Micro", "Microphon");
  auto& speaker = Create<TLautsprecher>(document, "Speaker", "Speaker");
  Wire(microphone, speaker);
  document.ModuleList->Broadcast(0, 0, &document);
  document.RevalidatePatch();
  EXPECT_TRUE(speaker.IsDeviceOpen());
  EXPECT_FALSE(microphone.IsDeviceOpen());
  EXPECT_FALSE(speaker.IsActive(nullptr));
}

}  // namespace

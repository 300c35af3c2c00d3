#include "modules/midi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/note_table.h"
#include "engine/offline_runner.h"
#include "patch/dokument_klang.h"
#include "tests/modules/patch_builder.h"
#include "tests/modules/render_rig.h"

namespace {

constexpr std::uint8_t kOn = 0x90;
constexpr std::uint8_t kOff = 0x80;

std::int32_t NoteHz(int note) { return Note(note).frequency; }

// MIDI in -> key -> sinks for the amplitude and the frequency of every voice, played through
// the file MIDI device for `samples` samples.
struct SKeyPatch {
  explicit SKeyPatch(std::vector<SMidiInEvent> events, int voices = 4,
                     const std::function<void(TMidiTaste&)>& configure = {})
      : rig(std::move(events)) {
    document.CountVoices->value = voices;
    document.SetVoiceCount(voices);
    auto& midiIn = Create(document, "MidiIn", "MidiIn");
    key = &Create<TMidiTaste>(document, "Key", "MidiKey");
    amplitude = &Place(document, "Amplitude", std::make_shared<TPolySink>());
    frequency = &Place(document, "Frequency", std::make_shared<TPolySink>(kPortPolyInputFrequenz));
    Wire(midiIn, *key);
    Wire(*key, *amplitude, "1", "1");
    Wire(*key, *frequency, "1", "2");
    if (configure) configure(*key);
  }
  void Play(std::int64_t samples) {
    EXPECT_EQ(rig.Start(), 0);
    rig.Run(samples);
  }

  TRenderRig rig;
  TDokumentKlang& document = rig.Document();
  TMidiTaste* key;
  TPolySink* amplitude;
  TPolySink* frequency;
};

TEST(MidiKey, FifthNoteOnFourVoicesTakesVoiceZero) {
  SKeyPatch patch({{0, kOn, 60, 100},
                   {1, kOn, 62, 100},
                   {2, kOn, 64, 100},
                   {3, kOn, 65, 100},
                   {4, kOn, 67, 127},
                   {5, kOff, 60, 0}});
  patch.Play(10);
  const int notes[] = {67, 62, 64, 65};
  for (int voice = 0; voice < 4; ++voice) {
    EXPECT_EQ(patch.key->VoiceNote(voice), notes[voice]) << voice;
    EXPECT_EQ(patch.frequency->Value(voice), NoteHz(notes[voice])) << voice;
  }
  // The note-off of 60 found no voice: voice 0 goes on with 67 at velocity 127.
  EXPECT_EQ(patch.amplitude->Value(0), 127 * 1024 >> 6);
  EXPECT_EQ(patch.amplitude->Value(1), 100 * 1024 >> 6);
}

TEST(MidiKey, NoteOffsEndEveryVoiceOfTheirNote) {
  struct SCase {
    const char* name;
    std::vector<SMidiInEvent> events;
    std::vector<int> notes;  // per voice after the events
  };
  const SCase cases[] = {
      {"velocity 0 ends a note", {{0, kOn, 60, 100}, {1, kOn, 60, 0}}, {0, 0}},
      {"one note-off, two voices", {{0, kOn, 60, 90}, {1, kOn, 60, 90}, {2, kOff, 60, 64}}, {0, 0}},
      {"other notes keep sounding",
       {{0, kOn, 60, 90}, {1, kOn, 61, 90}, {2, kOff | 5, 60, 0}},
       {0, 61}},
      {"all sound off", {{0, kOn, 60, 90}, {1, kOn, 61, 90}, {2, 0xB3, 120, 0}}, {0, 0}},
      {"all notes off", {{0, kOn, 60, 90}, {1, kOn, 61, 90}, {2, 0xB0, 123, 0}}, {0, 0}},
      {"other controllers", {{0, kOn, 60, 90}, {1, kOn, 61, 90}, {2, 0xB0, 121, 0}}, {60, 61}},
  };
  for (const SCase& c : cases) {
    SKeyPatch patch(c.events);
    patch.Play(5);
    for (int voice = 0; voice < 2; ++voice) {
      EXPECT_EQ(patch.key->VoiceNote(voice), c.notes[voice]) << c.name << " voice " << voice;
      EXPECT_EQ(patch.amplitude->Value(voice) == 0, c.notes[voice] == 0) << c.name;
    }
    // A released voice keeps its last frequency.
    EXPECT_EQ(patch.frequency->Value(0), NoteHz(60)) << c.name;
  }
}

TEST(MidiKey, PitchFollowsOffsetAndFineTune) {
  const auto step15 = [](int note, int other) { return (NoteHz(other) - NoteHz(note)) / 15; };
  const auto step22 = [](int note, int other) { return (NoteHz(other) - NoteHz(note)) / 22; };
  struct SCase {
    int offset, fineTune, note;
    std::int32_t frequency;
  };
  const SCase cases[] = {
      {12, 0, 57, 440 * 1024},
      {0, 15, 69, NoteHz(69) + step15(69, 70) * 15},
      {0, 1, 69, NoteHz(69) + step15(69, 70)},
      {0, -15, 69, NoteHz(69) - step22(69, 68) * -15},
      {-17, 0, 10, NoteHz(0)},
      // Notes beyond the table's end play its last entry; offsets and tunings beyond the
      // dialog's ranges (only a hand-edited file holds them) are kept to those ranges.
      {17, 0, 120, NoteHz(127)},
      {1000, 0, 100, NoteHz(117)},
      {0, 1000, 127, NoteHz(127)},
  };
  for (const SCase& c : cases) {
    SKeyPatch patch({{0, kOn, static_cast<std::uint8_t>(c.note), 100}}, 1, [&](TMidiTaste& key) {
      key.NoteOffset->value = c.offset;
      key.FineTune->value = c.fineTune;
    });
    patch.Play(2);
    EXPECT_EQ(patch.frequency->Value(0), c.frequency) << c.offset << " " << c.fineTune;
  }
  // +15 reaches the next semitone but for the division's remainder; -15 stays above the one
  // below.
  EXPECT_NEAR(NoteHz(69) + step15(69, 70) * 15, NoteHz(70), 15);
  EXPECT_GT(NoteHz(69) - step22(69, 68) * -15, NoteHz(68));
}

TEST(MidiKey, AmplitudeFromVelocityOrVolume) {
  struct SCase {
    int volume, ignoreVelocity, velocity;
    std::int32_t amplitude;
  };
  for (const SCase& c :
       {SCase{1025, 0, 127, 2033}, SCase{1024, 0, 64, 1024}, SCase{1025, 1, 1, 2050},
        SCase{1025, 1, 127, 2050}, SCase{1 << 30, 0, 127, 127 * 2049 >> 6}}) {
    SKeyPatch patch({{0, kOn, 60, static_cast<std::uint8_t>(c.velocity)}}, 1, [&](TMidiTaste& key) {
      key.Volume->value = c.volume;
      key.IgnoreVelocity->value = c.ignoreVelocity;
    });
    patch.Play(2);
    EXPECT_EQ(patch.amplitude->Value(0), c.amplitude) << c.volume << " " << c.velocity;
  }
}

TEST(MidiIn, ListenersAreFiledAtStartAndDroppedAtStop) {
  SKeyPatch patch({});
  auto& midiIn = dynamic_cast<TModulMidiIn&>(*patch.document.ModuleList->Get("MidiIn"));
  patch.Play(1);
  EXPECT_EQ(midiIn.ListenerCount(), 1);
  patch.rig.Finish();
  EXPECT_EQ(midiIn.ListenerCount(), 0);
  EXPECT_TRUE(midiIn.IsDeviceOpen());
}

// Notes keep arriving on the MIDI thread while the GUI thread starts and stops the sound 200
// times: each start files the key again, each stop drops it before its records go, and neither
// thread waits for the other (run under the thread and address sanitizers, this shows any
// message that reaches a stopped sound).
TEST(MidiIn, NotesArrivingWhileTheSoundStartsAndStops) {
  SKeyPatch patch({});
  auto& midiIn = dynamic_cast<TModulMidiIn&>(*patch.document.ModuleList->Get("MidiIn"));
  patch.Play(1);
  patch.rig.Finish();
  std::atomic<bool> done{false};
  std::thread midi([&] {
    for (std::uint8_t note = 0; !done.load(); note = (note + 1) % 128) {
      midiIn.OnShortMessage(kOn, note, 100);
      midiIn.OnShortMessage(kOff, note, 0);
    }
  });
  for (int cycle = 0; cycle < 200; ++cycle) {
    TOfflineRunner runner(patch.document.Engine());
    ASSERT_EQ(runner.Start(), 0);
    EXPECT_EQ(midiIn.ListenerCount(), 1);
    runner.Run(10);
  }
  done.store(true);
  midi.join();
  EXPECT_EQ(midiIn.ListenerCount(), 0);
}

// A file may wire a MIDI output to a signal input and a signal output to a MIDI input; neither
// wire links anything, so no value is read as a listener and no listener as a value.
TEST(MidiIn, WiresBetweenMidiAndSignalPortsLinkNothing) {
  SKeyPatch patch({{0, kOn, 60, 100}});
  auto& midiIn = dynamic_cast<TModulMidiIn&>(*patch.document.ModuleList->Get("MidiIn"));
  auto& constant = Create(patch.document, "Constant", "ConstAnalog");
  patch.key->InputList->Input("1")->Connect(constant.OutputList->Output("1"), false);
  auto& reader = Place(patch.document, "Reader", std::make_shared<TPolySink>());
  Wire(midiIn, reader);
  patch.Play(2);
  EXPECT_EQ(midiIn.ListenerCount(), 0);
  EXPECT_EQ(patch.key->VoiceNote(0), 0);  // the key hears no note
  EXPECT_EQ(reader.inputs[0], nullptr);   // and the reader got no address
  patch.rig.Finish();
}

TEST(MidiIn, WithoutAnOpenDeviceItsListenersStayInactive) {
  struct SCase {
    const char* name;
    bool services;
    int device;
  };
  for (const SCase& c : {SCase{"no MIDI service", false, 0}, SCase{"no such device", true, 3},
                         SCase{"device none", true, -1}}) {
    std::unique_ptr<TRenderRig> rig;
    if (c.services) rig = std::make_unique<TRenderRig>();
    TMessages messages;
    TDokumentKlang document;
    auto& midiIn = Create<TModulMidiIn>(document, "MidiIn", "MidiIn");
    auto& key = Create<TMidiTaste>(document, "Key", "MidiKey");
    auto& sink = Place(document, "Sink", std::make_shared<TPolySink>());
    Wire(midiIn, key);
    Wire(key, sink);
    midiIn.UseDefaultDevice->value = 0;
    midiIn.Device->value = c.device;
    document.ModuleList->Broadcast(0, 0, &document);
    document.RevalidatePatch();
    EXPECT_FALSE(midiIn.IsDeviceOpen()) << c.name;
    EXPECT_FALSE(key.IsActive(nullptr)) << c.name;
    EXPECT_FALSE(sink.IsActive(nullptr)) << c.name;
    EXPECT_TRUE(messages.shown.empty()) << c.name;
    EXPECT_EQ(midiIn.Device->value, -1) << c.name;
  }
}

TEST(MidiIn, AFailedOpeningFromTheDialogIsReported) {
  TRenderRig rig;
  TMessages messages;
  TDokumentKlang& document = rig.Document();
  auto& midiIn = Create<TModulMidiIn>(document, "MidiIn", "MidiIn");
  midiIn.UseDefaultDevice->value = 0;
  midiIn.Device->value = 5;
  EXPECT_FALSE(midiIn.OpenDevice(true));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "Fault Module Midi");
  EXPECT_EQ(messages.shown[0].icon, TMessageIcon::Error);
}

// MIDI in -> the four controllers -> sinks.
TEST(MidiControllers, ReactOnTheirChannelsWithTheirScaling) {
  struct SCase {
    const char* name;
    SMidiInEvent event;
    std::int32_t pitch, modulation, aftertouch, volume;
  };
  // 0: the controller did not react (it starts at 0).
  const SCase cases[] = {
      {"pitch centre", {0, 0xE0, 0, 64}, 0, 0, 0, 0},
      {"pitch top", {0, 0xE0, 0, 127}, 1575, 0, 0, 0},
      {"pitch bottom", {0, 0xE0, 0, 0}, -1600, 0, 0, 0},
      {"pitch channel 2", {0, 0xE1, 0, 127}, 0, 0, 0, 0},
      {"volume channel 1", {0, 0xB0, 7, 100}, 0, 2500, 0, 2500},
      {"volume channel 2", {0, 0xB1, 7, 100}, 0, 0, 0, 2500},
      {"other controller", {0, 0xB0, 1, 3}, 0, 75, 0, 0},
      {"aftertouch", {0, 0xD0, 127, 0}, 0, 0, 3175, 0},
      {"aftertouch channel 2", {0, 0xD1, 127, 0}, 0, 0, 0, 0},
  };
  const char* types[] = {"MidiPitch", "MidiModulation", "MidiAftertouch", "MidiVolume"};
  for (const SCase& c : cases) {
    TRenderRig rig({c.event});
    TDokumentKlang& document = rig.Document();
    auto& midiIn = Create(document, "MidiIn", "MidiIn");
    std::vector<TPolySink*> sinks;
    for (const char* type : types) {
      auto& controller = Create<TMidiController>(document, type, type);
      sinks.push_back(&Place(document, std::string(type) + "Sink", std::make_shared<TPolySink>()));
      Wire(midiIn, controller);
      Wire(controller, *sinks.back());
    }
    rig.Render(2);
    const std::int32_t expected[] = {c.pitch, c.modulation, c.aftertouch, c.volume};
    for (std::size_t i = 0; i < 4; ++i)
      EXPECT_EQ(sinks[i]->Value(), expected[i]) << c.name << " " << types[i];
  }
}

TEST(MidiControllers, MaxValueDialogAcceptsOnlyThreeDigits) {
  struct SCase {
    const char* text;
    bool accepted;
  };
  for (const SCase& c :
       {SCase{"999", true}, SCase{"-999", true}, SCase{"0", true}, SCase{"1000", false},
        SCase{"-1000", false}, SCase{"", false}, SCase{"12x", false}}) {
    std::int32_t value = 7;
    const std::string fault = TMidiController::CheckMaxValue(c.text, value);
    EXPECT_EQ(fault.empty(), c.accepted) << c.text;
    if (c.accepted) {
      EXPECT_EQ(value, std::stoi(c.text));
    } else {
      EXPECT_EQ(fault, "Value must between -999 and 999 !");
      EXPECT_EQ(value, 7);
    }
  }
}

TEST(KeyboardDialog, VolumePercentConversions) {
  EXPECT_EQ(VolumeOfPercent(100), 1025);
  EXPECT_EQ(VolumeOfPercent(200), 2049);
  EXPECT_EQ(VolumeOfPercent(0), 1);
  EXPECT_EQ(PercentOfVolume(1024), 100);
  EXPECT_EQ(PercentOfVolume(1025), 100);
}

// MIDI in -> envelope (attack 10 ms, decay 10 ms, sustain half, release 20 ms) -> sink, read
// sample by sample.
TEST(ADSR, EnvelopeTimingFollowsItsInputs) {
  constexpr std::int64_t kNoteOff = 2000;
  TRenderRig rig({{0, kOn, 69, 127}, {kNoteOff, kOff, 69, 0}});
  TDokumentKlang& document = rig.Document();
  auto& midiIn = Create(document, "MidiIn", "MidiIn");
  auto& envelope = Create<TADSR>(document, "ADSR", "ADSR");
  auto& level = Place(document, "Level", std::make_shared<TPolySink>());
  auto& frequency =
      Place(document, "Frequency", std::make_shared<TPolySink>(kPortPolyInputFrequenz));
  Wire(midiIn, envelope);
  const std::int32_t settings[] = {10, 10, 1000, 20};
  for (int i = 0; i < 4; ++i) {
    auto& source =
        Place(document, "Setting" + std::to_string(i), std::make_shared<TFixedSource>(settings[i]));
    Wire(source, envelope, std::to_string(i + 2));
  }
  Wire(envelope, level, "1", "1");
  Wire(envelope, frequency, "1", "2");
  ASSERT_EQ(rig.Start(), 0);
  std::vector<std::int32_t> curve;
  for (int i = 0; i < 3000; ++i) {
    rig.Run(1);
    curve.push_back(level.Value());
  }
  const std::int32_t peak = 127 * 1024 >> 6;
  EXPECT_EQ(frequency.Value(), NoteHz(69));
  // Each segment moves in steps of 30 spread over its time, so it may end a few samples late
  // and the attack a step past the peak.
  const auto top = std::max_element(curve.begin(), curve.end());
  const auto topAt = top - curve.begin();
  EXPECT_NEAR(*top, peak, 30);
  EXPECT_GE(topAt, 220);  // 10 ms
  EXPECT_LE(topAt, 300);
  EXPECT_TRUE(std::is_sorted(curve.begin(), top));
  // Decay to the sustain level, half the peak, within another 10 ms or so, held until note-off.
  const std::int32_t sustain = peak * 1000 / 2000;
  const auto sustainAt = std::find(top, curve.end(), sustain) - curve.begin();
  EXPECT_LE(sustainAt - topAt, 300);
  EXPECT_TRUE(std::all_of(curve.begin() + sustainAt, curve.begin() + kNoteOff,
                          [&](std::int32_t value) { return value == sustain; }));
  // Release to 0 in about 20 ms (441 samples).
  const auto silentAt = std::find(curve.begin() + kNoteOff, curve.end(), 0) - curve.begin();
  EXPECT_GE(silentAt - kNoteOff, 441);
  EXPECT_LE(silentAt - kNoteOff, 520);
}

}  // namespace

#include "tools/example_content.h"

#include <algorithm>
#include <fstream>

#include "engine/midi_file.h"
#include "modules/delay.h"
#include "modules/generators.h"
#include "modules/midi.h"
#include "modules/mixers.h"
#include "tools/example_patch.h"

namespace fs = std::filesystem;

namespace {

// Columns and rows of the structure tab, in canvas pixels.
constexpr int kColumn = 170;
constexpr int kRow = 70;
constexpr int kLeft = 20;
constexpr int kTop = 220;  // below the text note, which the Panel tab shows first
constexpr int kMaxVoices = 39;

constexpr int X(int column) { return kLeft + column * kColumn; }
constexpr int Y(int row) { return kTop + row * kRow; }

// Raw constant values: amplitude 2048 = unity, hertz x 1024.
constexpr std::int32_t kUnity = 2048;
constexpr std::int32_t kHertz = 1024;
// Upper limit of the constants that hold envelope times in milliseconds.
constexpr std::int32_t kLongestTime = 5000;
// The envelope's sustain is a fraction of the peak level in 1/2000.
constexpr std::int32_t kFullSustain = 2000;

struct SEnvelopeTimes {
  std::int32_t attack, decay, sustain, release;  // milliseconds; sustain in 1/2000
};

// An envelope with a constant for each of its four times, fed by `midi`. The constants take
// column `column` and the envelope the next one, from row `row` down.
TADSR& Envelope(TExampleList& list, TModulArbeiten& midi, const std::string& key,
                const std::string& title, SEnvelopeTimes times, int column, int row) {
  const struct {
    const char* name;
    std::int32_t value, upper;
  } parameters[] = {{"Attack", times.attack, kLongestTime},
                    {"Decay", times.decay, kLongestTime},
                    {"Sustain", times.sustain, kFullSustain},
                    {"Release", times.release, kLongestTime}};
  auto& envelope = list.Add<TADSR>("ADSR", key, title, X(column + 1), Y(row));
  TExampleList::Wire(midi, envelope);
  int input = 2;
  for (const auto& parameter : parameters) {
    auto& constant =
        list.Constant("ConstAnalog", key + parameter.name, std::string(" ") + parameter.name, 0,
                      parameter.value, parameter.upper, X(column), Y(row + input - 2));
    TExampleList::Wire(constant, envelope, std::to_string(input++));
  }
  return envelope;
}

// A poly oscillator playing the note of `envelope` at its level.
TModulArbeiten& Voice(TExampleList& list, TADSR& envelope, const std::string& typeName,
                      const std::string& key, const std::string& title, int column, int row) {
  auto& oscillator = list.Add(typeName, key, title, X(column), Y(row));
  TExampleList::Wire(envelope, oscillator, "1", "1");
  TExampleList::Wire(envelope, oscillator, "2", "2");
  return oscillator;
}

// Output `output` of `source` through an amplifier whose gain is a "Volume" constant with a
// fader on the Panel tab, into a speaker.
void MasterAndSpeaker(TExampleSound& sound, TModulArbeiten& source, std::int32_t volume, int column,
                      int row, const std::string& output = "1") {
  TExampleList& list = sound.Structure();
  auto& gain = list.Constant("ConstAnalog", "Volume", " Volume", 0, volume, kUnity + 1, X(column),
                             Y(row + 1));
  auto& master = list.Add("MonoLoudness", "Master", " Master", X(column + 1), Y(row));
  auto& speaker = list.Add("Speaker", "Speaker", " Speaker", X(column + 2), Y(row));
  TExampleList::Wire(source, master, "1", output);
  TExampleList::Wire(gain, master, "2");
  TExampleList::Wire(master, speaker);
  sound.ShowFader(gain, 450, 10);
}

TModulArbeiten& MidiIn(TExampleList& list, int row) {
  return list.Add("MidiIn", "MidiIn", " MIDI in", X(0), Y(row));
}

void PolySynth(TExampleSound& sound) {
  TExampleList& list = sound.Structure();
  auto& midi = MidiIn(list, 0);
  auto& envelope = Envelope(list, midi, "Envelope", " Envelope", {8, 300, 1100, 400}, 1, 0);
  auto& saw = Voice(list, envelope, "PolySaw", "Saw", " Saw", 3, 0);
  auto& voices = list.Add("PolyToMono", "Voices", " All voices", X(4), Y(0));
  TExampleList::Wire(saw, voices);
  MasterAndSpeaker(sound, voices, 1400, 4, 1);
}

void FmBell(TExampleSound& sound) {
  TExampleList& list = sound.Structure();
  auto& midi = MidiIn(list, 0);
  auto& bell = Envelope(list, midi, "BellEnvelope", " Bell envelope", {2, 2500, 0, 1500}, 1, 0);
  auto& modEnvelope =
      Envelope(list, midi, "ModEnvelope", " Modulator envelope", {2, 900, 0, 600}, 1, 4);
  // The modulator sounds 17 semitones above the note: an inharmonic ratio, as in a bell.
  modEnvelope.NoteOffset->value = TBasisMidiTaste::kMaxNoteOffset;
  auto& modulator = Voice(list, modEnvelope, "PolySine", "Modulator", " Modulator", 3, 4);
  auto& carrier = Voice(list, bell, "PolyFMSine", "Carrier", " Carrier", 3, 0);
  TExampleList::Wire(modulator, carrier, "3");
  auto& voices = list.Add("PolyToMono", "Voices", " All voices", X(4), Y(0));
  TExampleList::Wire(carrier, voices);
  MasterAndSpeaker(sound, voices, 1600, 4, 1);
}

void SyncLead(TExampleSound& sound) {
  TExampleList& list = sound.Structure();
  auto& midi = MidiIn(list, 0);
  auto& key = list.Add("MidiKey", "Keyboard", " Keyboard", X(1), Y(0));
  TExampleList::Wire(midi, key);
  // The master runs all the time at the note's pitch, so the slave never stops on a held cycle.
  auto& depth = list.Constant("ConstAnalog", "MasterLevel", " Master level", 0, kUnity, kUnity + 1,
                              X(1), Y(1));
  auto& master = list.Add("PolySquare", "SyncMaster", " Sync master", X(2), Y(0));
  TExampleList::Wire(depth, master, "1");
  TExampleList::Wire(key, master, "2", "2");
  auto& envelope = Envelope(list, midi, "Envelope", " Lead envelope", {5, 250, 1400, 150}, 1, 3);
  envelope.NoteOffset->value = TBasisMidiTaste::kMaxNoteOffset;
  // A sine starts its cycle at zero, so the held half-cycles add no offset to the sound.
  auto& slave = Voice(list, envelope, "PolySyncSine", "SyncedSine", " Synced sine", 3, 3);
  TExampleList::Wire(master, slave, "3");
  auto& voices = list.Add("PolyToMono", "Voices", " All voices", X(4), Y(3));
  TExampleList::Wire(slave, voices);
  MasterAndSpeaker(sound, voices, 1800, 4, 4);
}

void WavetablePad(TExampleSound& sound) {
  TExampleList& list = sound.Structure();
  auto& midi = MidiIn(list, 0);
  auto& envelope = Envelope(list, midi, "Envelope", " Pad envelope", {600, 800, 1500, 1500}, 1, 0);
  // A soft peak: the pan below has a gain of up to 3.4 on the louder side.
  envelope.Volume->value = VolumeOfPercent(35);
  auto& waves = Voice(list, envelope, "PolyWavetable", "Waves", " Wave sequence", 3, 0);
  auto& table = dynamic_cast<TWavetableGenerator&>(waves);
  const EWaveCode sequence[] = {kWaveSinus,     kWaveDreieck, kWaveSinus,
                                kWaveSaegezahn, kWaveSinus,   kWaveDreieck};
  table.SizeWaves->value = static_cast<int>(std::size(sequence));
  for (std::size_t i = 0; i < std::size(sequence); ++i)
    table.Waves[i]->value = sequence[i];
  auto& voices = list.Add("PolyToMono", "Voices", " All voices", X(4), Y(0));
  TExampleList::Wire(waves, voices);

  auto& depth =
      list.Constant("ConstAnalog", "DriftDepth", " Drift depth", 0, 1400, kUnity + 1, X(2), Y(5));
  auto& rate = list.Constant("ConstFrequenz", "DriftRate", " Drift rate", kHertz / 100, kHertz / 4,
                             10 * kHertz, X(2), Y(6));
  auto& drift = list.Add("MonoSine", "Drift", " Drift", X(3), Y(5));
  TExampleList::Wire(depth, drift, "1");
  TExampleList::Wire(rate, drift, "2");
  auto& pan = list.Add("MonoStereoPan", "Pan", " Stereo drift", X(5), Y(0));
  TExampleList::Wire(drift, pan, "1");
  TExampleList::Wire(voices, pan, "2");
  auto& speaker = list.Add("SpeakerStereo", "Speaker", " Stereo speaker", X(6), Y(0));
  TExampleList::Wire(pan, speaker, "1", "1");
  TExampleList::Wire(pan, speaker, "2", "2");
}

void NoiseDrums(TExampleSound& sound) {
  TExampleList& list = sound.Structure();
  auto& midi = MidiIn(list, 0);
  auto& toneEnvelope =
      Envelope(list, midi, "ToneEnvelope", " Tone envelope", {0, 180, 0, 100}, 1, 0);
  auto& body = Voice(list, toneEnvelope, "PolySine", "Body", " Drum body", 3, 0);
  auto& bodies = list.Add("PolyToMono", "Bodies", " All bodies", X(4), Y(0));
  TExampleList::Wire(body, bodies);

  auto& noiseEnvelope =
      Envelope(list, midi, "NoiseEnvelope", " Noise envelope", {0, 70, 0, 40}, 1, 4);
  noiseEnvelope.Volume->value = VolumeOfPercent(60);
  auto& noiseLevel = list.Add("PolyToMono", "NoiseLevel", " Noise level", X(3), Y(4));
  TExampleList::Wire(noiseEnvelope, noiseLevel, "1", "1");
  auto& noise = list.Add("MonoNoise", "Noise", " Noise burst", X(4), Y(4));
  TExampleList::Wire(noiseLevel, noise, "1");

  auto& kit = list.Add<TAddierer>("MonoAddierer", "Kit", " Kit", X(5), Y(0));
  TExampleList::Wire(bodies, kit, "1");
  TExampleList::Wire(noise, kit, "2");
  // The echo feeds back into its own input: out = kit + 0.44 x (out 375 ms ago).
  auto& mix = list.Add<TAddierer>("MonoAddierer", "OutMix", " Kit and echo", X(6), Y(0));
  auto& echo = list.Add<TDelay>("MonoDelay", "Echo", " Echo 375 ms", X(6), Y(2));
  echo.DelayTime->value = 3750;  // tenths of a millisecond: a dotted eighth at 120 bpm
  auto& feedback =
      list.Constant("ConstAnalog", "Feedback", " Feedback", 0, 900, kUnity + 1, X(4), Y(3));
  auto& echoLevel = list.Add("MonoLoudness", "EchoLevel", " Echo level", X(5), Y(2));
  TExampleList::Wire(kit, mix, "1");
  TExampleList::Wire(echoLevel, mix, "2");
  TExampleList::Wire(mix, echo);
  TExampleList::Wire(echo, echoLevel, "1");
  TExampleList::Wire(feedback, echoLevel, "2");
  auto& speaker = list.Add("Speaker", "Speaker", " Speaker", X(7), Y(0));
  TExampleList::Wire(mix, speaker);
}

void MacroVoice(TExampleSound& sound) {
  TExampleList& list = sound.Structure();
  auto& midi = MidiIn(list, 0);
  TExampleList inside = sound.MacroAt("VoiceMacro", " Saw and sub voice", X(1), Y(0));
  auto& notes = inside.Add("ModulInMidi", "Notes", " Notes", X(0), Y(0));
  auto& envelope = Envelope(inside, notes, "Envelope", " Saw envelope", {5, 400, 1200, 300}, 1, 0);
  auto& saw = Voice(inside, envelope, "PolySaw", "Saw", " Saw", 3, 0);
  auto& subEnvelope =
      Envelope(inside, notes, "SubEnvelope", " Sub envelope", {20, 600, 1000, 300}, 1, 4);
  subEnvelope.NoteOffset->value = -12;
  auto& sub = Voice(inside, subEnvelope, "PolySquare", "Sub", " Sub octave", 3, 4);
  auto& mix = inside.Add<TAddierer>("PolyAddierer", "Mix", " Saw and sub", X(4), Y(0));
  TExampleList::Wire(saw, mix, "1");
  TExampleList::Wire(sub, mix, "2");
  auto& voices = inside.Add("PolyToMono", "Voices", " All voices", X(5), Y(0));
  TExampleList::Wire(mix, voices);
  auto& audio = inside.Add("ModulMOutAnalog", "Audio", " Audio", X(6), Y(0));
  TExampleList::Wire(voices, audio);

  auto& macro = dynamic_cast<TModulArbeiten&>(*list.list.Get("VoiceMacro"));
  TExampleList::Wire(midi, macro, "Notes");
  MasterAndSpeaker(sound, macro, 1000, 2, 0, "Audio");
}

void Drone(TExampleSound& sound) {
  TExampleList& list = sound.Structure();
  auto& level = list.Constant("ConstAnalog", "Level", " Level", 0, 1600, kUnity + 1, X(0), Y(0));
  auto& pitch = list.Constant("ConstFrequenz", "Pitch", " Pitch", 20 * kHertz, 110 * kHertz,
                              880 * kHertz, X(0), Y(1));
  auto& fifthPitch = list.Constant("ConstFrequenz", "FifthPitch", " Fifth pitch", 20 * kHertz,
                                   165 * kHertz, 880 * kHertz, X(0), Y(2));
  auto& depth =
      list.Constant("ConstAnalog", "VibratoDepth", " Vibrato depth", 0, 12, 200, X(0), Y(4));
  auto& rate = list.Constant("ConstFrequenz", "VibratoRate", " Vibrato rate", kHertz / 10,
                             5 * kHertz, 20 * kHertz, X(0), Y(5));
  // One unit of FM input shifts the pitch by half a hertz: 12 units wobble it by 6 Hz.
  auto& vibrato = list.Add("MonoSine", "Vibrato", " Vibrato", X(1), Y(4));
  TExampleList::Wire(depth, vibrato, "1");
  TExampleList::Wire(rate, vibrato, "2");
  auto& drone = list.Add("MonoFMSaw", "Drone", " Drone saw", X(2), Y(0));
  TExampleList::Wire(level, drone, "1");
  TExampleList::Wire(pitch, drone, "2");
  TExampleList::Wire(vibrato, drone, "3");
  auto& fifth = list.Add("MonoTriangle", "Fifth", " Fifth", X(2), Y(2));
  TExampleList::Wire(level, fifth, "1");
  TExampleList::Wire(fifthPitch, fifth, "2");
  auto& sum = list.Add<TAddierer>("MonoAddierer", "Sum", " Drone and fifth", X(3), Y(0));
  TExampleList::Wire(drone, sum, "1");
  TExampleList::Wire(fifth, sum, "2");
  MasterAndSpeaker(sound, sum, kUnity, 3, 1);
}

struct SSoundRecipe {
  SExampleSound example;
  int voices;
  const char* note;
  void (*build)(TExampleSound&);
};

const SSoundRecipe kRecipes[] = {
    {{"poly_synth.zmr", "melody.mid"},
     kMaxVoices,
     "Polyphonic saw synth with an envelope, 39 voices.\n"
     "Play it from a MIDI keyboard, or render it:\n"
     "zelmar --render poly_synth.zmr --midi melody.mid --out poly_synth.wav\n"
     "The Volume fader sets the level; the Attack, Decay, Sustain and Release constants shape "
     "every note.",
     PolySynth},
    {{"fm_bell.zmr", "melody.mid"},
     8,
     "FM bell: a sine carrier whose pitch is modulated by a second sine 17 semitones higher. "
     "The modulator's envelope dies away faster than the carrier's, so each strike starts bright "
     "and mellows.\nPlay single notes or slow chords; render with melody.mid.",
     FmBell},
    {{"sync_lead.zmr", "melody.mid"},
     2,
     "Sync lead: a sine 17 semitones up, restarted by a square at the played note, so the "
     "note's pitch is heard with a hard, vocal edge.\nTwo voices: play a melody. Render with "
     "melody.mid.",
     SyncLead},
    {{"wavetable_pad.zmr", "melody.mid"},
     8,
     "Wavetable pad: each cycle plays the next wave of a sequence (sine, triangle, sine, saw, "
     "sine, triangle) under a slow envelope, drifting between left and right.\nHold chords; "
     "stereo speaker. Render with melody.mid.",
     WavetablePad},
    {{"noise_drums.zmr", "drums.mid"},
     6,
     "Noise percussion with a feedback echo: every note strikes a sine body at its pitch and a "
     "noise burst; the echo repeats the kit 375 ms later.\nLow notes are kicks, middle notes "
     "toms, high notes ticks. Render with drums.mid.",
     NoiseDrums},
    {{"macro_voice.zmr", "melody.mid"},
     6,
     "A patch built from a macro module: \"Saw and sub voice\" holds a saw and a square one "
     "octave down, each with its own envelope. Open the macro to see and edit its inside.\n"
     "Render with melody.mid.",
     MacroVoice},
    {{"drone.zmr", ""},
     1,
     "Drone: a saw at 110 Hz with a 5 Hz vibrato and a triangle a fifth above. It needs no MIDI: "
     "start it and it plays. Move the Volume fader on this panel.\n"
     "zelmar --render drone.zmr --seconds 5 --out drone.wav",
     Drone},
};

struct SGroupCut {
  const char* file;
  const char* sound;
  std::vector<const char*> keys;
};

const std::vector<SGroupCut>& GroupCuts() {
  static const std::vector<SGroupCut> cuts{
      {"envelope_voice.group",
       "poly_synth.zmr",
       {"Envelope", "EnvelopeAttack", "EnvelopeDecay", "EnvelopeSustain", "EnvelopeRelease", "Saw",
        "Voices"}},
      {"feedback_echo.group", "noise_drums.zmr", {"OutMix", "Echo", "EchoLevel", "Feedback"}},
      {"saw_sub_macro.group", "macro_voice.zmr", {"VoiceMacro"}},
  };
  return cuts;
}

// 120 beats per minute, 480 ticks a quarter note.
constexpr std::uint16_t kTicksPerQuarter = 480;
constexpr std::uint32_t kTempo = 500000;
constexpr std::uint32_t kEighth = kTicksPerQuarter / 2;
constexpr std::uint32_t kBar = 4 * kTicksPerQuarter;

void AddNote(std::vector<SMidiFileMessage>& messages, std::uint8_t channel, std::uint32_t start,
             std::uint32_t length, std::uint8_t note, std::uint8_t velocity) {
  messages.push_back({start, static_cast<std::uint8_t>(0x90 | channel), note, velocity});
  messages.push_back({start + length, static_cast<std::uint8_t>(0x80 | channel), note, 0});
}

std::vector<SMidiFileMessage> SortedByTick(std::vector<SMidiFileMessage> messages) {
  std::stable_sort(messages.begin(), messages.end(),
                   [](const auto& a, const auto& b) { return a.tick < b.tick; });
  return messages;
}

// Four bars: a bass note per bar under a rising arpeggio, ending on a held chord.
std::vector<SMidiFileMessage> Melody() {
  std::vector<SMidiFileMessage> messages;
  const std::uint8_t bass[] = {48, 53, 55, 48};
  const std::uint8_t arpeggios[][4] = {{64, 67, 72, 67}, {65, 69, 72, 77}, {67, 71, 74, 79}};
  for (std::uint32_t bar = 0; bar < 4; ++bar) {
    AddNote(messages, 0, bar * kBar, kBar - kEighth, bass[bar], 90);
  }
  for (std::uint32_t bar = 0; bar < 3; ++bar) {
    for (std::uint32_t step = 0; step < 4; ++step) {
      AddNote(messages, 0, bar * kBar + step * kTicksPerQuarter, kTicksPerQuarter - 60,
              arpeggios[bar][step], static_cast<std::uint8_t>(step == 0 ? 110 : 95));
    }
  }
  for (const std::uint8_t note : {60, 64, 67, 72})
    AddNote(messages, 0, 3 * kBar, kBar - kEighth, note, 100);
  return SortedByTick(std::move(messages));
}

// Two bars on the percussion channel: kicks on the beats, a tom on two and four, ticks between.
std::vector<SMidiFileMessage> Drums() {
  constexpr std::uint8_t kChannel = 9;
  constexpr std::uint8_t kKick = 36, kTom = 50, kTick = 84;
  std::vector<SMidiFileMessage> messages;
  for (std::uint32_t bar = 0; bar < 2; ++bar) {
    for (std::uint32_t beat = 0; beat < 4; ++beat) {
      const std::uint32_t at = bar * kBar + beat * kTicksPerQuarter;
      AddNote(messages, kChannel, at, kEighth / 2, beat % 2 == 0 ? kKick : kTom, 120);
      AddNote(messages, kChannel, at + kEighth, kEighth / 2, kTick, 70);
    }
  }
  return SortedByTick(std::move(messages));
}

bool WriteMidi(const fs::path& path, const std::vector<SMidiFileMessage>& messages) {
  const std::vector<std::uint8_t> bytes = EncodeMidiFile(messages, kTicksPerQuarter, kTempo);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool Fail(std::string& error, const fs::path& path) {
  error = path.string() + ": cannot be written";
  return false;
}

bool WriteSound(const SSoundRecipe& recipe, const fs::path& folder, std::string& error) {
  TExampleSound sound(recipe.voices, recipe.note);
  recipe.build(sound);
  const fs::path path = folder / recipe.example.sound;
  if (!sound.Save(path)) return Fail(error, path);
  for (const SGroupCut& cut : GroupCuts()) {
    if (std::string(cut.sound) != recipe.example.sound) continue;
    sound.MarkOnly(cut.keys);
    if (!sound.SaveGroup(folder / cut.file)) return Fail(error, folder / cut.file);
  }
  return true;
}

}  // namespace

const std::vector<SExampleSound>& ExampleSounds() {
  static const std::vector<SExampleSound> sounds = [] {
    std::vector<SExampleSound> all;
    for (const SSoundRecipe& recipe : kRecipes)
      all.push_back(recipe.example);
    return all;
  }();
  return sounds;
}

const std::vector<std::string>& ExampleGroups() {
  static const std::vector<std::string> groups = [] {
    std::vector<std::string> all;
    for (const SGroupCut& cut : GroupCuts())
      all.emplace_back(cut.file);
    return all;
  }();
  return groups;
}

bool WriteExamples(const fs::path& folder, std::string& error) {
  for (const SSoundRecipe& recipe : kRecipes) {
    if (!WriteSound(recipe, folder, error)) return false;
  }
  if (!WriteMidi(folder / "melody.mid", Melody())) return Fail(error, folder / "melody.mid");
  if (!WriteMidi(folder / "drums.mid", Drums())) return Fail(error, folder / "drums.mid");
  return true;
}

bool WriteChainSound(const fs::path& path, int copies) {
  TExampleSound sound(kMaxVoices, std::to_string(copies) +
                                      " copies of the envelope and saw voice chain, for the "
                                      "render benchmark.");
  TExampleList& list = sound.Structure();
  auto& midi = MidiIn(list, 0);
  auto& sum = list.Add<TAddierer>("PolyAddierer", "Sum", " All chains", X(4), Y(0));
  if (copies > 2) sum.AddInputs(copies - 2);
  for (int copy = 0; copy < copies; ++copy) {
    const std::string name = "Chain" + std::to_string(copy + 1);
    auto& envelope =
        Envelope(list, midi, name + "Envelope", " Envelope " + std::to_string(copy + 1),
                 {8, 300, 1100, 400}, 1, 4 * copy);
    // The chains share the level: their sum stays as loud as one of them.
    envelope.Volume->value = VolumeOfPercent(100 / copies);
    auto& saw = Voice(list, envelope, "PolySaw", name + "Saw", " Saw", 3, 4 * copy);
    TExampleList::Wire(saw, sum, std::to_string(copy + 1));
  }
  auto& voices = list.Add("PolyToMono", "Voices", " All voices", X(5), Y(0));
  TExampleList::Wire(sum, voices);
  MasterAndSpeaker(sound, voices, 1400, 5, 1);
  return sound.Save(path);
}

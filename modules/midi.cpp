#include "modules/midi.h"

#include <algorithm>
#include <charconv>
#include <new>
#include <thread>

#include "engine/device_services.h"
#include "engine/klang_engine.h"
#include "engine/note_table.h"
#include "engine/work_type.h"
#include "patch/dokument_klang.h"
#include "patch/module_dialogs.h"
#include "persist/tree_message.h"
#include "platform/options.h"

namespace {

constexpr int kHelpMidiIn = 2510;
constexpr int kHelpKeyboard = 2500;
constexpr int kHelpADSR = 2520;
constexpr TRect kMidiInRect{0, 0, 75, 51};
constexpr TRect kADSRRect{0, 0, 88, 102};

constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kChannelPressure = 0xD0;
constexpr std::uint8_t kPitchBend = 0xE0;
constexpr std::uint8_t kVolumeController = 7;
constexpr std::uint8_t kAllSoundOff = 120;
constexpr std::uint8_t kAllNotesOff = 123;

// An input that no wire reaches reads 0 instead of a null address.
constexpr std::int32_t kUnwired = 0;

std::atomic_ref<std::int32_t> Shared(std::int32_t& value) {
  return std::atomic_ref<std::int32_t>(value);
}

std::string MidiResultText(int code) {
  switch (code) {
    case kMidiBadDeviceId:
      return "The MIDI input device does not exist.";
    case kMidiAllocated:
      return "The MIDI input device is already in use.";
    case kMidiInvalidHandle:
      return "The MIDI input device is not open.";
    default:
      return "The MIDI input device reports error " + std::to_string(code) + ".";
  }
}

// Output "1" is the first output of a key or envelope module; every other is the frequency.
bool IsFirstOutput(const TAusgang& port) { return port.Key() == "1"; }

}  // namespace

// The MIDI input module.

TModulMidiIn::TModulMidiIn()
    : TGeraetModul({kTreeMidiInChanged, "Fault Module Midi", kHelpMidiIn, false},
                   SoundOptions().midiDefaultDevice) {
  Title->value = " Midi In";
  Rect->SetRect(kMidiInRect);
  OutputList->AddPort(kPortMidiOutput);
  PlaceConnectors({47, 30});
}

TModulMidiIn::~TModulMidiIn() { Close(); }

// Left of the lamp; the module has no inputs.
SModulePicture TModulMidiIn::PanelPicture() const { return {"BITMAP_MIDI_IN", 5, 16}; }

void TModulMidiIn::LinkOutput(int, const TLinkTarget& target, TBindContext&, TAusgang&) {
  TAMsgMidiCallback* listener = target.MidiListener();
  if (listener == nullptr) return;  // a signal input wired to the MIDI output
  // The list only grows while no message passes.
  listenersGate_.Close();
  listeners_.push_back(listener);
}

void TModulMidiIn::SoundStarted(TKlangEngine&, int) { listenersGate_.Open(); }

void TModulMidiIn::SoundStopped(TKlangEngine&, int) {
  listenersGate_.Close();
  listeners_.clear();
}

void TModulMidiIn::OnShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  if ((status & 0xF0) == 0) return;
  const TCallbackGate::TPass pass(listenersGate_);
  if (!pass.Open()) return;
  for (TAMsgMidiCallback* listener : listeners_)
    listener->Call(status, data1, data2);
}

int TModulMidiIn::ListenerCount() const { return static_cast<int>(listeners_.size()); }

int TModulMidiIn::DefaultDevice() const { return SoundOptions().midiDefaultDevice; }

int TModulMidiIn::OpenDriver(int device) {
  TMidiInDevices* devices = DeviceServices().midiIn;
  TMidiInDevice* input = devices != nullptr ? devices->Device(device) : nullptr;
  if (input == nullptr) return kMidiBadDeviceId;
  return Open(*input);
}

std::string TModulMidiIn::ErrorText(int code) const {
  // The installed devices say which device failed and why; the code alone cannot.
  const TMidiInDevices* devices = DeviceServices().midiIn;
  return devices != nullptr ? devices->ErrorText(code) : MidiResultText(code);
}

std::vector<std::string> TModulMidiIn::DeviceNames() const {
  const TMidiInDevices* devices = DeviceServices().midiIn;
  return devices != nullptr ? devices->DeviceNames() : std::vector<std::string>{};
}

bool TModulMidiIn::CanOpenDevice(int device) const {
  TMidiInDevices* devices = DeviceServices().midiIn;
  TMidiInDevice* input = devices != nullptr ? devices->Device(device) : nullptr;
  return input != nullptr && CanOpen(*input);
}

void TModulMidiIn::ShowProperties() {
  CloseDevice();
  const bool accepted = OpenModuleDialog(kDialog, *this);
  OpenDevice(accepted);
  TDokumentKlang* document = FindDocument(*this);
  if (accepted && document != nullptr) document->RestartSound(true);
}

// The key and envelope base.

TBasisMidiTaste::TBasisMidiTaste()
    : NoteOffset(std::make_shared<TPropInteger>(0)),
      FineTune(std::make_shared<TPropInteger>(0)),
      Volume(std::make_shared<TPropInteger>(1024)),
      IgnoreVelocity(std::make_shared<TPropInteger>(0)),
      listener_(TAMsgMidiCallback::Bind(this, &TBasisMidiTaste::Call)) {
  Add("NoteOffset", NoteOffset);
  Add("FineTune", FineTune);
  Add("Volume", Volume);
  Add("IgnoreVelocity", IgnoreVelocity);
  InputList->AddPort(kPortMidiInput);
  OutputList->AddPort(kPortPolyOutputAnalog);
  OutputList->AddPort(kPortPolyOutputFrequenz);
}

void TBasisMidiTaste::ShowProperties() {
  if (OpenModuleDialog(kDialog, *this)) RestartSound();
}

void TBasisMidiTaste::BindWork(int voice, void*, TBindContext& context) {
  if (voice != 0) return;
  voiceCount_ = std::clamp(context.CountVoices(), 1, TKlangEngine::kMaxVoices);
  voiceNotes_.fill(0);
  LinkMidiInput("1", listener_, context);
}

void TBasisMidiTaste::Call(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  const std::uint8_t kind = status & 0xF0;
  if (kind == kControlChange && (data1 == kAllSoundOff || data1 == kAllNotesOff)) {
    ReleaseAll();
    return;
  }
  if (kind != kNoteOn && kind != kNoteOff) return;
  const int velocity = kind == kNoteOn ? data2 & 0x7F : 0;
  if (velocity > 0) {
    NoteOn(data1, velocity);
  } else {
    NoteOff(data1);
  }
}

void TBasisMidiTaste::NoteOn(int note, int velocity) {
  // When every voice is busy the note takes voice 0 from whatever sounds there.
  int voice = 0;
  for (int v = 0; v < voiceCount_; ++v) {
    if (voiceNotes_[static_cast<std::size_t>(v)] == 0) {
      voice = v;
      break;
    }
  }
  voiceNotes_[static_cast<std::size_t>(voice)] = static_cast<std::uint8_t>(note);
  NoteEvent(voice, NoteFrequency(note), NoteAmplitude(velocity), note);
}

void TBasisMidiTaste::NoteOff(int note) {
  for (int v = 0; v < voiceCount_; ++v) {
    std::uint8_t& held = voiceNotes_[static_cast<std::size_t>(v)];
    if (held != note) continue;
    held = 0;
    NoteEvent(v, 0, 0, note);
  }
}

// Keys hear every channel, so a controller on any channel releases every voice.
void TBasisMidiTaste::ReleaseAll() {
  for (int v = 0; v < voiceCount_; ++v) {
    std::uint8_t& held = voiceNotes_[static_cast<std::size_t>(v)];
    if (held == 0) continue;
    const int note = held;
    held = 0;
    NoteEvent(v, 0, 0, note);
  }
}

std::int32_t TBasisMidiTaste::NoteFrequency(int note) const {
  // A file may hold any offset: the notes played stay inside the table's 0..127.
  const auto entry = [](int index) { return Note(std::clamp(index, 0, kNoteCount - 1)).frequency; };
  const int offset = std::clamp(NoteOffset->value, -kMaxNoteOffset, kMaxNoteOffset);
  const int fineTune = std::clamp(FineTune->value, -kMaxFineTune, kMaxFineTune);
  const int index = note + offset;
  const std::int32_t base = entry(index);
  if (fineTune > 0) return base + (entry(index + 1) - base) / 15 * fineTune;
  // Downward tuning divides by 22, so -15 stays short of the semitone below.
  if (fineTune < 0) return base - (entry(index - 1) - base) / 22 * fineTune;
  return base;
}

std::int32_t TBasisMidiTaste::NoteAmplitude(int velocity) const {
  const std::int32_t volume = std::clamp(Volume->value, 0, kMaxVolume);
  if (IgnoreVelocity->value != 0) return volume * 2;
  return (velocity * volume) >> 6;
}

// The key module.

TMidiTaste::TMidiTaste() { Title->value = " Keyboard"; }

SModulePicture TMidiTaste::PanelPicture() const { return {"BITMAP_MIDI_TASTE", 28, 16}; }

int TMidiTaste::GetWorkType() const { return kWorkMidiTaste; }

void TMidiTaste::BindWork(int voice, void* record, TBindContext& context) {
  auto* key = new (record) SMidiTasteRecord{};
  if (voice == 0) records_ = key;
  TBasisMidiTaste::BindWork(voice, record, context);
}

void TMidiTaste::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                            TAusgang& port) {
  auto* key = context.RecordOf<SMidiTasteRecord>(*this, voice);
  if (key == nullptr) return;
  std::int32_t& field = IsFirstOutput(port) ? key->amplitude : key->frequency;
  field = 0;
  target.Connect(&field);
}

void TMidiTaste::NoteEvent(int voice, std::int32_t frequency, std::int32_t amplitude, int) {
  if (records_ == nullptr) return;
  TWorkMidiTaste::NoteOn(records_[voice], frequency, amplitude);
}

void TMidiTaste::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(kHelpKeyboard);
}

// The envelope module.

TADSR::TADSR()
    : RateScalingLevel(std::make_shared<TPropInteger>(0)),
      RateScalingNote(std::make_shared<TPropInteger>(84)) {
  Title->value = " ADSR";
  Rect->SetRect(kADSRRect);
  Add("RateScalingLevel", RateScalingLevel);
  Add("RateScalingNote", RateScalingNote);
  for (int i = 0; i < 4; ++i)
    InputList->AddPort(kPortPolyInputAnalog);
}

SModulePicture TADSR::PanelPicture() const { return {"BITMAP_ADSR", 28, 42}; }

int TADSR::GetWorkType() const { return kWorkADSR; }

void TADSR::BindWork(int voice, void* record, TBindContext& context) {
  auto* envelope = new (record) SADSRRecord{};
  envelope->attackTime = envelope->decayTime = envelope->sustain = envelope->releaseTime =
      &kUnwired;
  LinkInput("2", voice, &envelope->attackTime, context);
  LinkInput("3", voice, &envelope->decayTime, context);
  LinkInput("4", voice, &envelope->sustain, context);
  LinkInput("5", voice, &envelope->releaseTime, context);
  envelope->state = kEnvelopeIdle;
  if (voice == 0) records_ = envelope;
  TBasisMidiTaste::BindWork(voice, record, context);
}

void TADSR::LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                       TAusgang& port) {
  auto* envelope = context.RecordOf<SADSRRecord>(*this, voice);
  if (envelope == nullptr) return;
  std::int32_t& field = IsFirstOutput(port) ? envelope->output : envelope->frequency;
  field = 0;
  target.Connect(&field);
}

void TADSR::NoteEvent(int voice, std::int32_t frequency, std::int32_t amplitude, int) {
  if (records_ == nullptr) return;
  if (frequency != 0) {
    TWorkADSR::NoteOn(records_[voice], frequency, amplitude);
  } else {
    TWorkADSR::NoteOff(records_[voice]);
  }
}

void TADSR::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(kHelpADSR);
}

// The controllers.

TMidiController::TMidiController(const char* title, const char* picture, int helpTopic)
    : MaxValue(std::make_shared<TPropInteger>(100)),
      picture_(picture),
      helpTopic_(helpTopic),
      listener_(TAMsgMidiCallback::Bind(this, &TMidiController::Call)) {
  Title->value = title;
  Add("MaxValue", MaxValue);
  InputList->AddPort(kPortMidiInput);
  OutputList->AddPort(kPortMonoOutputAnalog);
}

SModulePicture TMidiController::PanelPicture() const { return {picture_, 28, 16}; }

void TMidiController::ShowProperties() {
  if (OpenModuleDialog(kDialog, *this)) RestartSound();
}

std::string TMidiController::CheckMaxValue(const std::string& text, std::int32_t& value) {
  std::int32_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, parsed);
  if (error != std::errc() || stop != end || parsed < -kMaxValueLimit || parsed > kMaxValueLimit)
    return "Value must between -999 and 999 !";
  value = parsed;
  return {};
}

void TMidiController::LinkOutput(int, const TLinkTarget& target, TBindContext& context, TAusgang&) {
  Shared(*value_).store(0, std::memory_order_relaxed);
  context.Keep(value_);
  target.Connect(value_.get());
}

void TMidiController::BindWork(int, void*, TBindContext& context) {
  LinkMidiInput("1", listener_, context);
}

void TMidiController::ShowHelp() {
  if (TModuleDialogs* dialogs = ModuleDialogs()) dialogs->ShowHelp(helpTopic_);
}

void TMidiController::Call(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  // A file may hold any maximum: kept to the dialog's range, the products cannot overflow.
  const std::int32_t maxValue = std::clamp(MaxValue->value, -kMaxValueLimit, kMaxValueLimit);
  std::int32_t value = 0;
  if (React(status, data1, data2, maxValue, value))
    Shared(*value_).store(value, std::memory_order_relaxed);
}

std::int32_t TMidiController::Value() { return Shared(*value_).load(std::memory_order_relaxed); }

// Every scaled value shifts toward minus infinity.
TMidiPitch::TMidiPitch() : TMidiController(" Pitchbend", "BITMAP_PITCH", 2530) {}

bool TMidiPitch::React(std::uint8_t status, std::uint8_t, std::uint8_t data2, std::int32_t maxValue,
                       std::int32_t& value) const {
  if (status != kPitchBend) return false;
  value = maxValue * (data2 - 64) >> 2;
  return true;
}

TMidiModulation::TMidiModulation() : TMidiController(" Modulation", "BITMAP_MODULATION", 2540) {}

// Any control change on channel 1 counts, whatever its controller number.
bool TMidiModulation::React(std::uint8_t status, std::uint8_t, std::uint8_t data2,
                            std::int32_t maxValue, std::int32_t& value) const {
  if (status != kControlChange) return false;
  value = maxValue * data2 >> 2;
  return true;
}

TMidiAftertouch::TMidiAftertouch() : TMidiController(" Aftertouch", "BITMAP_AFTERTOUCH", 2550) {}

bool TMidiAftertouch::React(std::uint8_t status, std::uint8_t data1, std::uint8_t,
                            std::int32_t maxValue, std::int32_t& value) const {
  if (status != kChannelPressure) return false;
  value = maxValue * data1 >> 2;
  return true;
}

TMidiVolume::TMidiVolume() : TMidiController(" Volume", "BITMAP_VOLUME", 2560) {}

// Controller 7 on every channel.
bool TMidiVolume::React(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                        std::int32_t maxValue, std::int32_t& value) const {
  if (data1 != kVolumeController || (status & kControlChange) != kControlChange) return false;
  value = maxValue * data2 >> 2;
  return true;
}

std::int32_t VolumeOfPercent(int percent) { return percent * 1024 / 100 + 1; }

int PercentOfVolume(std::int32_t volume) {
  return static_cast<int>(std::int64_t{volume} * 100 >> 10);
}

void RegisterMidiModules(TModuleTypeTable& table) {
  table["MidiIn"] = [] { return std::make_shared<TModulMidiIn>(); };
  table["MidiKey"] = [] { return std::make_shared<TMidiTaste>(); };
  table["ADSR"] = [] { return std::make_shared<TADSR>(); };
  table["MidiModulation"] = [] { return std::make_shared<TMidiModulation>(); };
  table["MidiPitch"] = [] { return std::make_shared<TMidiPitch>(); };
  table["MidiAftertouch"] = [] { return std::make_shared<TMidiAftertouch>(); };
  table["MidiVolume"] = [] { return std::make_shared<TMidiVolume>(); };
}

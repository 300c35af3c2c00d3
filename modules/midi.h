// The MIDI modules: the MIDI input ("MidiIn") owns a MIDI input device and hands every short
// message to the modules wired to its MIDI output; the key ("MidiKey") and envelope ("ADSR")
// modules spread notes over the voices; four controllers turn pitch bend, control change and
// channel pressure into a mono signal.
//
// MIDI does not travel through work records. A MIDI wire is a list of callbacks: when a listener
// is bound it links its MIDI input with a MIDI link target (patch/link_target.h) holding its
// callback object, and the MIDI input module at the other end (reached through any macro
// boundaries on the way) files it in its listener list. Signal sources ignore such a target, and
// the MIDI input ignores a signal one.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/callback_gate.h"
#include "engine/envelope.h"
#include "engine/klang_engine.h"
#include "engine/midi_in_driver.h"
#include "engine/midi_key.h"
#include "modules/device_module.h"
#include "patch/module_registry.h"
#include "persist/callbacks.h"

class TModulMidiIn : public TGeraetModul, public TWorkMidiIn {
 public:
  TModulMidiIn();
  ~TModulMidiIn() override;
  SModulePicture PanelPicture() const override;

  // A MIDI `target`'s listener is appended to the listener list.
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  // Messages pass from SoundStarted to SoundStopped; stopping also empties the listener list.
  // Neither makes the MIDI thread wait.
  void SoundStarted(TKlangEngine& engine, int voices) override;
  void SoundStopped(TKlangEngine& engine, int voices) override;

  // MIDI thread: every listener gets the message, in registration order. It takes no lock and
  // allocates nothing, so that a plugin host's audio thread may deliver it.
  void OnShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;

  bool IsDeviceOpen() const override { return IsOpen(); }
  void CloseDevice() override { Close(); }
  // GUI thread.
  int ListenerCount() const;

  // The name of the MIDI input window, opened through the installed module dialogs.
  static constexpr std::string_view kDialog = "MidiIn";
  // Closes the device, so that the window lists it as one that opens, and opens the window.
  // After OK the chosen device opens (the user sees why it failed) and a playing sound starts
  // again with it; after Cancel the device opens again as it was.
  void ShowProperties() override;

 protected:
  int DefaultDevice() const override;
  int OpenDriver(int device) override;
  std::string ErrorText(int code) const override;
  std::vector<std::string> DeviceNames() const override;
  bool CanOpenDevice(int device) const override;

 private:
  // The MIDI thread reads the list only while the gate is open; the GUI thread changes it only
  // while the gate is closed.
  TCallbackGate listenersGate_;
  std::vector<TAMsgMidiCallback*> listeners_;
};

// The key and envelope modules: the note handler and the voice allocation.
class TBasisMidiTaste : public TModulBild {
 public:
  static constexpr int kMaxNoteOffset = 17;  // semitones either way
  static constexpr int kMaxFineTune = 15;
  // "Volume" is a percentage stored as percent x 1024 / 100 + 1, up to 200 %.
  static constexpr std::int32_t kMaxVolume = 200 * 1024 / 100 + 1;

  bool IsMono() const override { return false; }
  // Voice 0: takes the voice count, frees every voice and registers with the MIDI input.
  void BindWork(int voice, void* record, TBindContext& context) override;
  // The keyboard dialog; its OK restarts a playing sound with the new tuning and volume.
  void ShowProperties() override;
  static constexpr std::string_view kDialog = "Keyboard";

  // MIDI thread: note-on and note-off on every channel; other messages are ignored.
  void Call(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  // The frequency (hertz x 1024) a note plays at with the module's offset and fine tuning.
  std::int32_t NoteFrequency(int note) const;
  // The amplitude (2048 = unity) of a note of `velocity` 1..127.
  std::int32_t NoteAmplitude(int velocity) const;
  // The MIDI note number sounding on `voice`; 0 when free.
  int VoiceNote(int voice) const { return voiceNotes_[static_cast<std::size_t>(voice)]; }

  const TRPointerPropInteger NoteOffset;
  const TRPointerPropInteger FineTune;
  const TRPointerPropInteger Volume;
  const TRPointerPropInteger IgnoreVelocity;

 protected:
  TBasisMidiTaste();
  // A note starts on `voice` (frequency in hertz x 1024, amplitude 2048 = unity) or, with a
  // frequency of 0, ends there.
  virtual void NoteEvent(int voice, std::int32_t frequency, std::int32_t amplitude, int note) = 0;

 private:
  void NoteOn(int note, int velocity);
  void NoteOff(int note);
  void ReleaseAll();

  TAMsgMidiCallback listener_;
  int voiceCount_ = 1;
  std::array<std::uint8_t, TKlangEngine::kMaxVoices> voiceNotes_{};
};

class TMidiTaste : public TBasisMidiTaste {
 public:
  TMidiTaste();
  int GetWorkType() const override;
  SModulePicture PanelPicture() const override;
  void BindWork(int voice, void* record, TBindContext& context) override;
  // Output "1" the amplitude, any other the frequency of the voice's key record.
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void ShowHelp() override;

 protected:
  void NoteEvent(int voice, std::int32_t frequency, std::int32_t amplitude, int note) override;

 private:
  // Voice 0's record; the others follow it. Null while not bound.
  SMidiTasteRecord* records_ = nullptr;
};

class TADSR : public TBasisMidiTaste {
 public:
  TADSR();
  int GetWorkType() const override;
  // Low on the tall panel, between the five inputs and the two outputs.
  SModulePicture PanelPicture() const override;
  // Links attack, decay, sustain and release (inputs "2" to "5") and idles the envelope.
  void BindWork(int voice, void* record, TBindContext& context) override;
  // Output "1" the envelope level, any other the note's frequency.
  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void ShowHelp() override;

  const TRPointerPropInteger RateScalingLevel;
  const TRPointerPropInteger RateScalingNote;

 protected:
  void NoteEvent(int voice, std::int32_t frequency, std::int32_t amplitude, int note) override;

 private:
  SADSRRecord* records_ = nullptr;
};

// A controller's output is a mono audio value inside the module, written on the MIDI thread.
class TMidiController : public TModulBild {
 public:
  static constexpr std::int32_t kMaxValueLimit = 999;

  // A "MaxValue" typed into the max-value dialog: the error text, or empty with `value` set.
  static std::string CheckMaxValue(const std::string& text, std::int32_t& value);
  static constexpr const char* kMaxValueCaption = "Fault Pitchbend";
  // The max-value dialog, offered again after a value out of range; its OK restarts a playing
  // sound with the new range.
  void ShowProperties() override;
  static constexpr std::string_view kDialog = "MaxValue";

  void LinkOutput(int voice, const TLinkTarget& target, TBindContext& context,
                  TAusgang& port) override;
  void BindWork(int voice, void* record, TBindContext& context) override;
  void ShowHelp() override;

  // MIDI thread.
  void Call(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  std::int32_t Value();
  // The module picture's resource name, for the view.
  const char* Picture() const { return picture_; }
  SModulePicture PanelPicture() const override;

  const TRPointerPropInteger MaxValue;

 protected:
  TMidiController(const char* title, const char* picture, int helpTopic);
  // The new output value for a message, or false when the controller does not react to it.
  virtual bool React(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                     std::int32_t maxValue, std::int32_t& value) const = 0;

 private:
  const char* picture_;
  int helpTopic_;
  // The output value; bindings keep a share, since their kernels read it.
  std::shared_ptr<std::int32_t> value_ = std::make_shared<std::int32_t>(0);
  TAMsgMidiCallback listener_;
};

class TMidiPitch : public TMidiController {
 public:
  TMidiPitch();

 protected:
  bool React(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::int32_t maxValue,
             std::int32_t& value) const override;
};

class TMidiModulation : public TMidiController {
 public:
  TMidiModulation();

 protected:
  bool React(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::int32_t maxValue,
             std::int32_t& value) const override;
};

class TMidiAftertouch : public TMidiController {
 public:
  TMidiAftertouch();

 protected:
  bool React(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::int32_t maxValue,
             std::int32_t& value) const override;
};

class TMidiVolume : public TMidiController {
 public:
  TMidiVolume();

 protected:
  bool React(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::int32_t maxValue,
             std::int32_t& value) const override;
};

// The keyboard dialog's "Volume" track bar: percent 0..200 to the stored value and back.
std::int32_t VolumeOfPercent(int percent);
int PercentOfVolume(std::int32_t volume);

void RegisterMidiModules(TModuleTypeTable& table);

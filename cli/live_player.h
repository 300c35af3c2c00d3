// Real-time play without a display: one sound on the sound card and the MIDI ports, its device
// modules opening the devices the settings store chose (the sound options' defaults, or the
// modules' own "Device"), the engine paced by the clock as in the graphical program.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine_host.h"
#include "patch/application_context.h"
#include "patch/dokument_klang.h"
#include "platform/real_device_services.h"

enum class EDeviceKind { Speaker, StereoSpeaker, Microphone, MidiInput };

// "speaker", "stereo speaker", "microphone", "MIDI input".
const char* DeviceKindName(EDeviceKind kind);

// How one device module of the loaded sound fared with its device.
struct SDeviceReport {
  EDeviceKind kind = EDeviceKind::Speaker;
  std::string module;
  int device = -1;         // the chosen device number; -1: none chosen
  std::string deviceName;  // as the device list named it when the sound was loaded
  bool open = false;
  std::string error;    // why a chosen device did not open
  bool silent = false;  // a speaker whose chain is incomplete: it plays nothing
};

class TLivePlayer : private TEngineListener {
 public:
  TLivePlayer();
  // Stops a playing sound, then closes the devices.
  ~TLivePlayer() override;
  TLivePlayer(const TLivePlayer&) = delete;
  TLivePlayer& operator=(const TLivePlayer&) = delete;

  // Loads the sound, whose device modules open their devices. False with a one-line `error`
  // when the file cannot be read.
  bool Load(const std::filesystem::path& sound, std::string& error);
  // The device modules of the loaded sound, in the order of the patch.
  const std::vector<SDeviceReport>& Devices() const { return devices_; }
  bool HasSpeaker() const;
  bool AnySpeakerOpen() const;
  int CountVoices() { return document_.Engine().CountVoices(); }

  // Starts the engine with the sound options' processor limit. False with the user's message.
  bool Start(std::string& error);
  // After Start: how the sound plays (PlayModeText).
  std::string PlayMode();
  // Percent of the real time the engine spends computing.
  int ProcessorUsage() { return document_.Engine().ProcessorUsage(); }
  // The player's loop, on its timer: collects what the engine published (the document's poll).
  void Poll() { document_.PollEngine(); }
  // Whether a poll found that the engine stopped itself, and the usage that stopped it (percent).
  bool Overloaded() const { return overloaded_; }
  int OverloadUsage() const { return overloadUsage_; }
  // Stops the sound. False with the user's message when the engine thread did not end.
  bool Stop(std::string& error);

 private:
  // The devices outlive the document, whose modules hold drivers on them. The context hands them,
  // the catalogue and the stored sound options to the modules; it is set before the document.
  struct SPlayContext {
    SPlayContext();
    TRealDeviceServices services;
    TApplicationScope scope;
  };

  struct SDeviceNames {
    std::vector<std::string> outputs, inputs, midiPorts;
  };

  void EngineOverloaded(int usage) override;
  void ReportDevices(const SDeviceNames& names);

  SPlayContext context_;
  TDokumentKlang document_;
  std::vector<SDeviceReport> devices_;
  bool overloaded_ = false;
  int overloadUsage_ = 0;
};

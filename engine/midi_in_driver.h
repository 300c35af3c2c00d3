// The MIDI input driver: opens a MIDI input device and hands what arrives, on the device's
// thread, to the overridable handlers. The MIDI input module derives from it and passes note and
// controller messages on to the key, envelope and controller modules.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/midi_in_device.h"

inline constexpr std::uint32_t kMidiInSysExBytes = 1024;

class TWorkMidiIn : public TMidiInCallback {
 public:
  TWorkMidiIn();
  TWorkMidiIn(const TWorkMidiIn&) = delete;
  TWorkMidiIn& operator=(const TWorkMidiIn&) = delete;
  // Closes the device first. A derived driver closes it in its own destructor, so that no
  // message reaches a half-destroyed object.
  virtual ~TWorkMidiIn();

  // Device thread: one complete short message.
  virtual void OnShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  // Device thread: a filled system-exclusive buffer.
  virtual void OnLongData(SMidiInHeader& header);
  // Device thread: an invalid short message.
  virtual void OnError(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

  // Opens, resets, hands over the system-exclusive buffer and starts `device`. Returns kMidiOk,
  // kMidiAllocated when a device is open already, or the code of the first step that failed
  // (the device is then closed again). The device must outlive the driver or its Close.
  int Open(TMidiInDevice& device);
  // Stops, resets and closes the device; kMidiInvalidHandle when none is open, else the last
  // step's result. The driver counts as closed afterwards in any case.
  int Close();
  bool IsOpen() const { return device_ != nullptr; }
  // True when `device` opens (it is closed again at once).
  static bool CanOpen(TMidiInDevice& device);

  void MidiInCallback(EMidiInMessage message, std::uint32_t packedMessage,
                      SMidiInHeader* header) final;

 private:
  TMidiInDevice* device_ = nullptr;
  std::unique_ptr<std::byte[]> sysExData_;
  SMidiInHeader header_;
};

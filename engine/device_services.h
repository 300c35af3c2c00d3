// The devices that speakers, microphones and MIDI inputs open: installed once by whoever runs
// sounds (the program with the sound card, the headless renderer and the tests with the file
// devices). Until then every device is missing and a module that needs one stays inactive.
#pragma once

#include <string>
#include <vector>

#include "engine/midi_in_device.h"
#include "engine/wave_in_device.h"
#include "engine/wave_out_device.h"

// The numbered MIDI input devices of the system.
class TMidiInDevices {
 public:
  virtual ~TMidiInDevices() = default;
  // Device `index`, owned by the service; null when there is no such device.
  virtual TMidiInDevice* Device(int index) = 0;
  // A readable text for a result code of these devices (the "Fault Module Midi" message); by
  // default the standard text of the multimedia numbering that MIDI shares with wave devices.
  virtual std::string ErrorText(int code) const;
  // The names of the devices 0..n-1, as the device dialogs list them; none by default.
  virtual std::vector<std::string> DeviceNames() const { return {}; }
};

struct SDeviceServices {
  TWaveOutDevice* waveOut = nullptr;
  TWaveInDevice* waveIn = nullptr;
  TMidiInDevices* midiIn = nullptr;
};

// GUI thread only; the services must outlive every module that opened one of their devices.
const SDeviceServices& DeviceServices();
void SetDeviceServices(const SDeviceServices& services);

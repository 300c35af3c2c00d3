// The MIDI inputs that MIDI input modules open: one device per MIDI port that the sound systems
// offer to read from, numbered over the systems in the order of StandardDeviceApis (JACK, then
// the ALSA sequencer; PulseAudio has no MIDI), each system's ports in its own order. A module
// stores the index into this list as its device number. Each complete short message reaches the
// driver as Data, system-exclusive data as LongData in the buffer it handed over, and anything
// malformed as Error, all on the port's own thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/device_services.h"
#include "platform/device_api.h"
#include "platform/device_error_memo.h"

struct SMidiPortEntry {
  EDeviceApi api = EDeviceApi::Jack;
  unsigned apiIndex = 0;  // the port's number within its system
  std::string port;       // the system's own name ("keyboard:out"); empty when unreadable
  std::string name;       // "JACK: keyboard:out", or the fault name
};

std::vector<SMidiPortEntry> ListMidiInPorts(const std::vector<EDeviceApi>& apis);

class TRtMidiInDevice;

class TRtMidiInDevices : public TMidiInDevices {
 public:
  explicit TRtMidiInDevices(std::vector<EDeviceApi> apis = StandardDeviceApis());
  ~TRtMidiInDevices() override;

  // GUI thread. Lists the ports anew and gives the device of port `index`; null when there is
  // none. A device lives as long as this service, also after its port went away (it then no
  // longer opens), and the same port always gives the same device.
  TMidiInDevice* Device(int index) override;
  std::string ErrorText(int code) const override;

  // GUI thread: lists the devices anew.
  std::vector<std::string> DeviceNames() const override;

 private:
  std::vector<EDeviceApi> apis_;
  std::vector<std::unique_ptr<TRtMidiInDevice>> devices_;  // one per port ever handed out
  TDeviceErrorMemo errors_;
};

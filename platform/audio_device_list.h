// The numbered audio devices of one direction. A speaker or microphone stores the index into
// this list as its device number: the devices of every system that answers, in the order of
// StandardDeviceApis (JACK, PulseAudio, ALSA), each system's devices in its own order. A device
// whose capabilities cannot be read is listed under the fault name and can still be chosen.
#pragma once

#include <string>
#include <vector>

#include "platform/device_api.h"

enum class EAudioDirection { Output, Input };

struct SAudioDeviceEntry {
  EDeviceApi api = EDeviceApi::Jack;
  unsigned apiIndex = 0;  // the device's number within its system
  std::string name;       // "JACK: system", or the fault name
  bool probed = false;    // false: its capabilities could not be read, the fields below are 0
  unsigned channels = 0;  // in the list's direction
  std::vector<unsigned> sampleRates;  // frames per second the device runs at
};

// Every device with channels in `direction` (and every device that could not be probed), over
// `apis` in their order.
std::vector<SAudioDeviceEntry> ListAudioDevices(EAudioDirection direction,
                                                const std::vector<EDeviceApi>& apis);

std::vector<std::string> DeviceNames(const std::vector<SAudioDeviceEntry>& devices);

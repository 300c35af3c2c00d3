// The sound and MIDI systems through which the program reaches real devices. Device lists walk
// them in the order of StandardDeviceApis: JACK first (a running JACK server is the user's own
// choice of routing), then PulseAudio, then plain ALSA. A system that does not answer (no server
// running, no sound card) simply contributes no devices.
#pragma once

#include <string>
#include <vector>

enum class EDeviceApi { Jack, Pulse, Alsa };

// JACK, PulseAudio, ALSA.
std::vector<EDeviceApi> StandardDeviceApis();

// "JACK", "PulseAudio", "ALSA": the prefix of every device name listed through the system.
std::string DeviceApiName(EDeviceApi api);

// What a device list shows for a device whose name cannot be read.
inline constexpr char kFaultDeviceName[] = "Fault Device Name";

// "JACK: system"; the fault name when `deviceName` is empty.
std::string ListedDeviceName(EDeviceApi api, const std::string& deviceName);

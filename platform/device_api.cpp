#include "platform/device_api.h"

std::vector<EDeviceApi> StandardDeviceApis() {
  return {EDeviceApi::Jack, EDeviceApi::Pulse, EDeviceApi::Alsa};
}

std::string DeviceApiName(EDeviceApi api) {
  switch (api) {
    case EDeviceApi::Jack:
      return "JACK";
    case EDeviceApi::Pulse:
      return "PulseAudio";
    case EDeviceApi::Alsa:
      return "ALSA";
  }
  return "?";
}

std::string ListedDeviceName(EDeviceApi api, const std::string& deviceName) {
  return deviceName.empty() ? kFaultDeviceName : DeviceApiName(api) + ": " + deviceName;
}

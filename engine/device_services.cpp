#include "engine/device_services.h"

#include "engine/wave_format.h"

namespace {

SDeviceServices installedServices;

}  // namespace

std::string TMidiInDevices::ErrorText(int code) const { return WaveResultText(code); }

const SDeviceServices& DeviceServices() { return installedServices; }

void SetDeviceServices(const SDeviceServices& services) { installedServices = services; }

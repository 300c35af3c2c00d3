#include "engine/device_services.h"

namespace {

SDeviceServices installedServices;

}  // namespace

const SDeviceServices& DeviceServices() { return installedServices; }

void SetDeviceServices(const SDeviceServices& services) { installedServices = services; }

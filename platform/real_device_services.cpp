#include "platform/real_device_services.h"

#include "engine/device_services.h"

TRealDeviceServices::TRealDeviceServices(const std::vector<EDeviceApi>& apis)
    : waveOut(apis), waveIn(apis), midiIn(apis) {}

void TRealDeviceServices::Install() { SetDeviceServices({&waveOut, &waveIn, &midiIn}); }

TRealDeviceServices& InstallRealDeviceServices() {
  static TRealDeviceServices services;
  services.Install();
  return services;
}

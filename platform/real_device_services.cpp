#include "platform/real_device_services.h"

TRealDeviceServices::TRealDeviceServices(const std::vector<EDeviceApi>& apis)
    : waveOut(apis), waveIn(apis), midiIn(apis) {}

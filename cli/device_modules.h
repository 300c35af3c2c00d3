// The modules of a sound that own a device (speakers, microphones, MIDI inputs), wherever they
// sit in its patch, also inside groups. Whoever runs a sound without the editor (the headless
// renderer, real-time play) chooses, opens or reports their devices through this list.
#pragma once

#include <string>
#include <vector>

#include "modules/device_module.h"
#include "patch/module_list.h"

struct SDeviceModule {
  // The module's key; inside groups the groups' keys come first, joined with ".".
  std::string name;
  TGeraetModul* module;
};

// In the order of the list's keys, a group's modules where the group stands.
std::vector<SDeviceModule> FindDeviceModules(const TModuleListe& list);

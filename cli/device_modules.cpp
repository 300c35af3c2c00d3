#include "cli/device_modules.h"

#include "patch/macro_modules.h"

namespace {

void Collect(const TModuleListe& list, const std::string& prefix,
             std::vector<SDeviceModule>& found) {
  for (const auto& [key, child] : list.Children()) {
    if (auto* device = dynamic_cast<TGeraetModul*>(child.get())) {
      found.push_back({prefix + key, device});
    } else if (auto* macro = dynamic_cast<TModulKomponent*>(child.get())) {
      Collect(*macro->Inside, prefix + key + ".", found);
    }
  }
}

}  // namespace

std::vector<SDeviceModule> FindDeviceModules(const TModuleListe& list) {
  std::vector<SDeviceModule> found;
  Collect(list, "", found);
  return found;
}

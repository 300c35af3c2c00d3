#include "patch/module_registry.h"

#include <algorithm>
#include <array>

namespace {

TModuleTypeTable& Registry() {
  static TModuleTypeTable table = [] {
    TModuleTypeTable macros;
    RegisterMacroModules(macros);
    return macros;
  }();
  return table;
}

constexpr std::array<const char*, 10> kMacroPortTypes = {
    "ModulMInAnalog", "ModulMOutAnalog", "ModulMInFrequenz", "ModulMOutFrequenz",
    "ModulPInAnalog", "ModulPOutAnalog", "ModulPInFrequenz", "ModulPOutFrequenz",
    "ModulInMidi",    "ModulOutMidi",
};

}  // namespace

TRPointer<TModul> CreateModuleByType(const std::string& typeName, bool& queryOnly) {
  const auto found = Registry().find(typeName);
  const bool known = found != Registry().end();
  if (queryOnly) {
    queryOnly = known;
    return nullptr;
  }
  if (!known) return nullptr;
  TRPointer<TModul> module = found->second();
  module->typeName = typeName;
  return module;
}

std::vector<std::string> RegisteredTypeNames() {
  std::vector<std::string> names;
  for (const auto& [name, factory] : Registry())
    names.push_back(name);
  return names;
}

void RegisterModuleType(const std::string& typeName, TModuleFactory factory) {
  Registry()[typeName] = std::move(factory);
}

void InstallModuleTypes(const TModuleTypeTable& families) {
  for (const auto& [name, factory] : families)
    Registry()[name] = factory;
}

bool IsMacroPortType(const std::string& typeName) {
  return std::find(kMacroPortTypes.begin(), kMacroPortTypes.end(), typeName) !=
         kMacroPortTypes.end();
}

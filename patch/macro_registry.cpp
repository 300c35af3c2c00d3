// Type names of the macro module and of its inner input and output modules.
#include "patch/macro_modules.h"
#include "patch/module_registry.h"

namespace {

template <class Boundary>
TModuleFactory BoundaryFactory(int ownCode, int outerCode, const char* title) {
  return [=] { return std::make_shared<Boundary>(ownCode, outerCode, title); };
}

}  // namespace

void RegisterMacroModules(TModuleTypeTable& table) {
  table["Modul"] = [] { return std::make_shared<TModulKomponent>(); };
  table["ModulMInAnalog"] =
      BoundaryFactory<TModulEingang>(kPortMonoOutputAnalog, kPortMonoInputAnalog, " Analog");
  table["ModulPInAnalog"] =
      BoundaryFactory<TModulEingang>(kPortPolyOutputAnalog, kPortPolyInputAnalog, " Analog");
  table["ModulMInFrequenz"] =
      BoundaryFactory<TModulEingang>(kPortMonoOutputFrequenz, kPortMonoInputFrequenz, " Freq.");
  table["ModulPInFrequenz"] =
      BoundaryFactory<TModulEingang>(kPortPolyOutputFrequenz, kPortPolyInputFrequenz, " Freq.");
  table["ModulInMidi"] = BoundaryFactory<TModulEingang>(kPortMidiOutput, kPortMidiInput, " Midi");
  table["ModulMOutAnalog"] =
      BoundaryFactory<TModulAusgang>(kPortMonoInputAnalog, kPortMonoOutputAnalog, " Analog");
  table["ModulPOutAnalog"] =
      BoundaryFactory<TModulAusgang>(kPortPolyInputAnalog, kPortPolyOutputAnalog, " Analog");
  table["ModulMOutFrequenz"] =
      BoundaryFactory<TModulAusgang>(kPortMonoInputFrequenz, kPortMonoOutputFrequenz, " Freq.");
  table["ModulPOutFrequenz"] =
      BoundaryFactory<TModulAusgang>(kPortPolyInputFrequenz, kPortPolyOutputFrequenz, " Freq.");
  table["ModulOutMidi"] = BoundaryFactory<TModulAusgang>(kPortMidiInput, kPortMidiOutput, " Midi");
}

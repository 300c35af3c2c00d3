#include "patch/wire_drop.h"

#include "patch/modul_arbeiten.h"
#include "patch/patch_host.h"
#include "patch/ports.h"

namespace {

// Files an already performed step and lets the document re-validate its patch.
bool FileStep(TEinAusgang& port, TRPointerAction step) {
  TPatchHost* list = port.Host();
  if (!step || list == nullptr) return false;
  list->RecordAction(std::move(step));
  list->RestartDocument(true);
  return true;
}

}  // namespace

TWireDropClass ClassifyWireDrop(const TEinAusgang& start, const TEinAusgang* target) {
  if (target == nullptr || target == &start) return kDropNothing;
  if (!start.IsCompatible(*target)) return kDropRefused;
  return start.IsConnectedTo(*target) ? kDropRemoves : kDropConnects;
}

bool DropWire(TEinAusgang& start, TEinAusgang* target) {
  const TWireDropClass drop = ClassifyWireDrop(start, target);
  if (drop != kDropRemoves && drop != kDropConnects) return false;
  TModulArbeiten* module = OwnerModule(start);
  if (module == nullptr || !module->CanConnect(start, *target)) return false;
  return FileStep(start, start.Connect(target, true));
}

bool RemoveWires(TEinAusgang& port) { return FileStep(port, port.Connect(nullptr, true)); }

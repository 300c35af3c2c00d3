#include "modules/catalogue.h"

#include "modules/constants.h"
#include "modules/delay.h"
#include "modules/generators.h"
#include "modules/midi.h"
#include "modules/mixers.h"
#include "modules/panel_items.h"
#include "modules/scope.h"
#include "modules/speakers.h"

TModuleTypeTable ModuleCatalogue() {
  TModuleTypeTable table;
  RegisterConstantModules(table);
  RegisterPanelItems(table);
  RegisterMixerModules(table);
  RegisterDelayModules(table);
  RegisterGeneratorModules(table);
  RegisterSpeakerModules(table);
  RegisterMidiModules(table);
  RegisterScopeModules(table);
  return table;
}

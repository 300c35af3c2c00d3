#include "app/app_dialogs.h"

#include "app/main_frame.h"
#include "app/module_list_dialog.h"

void TAppDialogs::ShowMacroWindow(TModulKomponent& macro) { frame_.ShowGroupWindow(macro); }

void TAppDialogs::ShowModuleList(TModuleListe& list) {
  TModuleListDialog dialog(list, &frame_);
  dialog.exec();
}

#include "app/app_dialogs.h"

#include "app/module_list_dialog.h"

void TAppDialogs::ShowModuleList(TModuleListe& list) {
  TModuleListDialog dialog(list, &parent_);
  dialog.exec();
}

#include "app/app_dialogs.h"

#include "app/main_frame.h"

void TAppDialogs::ShowMacroWindow(TModulKomponent& macro) { frame_.ShowGroupWindow(macro); }

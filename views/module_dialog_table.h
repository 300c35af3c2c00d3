// Every module dialog of the catalogue by name, as the program installs them (module_dialogs.h
// tells how a kind's ShowProperties reaches them).
#pragma once

#include "patch/module_dialogs.h"

// Built on first use; each family's widget file adds its dialogs with one line here.
const TModuleDialogOpeners& CatalogueDialogOpeners();

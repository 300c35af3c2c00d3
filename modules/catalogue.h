// The module catalogue: every module family's types in one table, which the program hands to
// the patch model's registry (InstallModuleTypes) through its application context.
#pragma once

#include "patch/module_registry.h"

TModuleTypeTable ModuleCatalogue();

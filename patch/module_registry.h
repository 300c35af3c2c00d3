// The registry of module type names: files, the clipboard, the undo history and the palette know
// a module only by its type name, and the registry builds a fresh module for each of them. The
// module families live above the patch model, so they are installed into it as a table. Type
// names are compared exactly; letter case matters.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "patch/modul.h"

using TModuleFactory = std::function<TRPointer<TModul>()>;
using TModuleTypeTable = std::map<std::string, TModuleFactory>;

// With `queryOnly` set: creates nothing and sets `queryOnly` to whether the name is registered.
// Otherwise: a new module of that type, without parent and view, whose typeName is the name; or
// null when the name is not registered.
TRPointer<TModul> CreateModuleByType(const std::string& typeName, bool& queryOnly);

// Every registered type name, in byte-wise order.
std::vector<std::string> RegisteredTypeNames();

// The ten macro input and output types, which exist only inside macros.
bool IsMacroPortType(const std::string& typeName);

// Adds a type outside the built-in families (test modules); an existing name is replaced.
void RegisterModuleType(const std::string& typeName, TModuleFactory factory);

// Adds every type of `families`, the catalogue that the program hands over before it reads its
// first sound (the registry knows no module family itself); an existing name is replaced.
void InstallModuleTypes(const TModuleTypeTable& families);

// The macro module and its inner input and output types, which the registry always holds.
void RegisterMacroModules(TModuleTypeTable& table);

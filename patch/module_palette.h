// The module palette of the main window: a fixed tree of categories, and the type names shown
// as samples under each category, in the order the palette shows them. Panel items are not in
// the palette; they are created from the Panel tab and from module dialogs.
#pragma once

#include <string>
#include <vector>

struct SPaletteCategory {
  const char* name;
  // Sub-categories ("Input" and "Output" below "Macro", the oscillator kinds below
  // "Oscillator").
  std::vector<const char*> children;
};

struct SPaletteEntry {
  const char* category;
  const char* typeName;
};

// Top-level categories, sorted by name.
const std::vector<SPaletteCategory>& PaletteCategories();
// Every (category, type name) pair in palette order.
const std::vector<SPaletteEntry>& PaletteEntries();
// The type names shown for `category`, in palette order.
std::vector<std::string> PaletteTypes(const std::string& category);

// Descriptions of the editor windows, saved with their owner so that reopening a sound restores
// its windows: where a window stands, whether it is open, and which tab is in front. Each also
// holds the panel items of its Panel tab. The windows themselves come with the application.
#pragma once

#include "patch/module_list.h"
#include "persist/prop_list.h"
#include "persist/prop_rect.h"
#include "persist/prop_values.h"

class TDokumentKlang;
class TModulKomponent;

class TFenster : public TPropTypListChild {
 public:
  TFenster();

  const TRPointerPropInteger Visible;
  // Position and size in the main window's client area; empty: the window's own placement.
  const TRPointer<TPropRect> Rect;
  const TRPointerPropString Title;
  // 0 normal, 1 minimised, 2 maximised.
  const TRPointerPropInteger WindowState;
};

// The Structure tab (1) or the Panel tab (0) is in front.
class TFensterMitPanel : public TFenster {
 public:
  TFensterMitPanel();

  const TRPointerPropInteger ActiveWindow;
  // The panel items (faders, texts, volume views); its partner is the structure list.
  const TRPointer<TModuleListe> ModuleList;
};

class TFensterKlang : public TFensterMitPanel {
 public:
  TDokumentKlang* Document = nullptr;
};

class TFensterModul : public TFensterMitPanel {
 public:
  TModulKomponent* Owner = nullptr;
};

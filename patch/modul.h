// The base of every module of a sound or group: a node of the property tree that stores its
// selection mark, its rectangle on the canvas and its title, and that owns its view while it is
// shown. Modules with ports and engine work build on TModulArbeiten (modul_arbeiten.h).
#pragma once

#include <memory>

#include "patch/module_view.h"
#include "persist/prop_list.h"
#include "persist/prop_rect.h"
#include "persist/prop_values.h"

class TDokumentKlang;
class TModuleListe;

class TModul : public TPropTypListChild {
 public:
  // Default rectangle of a new module, in canvas client coordinates.
  static constexpr TRect kDefaultRect{0, 0, 88, 51};

  TModul();

  // Builds the view on `owner` (editable unless mode is kPanelSample) or, with a null owner,
  // drops it; `mode` then tells whether the module leaves the patch (kPanelEditable) or only
  // its window closes (kPanelWindowClosing).
  virtual void CreatePanel(TModuleCanvas* owner, int mode);
  // Brings the view up to date after `property` changed; null stands for all properties.
  virtual void PropertyChanged(const TPropTyp* property);

  // The module list that owns the module, or null.
  TModuleListe* OwnerList() const;
  // The sound document above the module, or null (a group opened on its own).
  TDokumentKlang* FindDocument() const;
  // Unmarks every module of the owning list, then marks this one.
  void SelectOnly();
  // Marks the owning sound document as changed.
  void MarkChanged();
  // Stops a playing sound of the owning document and starts it again, so that it uses what a
  // dialog changed at once.
  void RestartSound();

  bool IsMarked() const { return Marked->value != 0; }
  // Sets the mark and tells the view.
  void SetMarked(bool marked);

  const TRPointerPropInteger Marked;
  const TRPointer<TPropRect> Rect;
  const TRPointerPropString Title;
  // The view while the module is shown.
  std::unique_ptr<TModuleView> Panel;
};

using TRPointerModul = TRPointer<TModul>;

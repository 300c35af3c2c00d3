// The base of every module of a sound or group: a node of the property tree that stores its
// selection mark, its rectangle on the canvas and its title, and that knows whether a canvas
// shows it. It reaches the list that holds it through TPatchHost, and tells the list's views
// what changed through the list's change channel. Modules with ports and engine work build on
// TModulArbeiten (modul_arbeiten.h).
#pragma once

#include "patch/canvas_interface.h"
#include "patch/list_changes.h"
#include "persist/prop_list.h"
#include "persist/prop_rect.h"
#include "persist/prop_values.h"

class TPatchHost;

class TModul : public TPropTypListChild {
 public:
  // Default rectangle of a new module, in canvas client coordinates.
  static constexpr TRect kDefaultRect{0, 0, 88, 51};

  TModul();

  // The module is shown on `owner` (editable unless mode is kPanelSample) or, with a null owner,
  // no longer shown; `mode` then tells whether the module leaves the patch (kPanelEditable) or
  // only its window closes (kPanelWindowClosing). Kinds do here what showing them takes in the
  // model (ports, panel items, devices); the canvas draws the panel itself.
  virtual void CreatePanel(TModuleCanvasInterface* owner, int mode);
  // Tells the views that `property` changed; null stands for all properties.
  virtual void PropertyChanged(const TPropTyp* property);

  // The list that holds the module, or null.
  TPatchHost* Host() const;
  // Unmarks every module of the owning list, then marks this one.
  void SelectOnly();
  // Marks the owning sound document as changed.
  void MarkChanged();
  // Stops a playing sound of the owning document and starts it again, so that it uses what a
  // dialog changed at once.
  void RestartSound();
  // Tells the views of the owning list about a change of this module.
  void Announce(TListChangeKind kind, const TPropTyp* property = nullptr);

  bool IsMarked() const { return Marked->value != 0; }
  // Sets the mark and tells the views.
  void SetMarked(bool marked);
  // Whether a canvas shows the module, and whether editable.
  bool IsShown() const { return shownMode_ >= 0; }
  bool IsShownEditable() const { return shownMode_ > kPanelSample; }

  const TRPointerPropInteger Marked;
  const TRPointer<TPropRect> Rect;
  const TRPointerPropString Title;

 private:
  // The mode the module is shown in, -1 while not shown.
  int shownMode_ = -1;
};

using TRPointerModul = TRPointer<TModul>;

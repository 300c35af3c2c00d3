// What the patch model needs of the editor's widgets, as interfaces: the model builds and updates
// views through them and runs unchanged (and untested views aside, completely) without any.
//
// Lifetime. A module owns its view (TModul::Panel) and resets it whenever the module leaves the
// patch or its canvas: on delete, cut, undo and redo, which can all run inside an event handler
// of the view's own widget. So a widget view is an adapter that releases its widget with
// deleteLater(), never with delete: the handler then returns into a live widget. Once a handler
// has called into the model, the widget must not use its adapter again (it may be gone); it reaches
// its module through the list and the key. The model calls a view never after resetting it.
//
// A canvas clears TModuleListe::Canvas when it goes, by calling TModuleListe::ReleaseCanvas with
// itself before its widgets are destroyed: the list drops every view and never calls that canvas
// again.
#pragma once

#include <memory>

class TModul;
class TPropTyp;

// The panel of one module on a canvas; its destructor releases the widget with deleteLater().
class TModuleView {
 public:
  virtual ~TModuleView() = default;
  // A property of the module changed; null stands for all of them.
  virtual void PropertyChanged(const TPropTyp* property) = 0;
  // The module's active state changed (the panel colour shows it).
  virtual void ActiveChanged() = 0;
  // Ports were added or removed: the connectors are built again.
  virtual void PortsChanged() = 0;
};

// The scrolling canvas that shows the modules of one module list; before it goes it calls
// TModuleListe::ReleaseCanvas for that list.
class TModuleCanvas {
 public:
  virtual ~TModuleCanvas() = default;
  // Scroll positions in pixels; a module's absolute position is its Rect plus these.
  virtual int HorizontalScroll() const = 0;
  virtual int VerticalScroll() const = 0;
  virtual void ScrollBy(int dx, int dy) = 0;
  // Builds the panel of `module`; a sample in the palette is not editable.
  virtual std::unique_ptr<TModuleView> CreateModuleView(TModul& module, bool editable) = 0;
  // Paints the canvas again (wires, grid, rubber band).
  virtual void Repaint() = 0;
};

// How CreatePanel is asked to build or drop a view.
enum TPanelMode : int {
  kPanelSample = 0,         // not editable: a sample in the palette
  kPanelEditable = 1,       // editable; with no canvas: the module leaves the patch
  kPanelWindowClosing = 2,  // with no canvas: only the window closes, the module stays
};

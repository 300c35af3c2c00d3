// What the patch model needs of the editor's widgets, as interfaces: the model builds and updates
// views through them and runs unchanged (and untested views aside, completely) without any.
#pragma once

#include <memory>

class TModul;
class TPropTyp;

// The panel of one module on a canvas.
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

// The scrolling canvas that shows the modules of one module list.
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

// What the patch model knows of a canvas that shows a module list, as an interface: its scroll
// positions and panning, and how the list is shown (editable, or as samples in the palette).
// The canvas builds and updates its panels itself, from the list's change channel
// (list_changes.h); the model never calls it for that. A canvas that goes calls
// TModuleListe::ReleaseCanvas first, so that the list never reaches it later.
#pragma once

// How CreatePanel is asked to show a module or to stop showing it.
enum TPanelMode : int {
  kPanelSample = 0,         // not editable: a sample in the palette
  kPanelEditable = 1,       // editable; with no canvas: the module leaves the patch
  kPanelWindowClosing = 2,  // with no canvas: only the window closes, the module stays
};

class TModuleCanvasInterface {
 public:
  virtual ~TModuleCanvasInterface() = default;
  // Scroll positions in pixels; a module's absolute position is its Rect plus these.
  virtual int HorizontalScroll() const = 0;
  virtual int VerticalScroll() const = 0;
  virtual void ScrollBy(int dx, int dy) = 0;
};

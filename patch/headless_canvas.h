// A canvas without widgets: showing a module list on it runs every step the model takes when an
// editor shows modules (adders get their inputs, a macro's inner inputs and outputs give it its
// ports, constants get their panel faders), for tools and tests that work without a display.
#pragma once

#include "patch/canvas_interface.h"

class THeadlessCanvas : public TModuleCanvasInterface {
 public:
  int HorizontalScroll() const override { return 0; }
  int VerticalScroll() const override { return 0; }
  void ScrollBy(int, int) override {}
};

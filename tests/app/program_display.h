// The program's children, started while this lives, show their windows on a private X server.
#pragma once

#include <cstdlib>

#include "x_display.h"

// The program's children show their windows on `display`.
class TProgramDisplay {
 public:
  explicit TProgramDisplay(const TXDisplay& display) {
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  ~TProgramDisplay() {
    unsetenv("DISPLAY");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
};

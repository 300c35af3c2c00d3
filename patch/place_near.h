// Where a module dialog opens: beside the module's panel on the screen, trying the eight places
// around it in turn, so the dialog never covers the module it edits. Pure geometry in screen
// pixels; the widget side measures the rectangles and moves the window.
#pragma once

#include "persist/prop_rect.h"

// The first place that keeps the dialog wholly on the desktop.
struct SPlaceNear {
  // The dialog's rectangle on the screen; its size is kept.
  TRect rectangle;
  // The module panel's rectangle on the screen.
  TRect anchor;
  // The place tried first, 0 to 7 clockwise from the right-hand middle; 8 centres at once.
  int start = 1;
  // Pixels between the panel and the dialog.
  int gap = 2;
};

// Returns `place.rectangle` moved to the first of the eight places, from `start` on and cyclic,
// that lies inside `desktop`; centred on the desktop when none does or `start` is not 0 to 7.
TRect PlaceNear(const SPlaceNear& place, const TRect& desktop);

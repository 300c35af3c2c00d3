// The rubber band that selects modules on a canvas: a rectangle from the press point to the
// mouse, kept in canvas coordinates (scroll positions added) so that it stays put while the
// canvas scrolls. The canvas draws it; this is its arithmetic.
#pragma once

#include "persist/prop_rect.h"

class TGummiband {
 public:
  TGummiband(TPoint canvasAnchor, TPoint windowAnchor, int colour);

  void Update(TPoint canvasPoint, TPoint windowPoint);
  // The band in canvas coordinates, normalised.
  TRect GetRect() const;
  // The band in window coordinates, normalised: what is drawn.
  TRect WindowRect() const;
  int Colour() const { return colour_; }

 private:
  TPoint canvasAnchor_;
  TPoint canvasPoint_;
  TPoint windowAnchor_;
  TPoint windowPoint_;
  int colour_;
};

#include "edit/rubber_band.h"

TGummiband::TGummiband(TPoint canvasAnchor, TPoint windowAnchor, int colour)
    : canvasAnchor_(canvasAnchor),
      canvasPoint_(canvasAnchor),
      windowAnchor_(windowAnchor),
      windowPoint_(windowAnchor),
      colour_(colour) {}

void TGummiband::Update(TPoint canvasPoint, TPoint windowPoint) {
  canvasPoint_ = canvasPoint;
  windowPoint_ = windowPoint;
}

TRect TGummiband::GetRect() const {
  return NormalizeRect({canvasAnchor_.x, canvasAnchor_.y, canvasPoint_.x, canvasPoint_.y});
}

TRect TGummiband::WindowRect() const {
  return NormalizeRect({windowAnchor_.x, windowAnchor_.y, windowPoint_.x, windowPoint_.y});
}

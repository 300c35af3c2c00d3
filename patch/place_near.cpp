#include "patch/place_near.h"

#include <cstdint>

namespace {

constexpr int kPlaces = 8;

TRect Moved(const TRect& rectangle, std::int32_t left, std::int32_t top) {
  return {left, top, left + rectangle.right - rectangle.left,
          top + rectangle.bottom - rectangle.top};
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Candidate `position` (0 to 7) around the anchor, whose right and bottom already include the gap.
TRect Candidate(const SPlaceNear& place, const TRect& anchor, int position) {
  const TRect& r = place.rectangle;
  const std::int32_t width = r.right - r.left;
  const std::int32_t height = r.bottom - r.top;
  const std::int32_t halfW = width / 2;
  const std::int32_t halfH = height / 2;
  const std::int32_t before = anchor.left - place.gap - width;
  const std::int32_t above = anchor.top - place.gap - height;
  switch (position) {
    case 0:
      return Moved(r, anchor.right, anchor.top - halfH);
    case 1:
      return Moved(r, anchor.right, above);
    case 2:
      return Moved(r, anchor.left - halfW, above);
    case 3:
      return Moved(r, before, above);
    case 4:
      return Moved(r, before, anchor.top - halfH);
    case 5:
      return Moved(r, before, anchor.bottom);
    case 6:
      return Moved(r, anchor.left - halfW, anchor.bottom);
    default:
      return Moved(r, anchor.right, anchor.bottom);
  }
}

TRect Centred(const TRect& rectangle, const TRect& desktop) {
  const std::int32_t halfW = (rectangle.right - rectangle.left) / 2;
  const std::int32_t halfH = (rectangle.bottom - rectangle.top) / 2;
  return Moved(rectangle, desktop.left + (desktop.right - desktop.left) / 2 - halfW,
               desktop.top + (desktop.bottom - desktop.top) / 2 - halfH);
}

}  // namespace

TRect PlaceNear(const SPlaceNear& place, const TRect& desktop) {
  if (place.start < 0 || place.start >= kPlaces) return Centred(place.rectangle, desktop);
  TRect anchor = place.anchor;
  anchor.right += place.gap;
  anchor.bottom += place.gap;
  for (int i = 0; i < kPlaces; ++i) {
    const TRect candidate = Candidate(place, anchor, (place.start + i) % kPlaces);
    if (Inside(candidate, desktop)) return candidate;
  }
  return Centred(place.rectangle, desktop);
}

// A rectangle node: the four corner values are both members and the children "Left", "Top",
// "Right" and "Bottom", so reading a rectangle updates the very objects the members point to.
#pragma once

#include <cstdint>

#include "persist/prop_list.h"
#include "persist/prop_values.h"

struct TRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Swaps left and right when right < left, and top and bottom when bottom < top.
TRect NormalizeRect(TRect rect);

class TPropRect : public TPropTypList {
 public:
  TPropRect(std::int32_t left = 0, std::int32_t top = 0, std::int32_t right = 0,
            std::int32_t bottom = 0);

  // Corners lie within this distance of the origin; reading brings a hand-edited file's
  // corners into it, so that sizes and moves never overflow.
  static constexpr std::int32_t kCoordinateLimit = 16777215;

  bool Read(std::istream& in) override;

  void Set(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
  void SetRect(const TRect& rect);
  TRect GetRect() const;
  // Moves the top-left corner to (x, y), keeping the size.
  void MoveTo(std::int32_t x, std::int32_t y);

  const TRPointerPropInteger left;
  const TRPointerPropInteger top;
  const TRPointerPropInteger right;
  const TRPointerPropInteger bottom;
};

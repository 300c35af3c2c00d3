#include "persist/prop_rect.h"

#include <algorithm>
#include <utility>

TRect NormalizeRect(TRect rect) {
  if (rect.right < rect.left) std::swap(rect.left, rect.right);
  if (rect.bottom < rect.top) std::swap(rect.top, rect.bottom);
  return rect;
}

TPropRect::TPropRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
    : left(std::make_shared<TPropInteger>(l)),
      top(std::make_shared<TPropInteger>(t)),
      right(std::make_shared<TPropInteger>(r)),
      bottom(std::make_shared<TPropInteger>(b)) {
  Add("Left", left);
  Add("Top", top);
  Add("Right", right);
  Add("Bottom", bottom);
}

bool TPropRect::Read(std::istream& in) {
  const bool complete = TPropTypList::Read(in);
  for (const auto& corner : {left, top, right, bottom}) {
    corner->value = std::clamp(corner->value, -kCoordinateLimit, kCoordinateLimit);
  }
  return complete;
}

void TPropRect::Set(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  left->value = l;
  top->value = t;
  right->value = r;
  bottom->value = b;
}

void TPropRect::SetRect(const TRect& rect) { Set(rect.left, rect.top, rect.right, rect.bottom); }

TRect TPropRect::GetRect() const { return {left->value, top->value, right->value, bottom->value}; }

// Wraps like the 32-bit arithmetic of the platform when a hand-edited file holds huge corners.
void TPropRect::MoveTo(std::int32_t x, std::int32_t y) {
  const auto shift = [](std::int32_t value, std::int32_t from, std::int32_t to) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                     static_cast<std::uint32_t>(to) -
                                     static_cast<std::uint32_t>(from));
  };
  right->value = shift(right->value, left->value, x);
  bottom->value = shift(bottom->value, top->value, y);
  left->value = x;
  top->value = y;
}

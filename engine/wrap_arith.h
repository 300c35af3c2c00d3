// Signed 32-bit arithmetic that wraps around like the hardware does, without the undefined
// behaviour of signed overflow: the operation runs on uint32_t and the result is cast back.
#pragma once

#include <cstdint>

inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

inline std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

inline std::int32_t WrapMul(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// -INT32_MIN wraps to INT32_MIN.
inline std::int32_t WrapNeg(std::int32_t a) { return WrapSub(0, a); }

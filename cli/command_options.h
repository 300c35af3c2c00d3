// What the program's commands share on their command lines: numbers taken whole or refused,
// and the one length option they all know.
#pragma once

#include <charconv>
#include <cstring>

// True when the whole of `text` is one number of T.
template <class T>
bool ParseNumber(const char* text, T& value) {
  const char* end = text + std::strlen(text);
  const auto [rest, status] = std::from_chars(text, end, value);
  return status == std::errc() && rest == end;
}

// "--seconds": a length above 0 and up to one day.
inline constexpr double kMaxSeconds = 24 * 3600;
inline constexpr char kSecondsRule[] = "--seconds takes a length above 0 and up to 86400";

inline bool ParseSeconds(const char* text, double& seconds) {
  return ParseNumber(text, seconds) && seconds > 0 && seconds <= kMaxSeconds;
}

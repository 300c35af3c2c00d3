#include "modules/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

const char* SkipBlanks(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  while (first != last && (*first == ' ' || *first == '\t'))
    ++first;
  if (first != last && *first == '+') ++first;
  return first;
}

}  // namespace

std::string FormatFixed(double value, int width, int precision) {
  char digits[400];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
  std::string text(digits, result.ptr);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::int64_t ReadDecimalInteger(const std::string& text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(SkipBlanks(text), text.data() + text.size(), value);
  return error == std::errc() ? value : 0;
}

double ReadDecimalNumber(const std::string& text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(SkipBlanks(text), text.data() + text.size(), value,
                                            std::chars_format::general);
  return error == std::errc() && std::isfinite(value) ? value : 0.0;
}

std::int32_t TruncToInt32(double value) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (std::isnan(value)) return 0;
  if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

// Numbers as the user reads and types them in module panels and dialogs. Formatting and reading
// ignore the locale (a GUI toolkit may set one with a decimal comma), and reading never fails:
// text that is not a number reads as 0, like the C library's atol and atof.
#pragma once

#include <cstdint>
#include <string>

// `value` in fixed notation with `precision` decimals, right-aligned in at least `width`
// characters, as printf's "%<width>.<precision>f" writes it.
std::string FormatFixed(double value, int width, int precision);

// The leading decimal integer of `text` after leading blanks; 0 when there is none or it does
// not fit 64 bits.
std::int64_t ReadDecimalInteger(const std::string& text);

// The leading decimal number of `text` after leading blanks; 0 when there is none or it is not
// finite.
double ReadDecimalNumber(const std::string& text);

// `value` rounded toward zero; values beyond the 32-bit range give the nearest limit, and NaN
// gives 0, so that no conversion is undefined.
std::int32_t TruncToInt32(double value);

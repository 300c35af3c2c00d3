#include "persist/prop_values.h"

#include <charconv>
#include <cstdlib>
#include <limits>

#include "persist/text_reader.h"

using text_format::kEncodedCarriageReturn;
using text_format::kEncodedLineFeed;

bool TPropInteger::Read(std::istream& in) {
  std::string word;
  text_format::ReadWord(in, word);
  const long long wide = std::strtoll(word.c_str(), nullptr, 10);
  constexpr long long kMin = std::numeric_limits<std::int32_t>::min();
  constexpr long long kMax = std::numeric_limits<std::int32_t>::max();
  value = static_cast<std::int32_t>(wide < kMin ? kMin : (wide > kMax ? kMax : wide));
  return true;
}

void TPropInteger::Write(std::ostream& out) const { out << value; }

bool TPropDouble::Read(std::istream& in) {
  std::string word;
  text_format::ReadWord(in, word);
  // from_chars ignores the locale that a GUI toolkit may have set, unlike strtod.
  const char* first = word.data();
  const char* last = first + word.size();
  if (first != last && *first == '+') ++first;
  value = 0.0;
  std::from_chars(first, last, value);
  return true;
}

void TPropDouble::Write(std::ostream& out) const {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, 24);
  out.write(text, result.ptr - text);
}

bool TPropString::Read(std::istream& in) { return text_format::ReadQuoted(in, value); }

void TPropString::Write(std::ostream& out) const {
  out.put('"');
  for (const char c : value) {
    if (c == '\n') {
      out.put(static_cast<char>(kEncodedLineFeed));
    } else if (c == '\r') {
      out.put(static_cast<char>(kEncodedCarriageReturn));
    } else if (c == '"') {
      out << "\"\"";
    } else {
      out.put(c);
    }
  }
  out.put('"');
}

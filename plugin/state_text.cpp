#include "plugin/state_text.h"

#include <optional>

namespace {

constexpr char kUnrepresentable = '?';

// The code point of the UTF-8 sequence at `text[at]`, moving `at` past it; none when the
// sequence is malformed or overlong.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int following = 0;
  char32_t point = 0;
  if ((lead & 0xE0) == 0xC0) {
    following = 1;
    point = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    following = 2;
    point = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    following = 3;
    point = lead & 0x07;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < following; ++i) {
    if (at >= text.size()) return std::nullopt;
    const auto next = static_cast<unsigned char>(text[at++]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    point = point << 6 | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (point < kSmallest[following] || point > 0x10FFFF) return std::nullopt;
  return point;
}

}  // namespace

std::string StateTextOfSound(std::string_view sound) {
  std::string text;
  text.reserve(sound.size());
  for (const char c : sound) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | byte >> 6);
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

std::string SoundOfStateText(std::string_view text) {
  std::string sound;
  sound.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<char32_t> point = NextCodePoint(text, at);
    if (!point) return std::string(text);
    sound += *point <= 0xFF ? static_cast<char>(*point) : kUnrepresentable;
  }
  return sound;
}

#include "platform/text_codec.h"

#include "persist/text_reader.h"

namespace {

bool IsStorable(char16_t c) {
  return c <= 0xFF && c != text_format::kEncodedLineFeed &&
         c != text_format::kEncodedCarriageReturn;
}

}  // namespace

std::string ToFileText(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    bytes.push_back(IsStorable(code) ? static_cast<char>(code) : kUnrepresentableCharacter);
  }
  return bytes;
}

QString FromFileText(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

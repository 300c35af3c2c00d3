// Text crossing between the widgets and the file format. Files hold 8-bit strings in which the
// bytes 0xA2 and 0xA5 stand for line feed and carriage return, so text goes over as Latin-1 and
// every character that could not come back as itself is replaced before it reaches a file.
#pragma once

#include <QString>
#include <string>

inline constexpr char kUnrepresentableCharacter = '?';

// Latin-1 bytes of `text`; characters outside Latin-1 and the two reserved ones ("¢" and "¥")
// become '?'.
std::string ToFileText(const QString& text);
QString FromFileText(const std::string& bytes);

// The program's settings store: one key per section below the root of the program, every value
// read with a default. Each operation opens the store, does its one thing and closes it again, so
// nothing is cached between calls. Sections may nest with backslashes ("Tools\" + a tool title);
// the empty section is the root, and the empty value name is the key's default value.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

inline constexpr char kSettingsOrganisation[] = "Quorvane";
inline constexpr char kSettingsApplication[] = "Zelmar_1.0";

// Write the value, creating the section (and missing parents) when absent.
void SettingsWriteString(const QString& section, const QString& name, const QString& value);
void SettingsWriteInteger(const QString& section, const QString& name, std::int32_t value);

// The stored value, or `fallback` when the section or the value is absent (or, for integers,
// not a number).
QString SettingsReadString(const QString& section, const QString& name, const QString& fallback);
std::int32_t SettingsReadInteger(const QString& section, const QString& name,
                                 std::int32_t fallback);

// Names of the direct subkeys or values of a section; none when the section does not exist.
std::optional<QStringList> SettingsSubkeyNames(const QString& section);
std::optional<QStringList> SettingsValueNames(const QString& section);

// Deletes a value; false when the section or the value does not exist.
bool SettingsDeleteValue(const QString& section, const QString& name);
// Deletes a section with its values and every section below it; false when it does not exist.
// The root (the empty section) is never deleted.
bool SettingsDeleteSection(const QString& section);

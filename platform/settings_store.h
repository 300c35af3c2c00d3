// The program's settings store: one key per section below the root of the program, every value
// read with a default. Sections may nest with backslashes ("Tools\" + a tool title); the empty
// section is the root, and the empty value name is the key's default value.
//
// A TSettingsStore is the store opened once: a load or a save makes all its reads and writes
// through one, so that the file is read once and written once (when the object goes), however
// many values it holds. The free functions open the store for one operation each.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <optional>

inline constexpr char kSettingsOrganisation[] = "Quorvane";
inline constexpr char kSettingsApplication[] = "Zelmar_1.0";

class TSettingsStore {
 public:
  TSettingsStore();
  TSettingsStore(const TSettingsStore&) = delete;
  TSettingsStore& operator=(const TSettingsStore&) = delete;

  // The stored value as the store holds it; none when the section or the value is absent.
  std::optional<QVariant> Value(const QString& section, const QString& name) const;
  // The stored value, or `fallback` when the section or the value is absent (or, for integers,
  // not a number).
  QString ReadString(const QString& section, const QString& name, const QString& fallback) const;
  std::int32_t ReadInteger(const QString& section, const QString& name,
                           std::int32_t fallback) const;

  // Names of the direct subkeys or values of a section, in the store's order; none when the
  // section does not exist.
  std::optional<QStringList> SubkeyNames(const QString& section) const;
  std::optional<QStringList> ValueNames(const QString& section) const;

  // Writes the value, creating the section (and missing parents) when absent.
  void WriteString(const QString& section, const QString& name, const QString& value);
  void WriteInteger(const QString& section, const QString& name, std::int32_t value);

  // Deletes a value; false when the section or the value does not exist.
  bool DeleteValue(const QString& section, const QString& name);
  // Deletes a section with its values and every section below it; false when it does not
  // exist. The root (the empty section) is never deleted.
  bool DeleteSection(const QString& section);

 private:
  // The names below `section`, none when it has neither values nor subkeys.
  std::optional<QStringList> Children(const QString& section, bool groups) const;

  mutable QSettings store_;
};

// A stored value as a number, when it is one (a text of digits or a number of any width); the
// store's own conversion would wrap a number too wide for 32 bits.
std::optional<std::int64_t> SettingsNumber(const QVariant& value);

// One operation each, on a store opened for it.
void SettingsWriteString(const QString& section, const QString& name, const QString& value);
void SettingsWriteInteger(const QString& section, const QString& name, std::int32_t value);
QString SettingsReadString(const QString& section, const QString& name, const QString& fallback);
std::int32_t SettingsReadInteger(const QString& section, const QString& name,
                                 std::int32_t fallback);
std::optional<QStringList> SettingsSubkeyNames(const QString& section);
std::optional<QStringList> SettingsValueNames(const QString& section);
bool SettingsDeleteValue(const QString& section, const QString& name);
bool SettingsDeleteSection(const QString& section);

#include "platform/settings_store.h"

#include <QSettings>

namespace {

// The store separates groups with slashes, but value names are often folder paths and tool
// titles may hold slashes too; such characters are escaped inside every name.
const QString kDefaultValueName = QStringLiteral(".default");

QString EscapeName(QString name) {
  name.replace('%', QLatin1String("%25"));
  name.replace('/', QLatin1String("%2F"));
  name.replace('\\', QLatin1String("%5C"));
  return name;
}

QString UnescapeName(QString name) {
  name.replace(QLatin1String("%2F"), QLatin1String("/"));
  name.replace(QLatin1String("%5C"), QLatin1String("\\"));
  name.replace(QLatin1String("%25"), QLatin1String("%"));
  return name;
}

QString ValueKey(const QString& name) {
  return name.isEmpty() ? kDefaultValueName : EscapeName(name);
}

QStringList SectionParts(const QString& section) { return section.split('\\', Qt::SkipEmptyParts); }

QString GroupPath(const QString& section) {
  QStringList escaped;
  for (const QString& part : SectionParts(section))
    escaped << EscapeName(part);
  return escaped.join('/');
}

// An open view of one section; `exists` tells whether the section is in the store.
class TSection {
 public:
  explicit TSection(const QString& section) : store_(kSettingsOrganisation, kSettingsApplication) {
    const QStringList parts = SectionParts(section);
    exists_ = true;
    for (const QString& part : parts) {
      if (!store_.childGroups().contains(EscapeName(part))) exists_ = false;
      store_.beginGroup(EscapeName(part));
    }
    if (parts.isEmpty()) exists_ = !store_.allKeys().isEmpty();
  }

  bool Exists() const { return exists_; }
  QSettings& Store() { return store_; }

 private:
  QSettings store_;
  bool exists_ = false;
};

std::optional<QVariant> ReadValue(const QString& section, const QString& name) {
  TSection key(section);
  if (!key.Exists() || !key.Store().contains(ValueKey(name))) return std::nullopt;
  return key.Store().value(ValueKey(name));
}

void WriteValue(const QString& section, const QString& name, const QVariant& value) {
  QSettings store(kSettingsOrganisation, kSettingsApplication);
  const QString group = GroupPath(section);
  store.setValue(group.isEmpty() ? ValueKey(name) : group + '/' + ValueKey(name), value);
}

std::optional<QStringList> Unescaped(const QStringList& names) {
  QStringList result;
  for (const QString& name : names) {
    result << (name == kDefaultValueName ? QString() : UnescapeName(name));
  }
  return result;
}

}  // namespace

void SettingsWriteString(const QString& section, const QString& name, const QString& value) {
  WriteValue(section, name, value);
}

void SettingsWriteInteger(const QString& section, const QString& name, std::int32_t value) {
  WriteValue(section, name, value);
}

QString SettingsReadString(const QString& section, const QString& name, const QString& fallback) {
  const auto value = ReadValue(section, name);
  return value ? value->toString() : fallback;
}

std::int32_t SettingsReadInteger(const QString& section, const QString& name,
                                 std::int32_t fallback) {
  const auto value = ReadValue(section, name);
  if (!value) return fallback;
  bool isNumber = false;
  const int number = value->toInt(&isNumber);
  return isNumber ? number : fallback;
}

std::optional<QStringList> SettingsSubkeyNames(const QString& section) {
  TSection key(section);
  if (!key.Exists()) return std::nullopt;
  return Unescaped(key.Store().childGroups());
}

std::optional<QStringList> SettingsValueNames(const QString& section) {
  TSection key(section);
  if (!key.Exists()) return std::nullopt;
  return Unescaped(key.Store().childKeys());
}

bool SettingsDeleteValue(const QString& section, const QString& name) {
  TSection key(section);
  if (!key.Exists() || !key.Store().contains(ValueKey(name))) return false;
  key.Store().remove(ValueKey(name));
  return true;
}

bool SettingsDeleteSection(const QString& section) {
  const QString group = GroupPath(section);
  if (group.isEmpty() || !TSection(section).Exists()) return false;
  QSettings store(kSettingsOrganisation, kSettingsApplication);
  store.remove(group);
  return true;
}

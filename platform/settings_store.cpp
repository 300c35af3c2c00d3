#include "platform/settings_store.h"

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

QString GroupPath(const QString& section) {
  QStringList escaped;
  for (const QString& part : section.split('\\', Qt::SkipEmptyParts))
    escaped << EscapeName(part);
  return escaped.join('/');
}

QString FullKey(const QString& section, const QString& name) {
  const QString group = GroupPath(section);
  return group.isEmpty() ? ValueKey(name) : group + '/' + ValueKey(name);
}

QStringList Unescaped(const QStringList& names) {
  QStringList result;
  result.reserve(names.size());
  for (const QString& name : names)
    result << (name == kDefaultValueName ? QString() : UnescapeName(name));
  return result;
}

}  // namespace

TSettingsStore::TSettingsStore() : store_(kSettingsOrganisation, kSettingsApplication) {}

std::optional<QVariant> TSettingsStore::Value(const QString& section, const QString& name) const {
  const QString key = FullKey(section, name);
  if (!store_.contains(key)) return std::nullopt;
  return store_.value(key);
}

QString TSettingsStore::ReadString(const QString& section, const QString& name,
                                   const QString& fallback) const {
  const auto value = Value(section, name);
  return value ? value->toString() : fallback;
}

std::int32_t TSettingsStore::ReadInteger(const QString& section, const QString& name,
                                         std::int32_t fallback) const {
  const auto value = Value(section, name);
  const std::optional<std::int64_t> number = value ? SettingsNumber(*value) : std::nullopt;
  if (!number || *number < INT32_MIN || *number > INT32_MAX) return fallback;
  return static_cast<std::int32_t>(*number);
}

// The store lists only what holds values: a section exists while anything is stored below it.
std::optional<QStringList> TSettingsStore::Children(const QString& section, bool groups) const {
  const QString group = GroupPath(section);
  if (!group.isEmpty()) store_.beginGroup(group);
  const QStringList names = groups ? store_.childGroups() : store_.childKeys();
  const bool exists =
      !names.isEmpty() || !(groups ? store_.childKeys() : store_.childGroups()).isEmpty();
  if (!group.isEmpty()) store_.endGroup();
  if (!exists) return std::nullopt;
  return Unescaped(names);
}

std::optional<QStringList> TSettingsStore::SubkeyNames(const QString& section) const {
  return Children(section, true);
}

std::optional<QStringList> TSettingsStore::ValueNames(const QString& section) const {
  return Children(section, false);
}

void TSettingsStore::WriteString(const QString& section, const QString& name,
                                 const QString& value) {
  store_.setValue(FullKey(section, name), value);
}

void TSettingsStore::WriteInteger(const QString& section, const QString& name, std::int32_t value) {
  store_.setValue(FullKey(section, name), value);
}

bool TSettingsStore::DeleteValue(const QString& section, const QString& name) {
  const QString key = FullKey(section, name);
  if (!store_.contains(key)) return false;
  store_.remove(key);
  return true;
}

bool TSettingsStore::DeleteSection(const QString& section) {
  const QString group = GroupPath(section);
  if (group.isEmpty() || !Children(section, false)) return false;
  store_.remove(group);
  return true;
}

std::optional<std::int64_t> SettingsNumber(const QVariant& value) {
  bool isNumber = false;
  const qlonglong number = value.toLongLong(&isNumber);
  if (!isNumber) return std::nullopt;
  return number;
}

void SettingsWriteString(const QString& section, const QString& name, const QString& value) {
  TSettingsStore().WriteString(section, name, value);
}

void SettingsWriteInteger(const QString& section, const QString& name, std::int32_t value) {
  TSettingsStore().WriteInteger(section, name, value);
}

QString SettingsReadString(const QString& section, const QString& name, const QString& fallback) {
  return TSettingsStore().ReadString(section, name, fallback);
}

std::int32_t SettingsReadInteger(const QString& section, const QString& name,
                                 std::int32_t fallback) {
  return TSettingsStore().ReadInteger(section, name, fallback);
}

std::optional<QStringList> SettingsSubkeyNames(const QString& section) {
  return TSettingsStore().SubkeyNames(section);
}

std::optional<QStringList> SettingsValueNames(const QString& section) {
  return TSettingsStore().ValueNames(section);
}

bool SettingsDeleteValue(const QString& section, const QString& name) {
  return TSettingsStore().DeleteValue(section, name);
}

bool SettingsDeleteSection(const QString& section) {
  return TSettingsStore().DeleteSection(section);
}

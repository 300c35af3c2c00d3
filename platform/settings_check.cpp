#include "platform/settings_check.h"

#include <QMetaType>
#include <QVariant>
#include <mutex>

#include "platform/settings_store.h"

namespace {

// How much of a wrong value a repair quotes.
constexpr int kQuotedCharacters = 40;

std::mutex& RepairsLock() {
  static std::mutex lock;
  return lock;
}

QStringList& CollectedRepairs() {
  static QStringList repairs;
  return repairs;
}

// A hand-edited line "a, b" reads as a list; it was meant as one text.
QString AsText(const QVariant& value) {
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ");
  return value.toString();
}

bool IsText(const QVariant& value) {
  return value.typeId() == QMetaType::QStringList || value.canConvert<QString>();
}

QString Quoted(const QString& text) {
  const QString shown =
      text.size() > kQuotedCharacters ? text.left(kQuotedCharacters) + "..." : text;
  return '"' + shown + '"';
}

}  // namespace

QString SettingsKeyText(const QString& section, const QString& name) {
  if (section.isEmpty()) return name;
  if (name.isEmpty()) return section;
  return section + '\\' + name;
}

std::int32_t TCheckedSettings::Number(const QString& section, const QString& name,
                                      std::int32_t fallback, SNumberRange range) {
  const auto value = store_.Value(section, name);
  if (!value) return fallback;
  const QString key = SettingsKeyText(section, name);
  const std::optional<std::int64_t> number = SettingsNumber(*value);
  if (!number) {
    Note(key + ": " + Quoted(AsText(*value)) + " is not a number; " + QString::number(fallback) +
         " is used.");
    return fallback;
  }
  if (*number >= range.minimum && *number <= range.maximum) {
    return static_cast<std::int32_t>(*number);
  }
  const std::int32_t repaired = !range.clamp              ? fallback
                                : *number < range.minimum ? range.minimum
                                                          : range.maximum;
  Note(QString("%1: %2 is out of range (%3 to %4); %5 is used.")
           .arg(key)
           .arg(*number)
           .arg(range.minimum)
           .arg(range.maximum)
           .arg(repaired));
  return repaired;
}

bool TCheckedSettings::Flag(const QString& section, const QString& name, bool fallback) {
  return Number(section, name, fallback ? 1 : 0, kAnyNumber) != 0;
}

QString TCheckedSettings::Text(const QString& section, const QString& name,
                               const QString& fallback) {
  const auto value = store_.Value(section, name);
  if (!value) return fallback;
  const QString key = SettingsKeyText(section, name);
  if (!IsText(*value)) {
    Note(key + ": the value is not a text; it is not used.");
    return fallback;
  }
  const QString text = AsText(*value);
  if (text.size() > kMaxSettingsText) {
    Note(QString("%1: a text of %2 characters is too long; it is not used.")
             .arg(key)
             .arg(text.size()));
    return fallback;
  }
  if (text.contains(QChar(0))) {
    Note(key + ": a text with a zero character is not used.");
    return fallback;
  }
  return text;
}

QStringList TCheckedSettings::Limited(const QString& section, const QStringList& names, int limit,
                                      const QString& what) {
  if (names.size() <= limit) return names;
  Note(QString("%1: %2 %3; the first %4 are kept.")
           .arg(section)
           .arg(names.size())
           .arg(what)
           .arg(limit));
  return names.first(limit);
}

void TCheckedSettings::Note(const QString& repair) {
  repairs_ << repair;
  const std::lock_guard lock(RepairsLock());
  CollectedRepairs() << repair;
}

QStringList TakeSettingsRepairs() {
  const std::lock_guard lock(RepairsLock());
  return std::exchange(CollectedRepairs(), {});
}

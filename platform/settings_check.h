// Reading a load's values with checks: whatever a hand-edited or damaged settings store holds
// (text where a number belongs, numbers out of their range, texts too long for what they name,
// lists longer than their limit) is put right as it is read, and each repair is said in one
// sentence. The repairs of every load are also collected for TakeSettingsRepairs, so that the
// program can say once, after it started, what it changed.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class TSettingsStore;

struct SNumberRange {
  std::int32_t minimum;
  std::int32_t maximum;
  // True: a number outside the range is moved to its nearer end; false: the fallback replaces it.
  bool clamp = true;
};

inline constexpr SNumberRange kAnyNumber{INT32_MIN, INT32_MAX};
// A colour as stored: red, green and blue in the three lowest bytes, the highest byte 0.
inline constexpr SNumberRange kColorRange{0, 0xFFFFFF, false};
// Paths and the other texts of the store; a longer one names nothing that can exist.
inline constexpr int kMaxSettingsText = 4096;

// How a section or a value is named in the repairs: "OptionsSound\StopProzesserOver".
QString SettingsKeyText(const QString& section, const QString& name);

class TCheckedSettings {
 public:
  explicit TCheckedSettings(const TSettingsStore& store) : store_(store) {}

  // A number in `range`; `fallback` when the value is absent.
  std::int32_t Number(const QString& section, const QString& name, std::int32_t fallback,
                      SNumberRange range);
  // Any number; 0 is false. `fallback` when the value is absent.
  bool Flag(const QString& section, const QString& name, bool fallback);
  // A text of at most kMaxSettingsText characters without a zero character; `fallback` when the
  // value is absent.
  QString Text(const QString& section, const QString& name, const QString& fallback);

  // The first `limit` of `names`, the entries of a list section; a longer list is a repair,
  // which names the entries as `what` ("recent files").
  QStringList Limited(const QString& section, const QStringList& names, int limit,
                      const QString& what);

  // Notes a repair the caller made (a window moved onto the screen).
  void Note(const QString& repair);
  const QStringList& Repairs() const { return repairs_; }
  const TSettingsStore& Store() const { return store_; }

 private:
  const TSettingsStore& store_;
  QStringList repairs_;
};

// The repairs of every load since the last call, in order; each is returned once.
QStringList TakeSettingsRepairs();

#include "app/recent_files.h"

#include <QFileInfo>
#include <algorithm>

#include "platform/settings_store.h"

namespace {

constexpr char kSection[] = "Files";

}  // namespace

void TRecentFiles::Reload(int maximum) {
  maximum_ = maximum;
  paths_.clear();
  QStringList names = SettingsValueNames(kSection).value_or(QStringList());
  // Values are numbered in their order; the store may list them in text order ("10" before "2").
  std::sort(names.begin(), names.end(),
            [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
  for (const QString& name : names) {
    if (paths_.size() >= maximum_) break;
    const QString path = SettingsReadString(kSection, name, {});
    if (!path.isEmpty() && QFileInfo::exists(path) && !paths_.contains(path)) paths_.append(path);
  }
}

void TRecentFiles::Add(const QString& path) {
  if (paths_.contains(path)) return;
  SettingsDeleteSection(kSection);
  QStringList stored = paths_;
  stored.prepend(path);
  for (int i = 0; i < stored.size(); ++i) {
    SettingsWriteString(kSection, QString::number(i + 1), stored[i]);
  }
  Reload(maximum_);
}

#include "app/recent_files.h"

#include <QFileInfo>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/options.h"
#include "platform/settings_check.h"
#include "platform/settings_store.h"

namespace {

constexpr char kSection[] = "Files";

void Write(TSettingsStore& store, const QStringList& paths) {
  store.DeleteSection(kSection);
  for (int i = 0; i < paths.size(); ++i)
    store.WriteString(kSection, QString::number(i + 1), paths[i]);
}

// The stored paths in the order of their numbers, at most as many as the options allow. Names
// that are no number, and paths the checks refuse, are left out. What was left out is written
// back, so that it is said once and costs nothing at the next start.
QStringList StoredPaths() {
  TSettingsStore store;
  TCheckedSettings checked(store);
  std::vector<std::pair<int, QString>> numbered;
  bool unnumbered = false;
  for (const QString& name : store.ValueNames(kSection).value_or(QStringList())) {
    bool isNumber = false;
    const int number = name.toInt(&isNumber);
    if (isNumber && number > 0) {
      numbered.emplace_back(number, name);
    } else {
      unnumbered = true;
    }
  }
  if (unnumbered) {
    checked.Note(QString(kSection) + ": entries that are not numbered 1, 2, ... are left out.");
  }
  std::sort(numbered.begin(), numbered.end());
  QStringList names;
  for (const auto& entry : numbered)
    names << entry.second;
  QStringList paths;
  for (const QString& name :
       checked.Limited(kSection, names, SFileOptions::kMaxRecentFiles, "recent files")) {
    const QString path = checked.Text(kSection, name, {});
    if (!path.isEmpty() && !paths.contains(path)) paths << path;
  }
  if (!checked.Repairs().isEmpty()) Write(store, paths);
  return paths;
}

}  // namespace

void TRecentFiles::Reload(int maximum) {
  maximum_ = maximum;
  paths_.clear();
  for (const QString& path : StoredPaths()) {
    if (paths_.size() >= maximum_) break;
    if (QFileInfo::exists(path)) paths_.append(path);
  }
}

void TRecentFiles::Add(const QString& path) {
  if (paths_.contains(path)) return;
  QStringList stored = paths_;
  stored.prepend(path);
  {
    TSettingsStore store;
    Write(store, stored);
  }
  Reload(maximum_);
}

// The settings store's file written as a whole, as an editor or a damaged disk leaves it. The
// store caches what it read by the file's size and time, so every file written gets a time of
// its own.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/settings_store.h"

inline void WriteSettingsFile(const QByteArray& bytes) {
  static int written = 0;
  const QString path = QSettings(kSettingsOrganisation, kSettingsApplication).fileName();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(bytes);
  file.close();
  const auto now = std::filesystem::file_time_type::clock::now();
  std::filesystem::last_write_time(path.toStdString(), now + std::chrono::seconds(++written));
}

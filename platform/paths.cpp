#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace {

QString& ProgramPathStorage() {
  static QString path;
  return path;
}

QString& StartDirectoryStorage() {
  static QString path;
  return path;
}

}  // namespace

bool RememberPaths() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return false;
  ProgramPathStorage() = QString::fromStdString(program.string());
  const auto current = std::filesystem::current_path(error);
  if (error) return false;
  StartDirectoryStorage() = QString::fromStdString(current.string());
  return true;
}

const QString& ProgramPath() { return ProgramPathStorage(); }

const QString& StartDirectory() { return StartDirectoryStorage(); }

bool FolderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

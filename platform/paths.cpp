#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdlib>
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
  // The graphical program is started by the `zelmar` command, which names itself here: that
  // command is the one that opens sounds and whose folder holds the examples.
  const char* command = std::getenv(kCommandVariable);
  const auto program = command != nullptr && command[0] != '\0'
                           ? std::filesystem::path(command)
                           : std::filesystem::read_symlink("/proc/self/exe", error);
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

QString ExamplesFolderFor(const QString& programPath, const QString& sourceExamples) {
  if (!programPath.isEmpty()) {
    const QString installed = QDir::cleanPath(QFileInfo(programPath).absolutePath() +
                                              QStringLiteral("/../share/zelmar/examples"));
    if (FolderExists(installed)) return installed;
  }
  return FolderExists(sourceExamples) ? QDir::cleanPath(sourceExamples) : QString();
}

QString ExamplesFolder() {
  QString program = ProgramPath();
  if (program.isEmpty()) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) program = QString::fromStdString(self.string());
  }
  return ExamplesFolderFor(program, QStringLiteral(ZELMAR_SOURCE_EXAMPLES));
}

QString UserDataFolder() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
      .filePath("zelmar");
}

#include "platform/file_types.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/paths.h"

namespace {

QString DataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// The desktop splits Exec at blanks, so a program path with reserved characters is quoted.
QString ExecArgument(const QString& path) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/_.+,=@-]+$"));
  if (plain.match(path).hasMatch()) return path;
  QString escaped = path;
  for (const QChar special : {QChar('\\'), QChar('"'), QChar('`'), QChar('$')}) {
    escaped.replace(special, QStringLiteral("\\") + special);
  }
  return '"' + escaped + '"';
}

// Group files get a description but no open command: only sounds open from the desktop.
QString DesktopEntry() {
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Zelmar\n"
             "Comment=Modular software synthesizer\n"
             "Exec=%1 %f\n"
             "Icon=zelmar\n"
             "MimeType=%2;\n"
             "Categories=AudioVideo;Audio;Midi;\n"
             "Terminal=false\n")
      .arg(ExecArgument(ProgramPath()), QLatin1String(kSoundMimeType));
}

void WriteWhole(const QString& path, const QString& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(text.toUtf8());
  file.commit();
}

}  // namespace

QString MimePackage(const QString& soundComment, const QString& groupComment) {
  // Files written by the program begin so; for files with an extension the globs decide. The
  // match values take C escapes.
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"%1\">\n"
             "    <comment>%3</comment>\n"
             "    <icon name=\"zelmar\"/>\n"
             "    <generic-icon name=\"audio-x-generic\"/>\n"
             "    <glob pattern=\"*.zmr\"/>\n"
             "    <magic>\n"
             "      <match type=\"string\" offset=\"0\" value=\"CountVoices \"/>\n"
             "    </magic>\n"
             "  </mime-type>\n"
             "  <mime-type type=\"%2\">\n"
             "    <comment>%4</comment>\n"
             "    <icon name=\"zelmar\"/>\n"
             "    <generic-icon name=\"audio-x-generic\"/>\n"
             "    <glob pattern=\"*.group\"/>\n"
             "    <magic>\n"
             "      <match type=\"string\" offset=\"0\" value=\"BEGIN \">\n"
             "        <match type=\"string\" offset=\"6:2048\" value=\"\\nMarked \"/>\n"
             "      </match>\n"
             "    </magic>\n"
             "  </mime-type>\n"
             "</mime-info>\n")
      .arg(QLatin1String(kSoundMimeType), QLatin1String(kGroupMimeType),
           soundComment.toHtmlEscaped(), groupComment.toHtmlEscaped());
}

QString MimePackagePath() { return DataFolder() + QStringLiteral("/mime/packages/zelmar.xml"); }

QString DesktopEntryPath() { return DataFolder() + QStringLiteral("/applications/zelmar.desktop"); }

void RegisterFileTypes() {
  WriteWhole(MimePackagePath(),
             MimePackage(QStringLiteral("Document zmr"), QStringLiteral("Document zmr group")));
  WriteWhole(DesktopEntryPath(), DesktopEntry());
  const QString updater = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
  if (!updater.isEmpty()) {
    QProcess::startDetached(updater, {DataFolder() + QStringLiteral("/mime")});
  }
}

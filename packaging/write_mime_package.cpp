// Writes the installed MIME package for sounds and groups (the file given as the argument) with
// the program's descriptions, from the same text that every start of the program registers.
#include <QFile>
#include <QString>

#include "platform/file_types.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly)) return 1;
  const QByteArray text =
      MimePackage(QStringLiteral("Zelmar sound"), QStringLiteral("Zelmar group")).toUtf8();
  return file.write(text) == text.size() ? 0 : 1;
}

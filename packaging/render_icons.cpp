// Renders the program's icon as the PNG files of the desktop's icon theme:
// render_icons OUT writes OUT/<n>x<n>/apps/zelmar.png for every size of kSizes.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdio>

#include "resources/artwork.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_icons OUTPUT_FOLDER\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QIcon icon = ArtworkIcon(QStringLiteral("zelmar"));
  if (icon.isNull()) {
    std::fprintf(stderr, "render_icons: the program's icon is missing\n");
    return 1;
  }
  for (const int size : kSizes) {
    const QString folder =
        QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
    if (image.size() != QSize(size, size)) {
      image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    const QString file = folder + QStringLiteral("/zelmar.png");
    if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "render_icons: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}

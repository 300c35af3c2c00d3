// Renders every picture of an artwork folder with the renderer the program uses, at 1x and 2x,
// into one contact sheet: each picture on the module panel's grey and on a dark ground, so
// that a drawing that is lost on either shows at a glance. With a third argument, each picture
// is also written on its own as <name>@1x.png and <name>@2x.png into that folder; a fourth
// argument, a regular expression, keeps only the pictures whose names match it.
//
//   artwork_sheet resources/artwork build/artwork-sheet.png [build/artwork-png [BITMAP_]]
#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct SPicture {
  QString name;
  QSize size;
  QImage x1;
  QImage x2;
};

QImage Render(QSvgRenderer& renderer, QSize size, int ratio) {
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, size.width() * ratio, size.height() * ratio));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: artwork_sheet <svg folder> <sheet.png> [png folder]\n");
    return 2;
  }
  const QDir root(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
  std::vector<SPicture> pictures;
  QDirIterator files(root.path(), {"*.svg"}, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) {
    const QString path = files.next();
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
      std::fprintf(stderr, "not a valid picture: %s\n", qPrintable(path));
      return 1;
    }
    QString name = root.relativeFilePath(path);
    name.chop(4);
    if (argc > 4 && !name.contains(QRegularExpression(QString::fromLocal8Bit(argv[4])))) continue;
    const QSize size = renderer.defaultSize();
    pictures.push_back({name, size, Render(renderer, size, 1), Render(renderer, size, 2)});
  }
  std::sort(pictures.begin(), pictures.end(),
            [](const SPicture& a, const SPicture& b) { return a.name < b.name; });

  if (argc > 3 && argv[3][0] != '\0') {
    const QDir out(QString::fromLocal8Bit(argv[3]));
    out.mkpath(".");
    for (const SPicture& picture : pictures) {
      const QString base = QString(picture.name).replace('/', '_');
      picture.x1.save(out.filePath(base + "@1x.png"));
      picture.x2.save(out.filePath(base + "@2x.png"));
    }
  }

  // A cell: 1x and 2x on the panel's grey, 1x and 2x on dark, and the 1x pixels three times
  // enlarged (nearest neighbour), to judge what a 1x screen shows; then the name. Tall
  // pictures are cut at kMaxHeight.
  constexpr int kColumns = 3;
  constexpr int kGap = 6;
  constexpr int kLabel = 14;
  constexpr int kMaxHeight = 200;
  const QColor grounds[] = {QColor(0xc0, 0xc6, 0xcc), QColor(0x2a, 0x2f, 0x36)};
  int cellWidth = 0;
  std::vector<int> rowHeights((pictures.size() + kColumns - 1) / kColumns, 0);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const QSize s = pictures[i].size;
    cellWidth = std::max(cellWidth, 2 * (s.width() * 3 + 3 * kGap) + s.width() * 3 + 4 * kGap);
    rowHeights[i / kColumns] = std::max(rowHeights[i / kColumns],
                                        std::min(s.height() * 3, kMaxHeight) + kLabel + 2 * kGap);
  }
  cellWidth = std::max(cellWidth, 230);
  int height = 0;
  for (int h : rowHeights)
    height += h;
  QImage sheet(cellWidth * kColumns, height, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(QColor(0xf4, 0xf4, 0xf4));
  QPainter painter(&sheet);
  QFont font = painter.font();
  font.setPixelSize(10);
  painter.setFont(font);
  const auto draw = [&painter](int x, int y, const QImage& image, int scale) {
    QImage shown = image;
    shown.setDevicePixelRatio(1);
    const int rows = std::min(shown.height(), kMaxHeight / scale);
    painter.drawImage(QRect(x, y, shown.width() * scale, rows * scale), shown,
                      QRect(0, 0, shown.width(), rows));
  };
  int top = 0;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    if (i > 0 && i % kColumns == 0) top += rowHeights[i / kColumns - 1];
    const SPicture& p = pictures[i];
    const int left = static_cast<int>(i % kColumns) * cellWidth;
    const int w = p.size.width() * 3 + 3 * kGap;
    const int h = rowHeights[i / kColumns] - kLabel;
    int x = left + kGap;
    for (const QColor& ground : grounds) {
      painter.fillRect(x, top + kGap / 2, w, h - kGap, ground);
      draw(x + kGap, top + kGap, p.x1, 1);
      draw(x + 2 * kGap + p.size.width(), top + kGap, p.x2, 1);
      x += w + kGap;
    }
    painter.fillRect(x, top + kGap / 2, p.size.width() * 3 + 2 * kGap, h - kGap, grounds[0]);
    draw(x + kGap, top + kGap, p.x1, 3);
    painter.setPen(Qt::black);
    painter.drawText(
        left + kGap, top + h + kLabel - 3,
        QStringLiteral("%1  %2x%3").arg(p.name).arg(p.size.width()).arg(p.size.height()));
  }
  painter.end();
  if (!sheet.save(QString::fromLocal8Bit(argv[2]))) return 1;
  std::printf("%zu pictures\n", pictures.size());
  return 0;
}

#include "desktop/system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

bool TSystemClipboard::HasData() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasFormat(QLatin1String(kClipboardFormat));
}

bool TSystemClipboard::ReadData(std::string& bytes) const {
  if (!HasData()) return false;
  const QByteArray data =
      QGuiApplication::clipboard()->mimeData()->data(QLatin1String(kClipboardFormat));
  bytes.append(data.constData(), static_cast<std::size_t>(data.size()));
  return true;
}

bool TSystemClipboard::WriteData(const std::string& bytes) {
  if (bytes.empty()) return false;
  auto* data = new QMimeData;
  data->setData(QLatin1String(kClipboardFormat),
                QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  QGuiApplication::clipboard()->setMimeData(data);
  return true;
}

#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/gui_application.h"

namespace {

TClipboardBackend* installedBackend = nullptr;

class TSystemClipboard : public TClipboardBackend {
 public:
  bool HasData() const override {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(QLatin1String(kClipboardFormat));
  }
  bool ReadData(std::string& bytes) const override {
    if (!HasData()) return false;
    const QByteArray data =
        QGuiApplication::clipboard()->mimeData()->data(QLatin1String(kClipboardFormat));
    bytes.append(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
  }
  bool WriteData(const std::string& bytes) override {
    if (bytes.empty()) return false;
    auto* data = new QMimeData;
    data->setData(QLatin1String(kClipboardFormat),
                  QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
  }
};

}  // namespace

bool TMemoryClipboard::ReadData(std::string& bytes) const {
  if (bytes_.empty()) return false;
  bytes += bytes_;
  return true;
}

bool TMemoryClipboard::WriteData(const std::string& bytes) {
  if (bytes.empty()) return false;
  bytes_ = bytes;
  return true;
}

TClipboardBackend& Clipboard() {
  static TSystemClipboard system;
  static TMemoryClipboard memory;
  if (installedBackend != nullptr) return *installedBackend;
  return HasGuiApplication() ? static_cast<TClipboardBackend&>(system) : memory;
}

void SetClipboardBackend(TClipboardBackend* backend) { installedBackend = backend; }

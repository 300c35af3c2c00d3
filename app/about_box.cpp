#include "app/about_box.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "resources/artwork.h"
#include "version.h"

namespace {

constexpr int kSplashMs = 3500;
constexpr int kIconSize = 64;

QString AboutText() {
  return QString("<b>Zelmar</b> %1<br>A modular software synthesizer.").arg(ZELMAR_VERSION);
}

}  // namespace

void ShowAboutBox(QWidget* owner) {
  QMessageBox box(owner);
  box.setWindowTitle("About Zelmar");
  box.setIconPixmap(ArtworkIcon("zelmar").pixmap(kIconSize, kIconSize));
  box.setText(AboutText());
  box.exec();
}

TSplash::TSplash() : window_(std::make_unique<QWidget>()) {
  window_->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  window_->setWindowTitle("Zelmar");
  auto* layout = new QHBoxLayout(window_.get());
  layout->setContentsMargins(24, 20, 32, 20);
  layout->setSpacing(18);
  auto* icon = new QLabel;
  icon->setPixmap(ArtworkIcon("zelmar").pixmap(kIconSize, kIconSize));
  layout->addWidget(icon);
  layout->addWidget(new QLabel(AboutText()));
  window_->setStyleSheet("QWidget { background: rgb(192, 192, 156); }");
  window_->show();
  window_->repaint();
  shown_.start();
}

void TSplash::Finish() {
  const qint64 rest = kSplashMs - shown_.elapsed();
  if (rest > 0) {
    QEventLoop wait;
    QTimer::singleShot(static_cast<int>(rest), &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
  }
  window_.reset();
}

#include "app/about_box.h"

#include <QMessageBox>

#include "resources/artwork.h"
#include "version.h"

void ShowAboutBox(QWidget* owner) {
  QMessageBox box(owner);
  box.setWindowTitle("About Zelmar");
  box.setIconPixmap(ArtworkIcon("zelmar").pixmap(64, 64));
  box.setText(QString("<b>Zelmar</b> %1<br>A modular software synthesizer.").arg(ZELMAR_VERSION));
  box.exec();
}

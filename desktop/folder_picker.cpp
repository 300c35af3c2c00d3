#include "desktop/folder_picker.h"

#include <QDir>
#include <QFileDialog>

bool SelectFolder(QWidget* owner, const QString& title, QString& path) {
  const QString chosen = QFileDialog::getExistingDirectory(owner, title, QDir::homePath());
  if (chosen.isEmpty()) return false;
  path = chosen;
  return true;
}

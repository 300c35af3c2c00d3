// The folder picker of the file browsers' add-folder buttons.
#pragma once

#include <QString>

class QWidget;

// Lets the user choose a folder; true with the folder in `path`, false (and `path` unchanged)
// when the user cancelled. The picker starts at the user's home.
bool SelectFolder(QWidget* owner, const QString& title, QString& path);

// The " Sounds " and " Groups " pages: a folder tree of sound or group files with buttons to add
// a folder, delete the selected entry and refresh. Choosing a sound file opens it; group files
// are dragged onto an editor window instead.
#pragma once

#include <QWidget>
#include <functional>

#include "app/file_browser.h"

class QToolButton;
class QTreeWidget;
class QAction;

// What tells the two pages apart.
struct SBrowserKind {
  QString section;      // settings section of the folders
  QString extension;    // of the files, without the dot
  QString pickerTitle;  // of the folder picker of the add button
  QString newHint;
  QString refreshHint;
  QString fileIcon;  // artwork name
};

const SBrowserKind& SoundBrowserKind();
const SBrowserKind& GroupBrowserKind();

class TFileBrowserPage : public QWidget {
 public:
  // `open` receives a chosen file (null: choosing opens nothing); `extra` adds a button.
  TFileBrowserPage(const SBrowserKind& kind, std::function<void(const QString&)> open,
                   QAction* extra = nullptr);

  TTreeViewFilesGroups& Browser() { return *browser_; }
  QTreeWidget& Tree() { return *tree_; }
  QToolButton& DeleteButton() { return *delete_; }

 private:
  void Changed();

  std::function<void(const QString&)> open_;
  QTreeWidget* tree_;
  QToolButton* delete_;
  TTreeViewFilesGroups* browser_;
};

// The folders of sounds or groups the user keeps, each with the files of one extension below
// it, in a tree of the workspace. The folders live in one settings section: each is a value
// named by its path, holding "Collapsed" while its node is collapsed. Folders that are gone
// from the disk, and folders without such files, leave the list at the next refresh; the list
// keeps at most kMaxBrowserFolders.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TSettingsStore;

inline constexpr int kMaxBrowserFolders = 1000;

// The path of a file node (folder, a separator unless the folder ends with one, name, the dot
// and `extension`), or the folder of a folder node.
QString NodePath(const QTreeWidgetItem& item, const QString& extension);

class TTreeViewFilesGroups : public QObject {
 public:
  // Fills `tree` from `section`; file nodes show `fileIcon`.
  TTreeViewFilesGroups(QTreeWidget& tree, QString section, QString extension, QIcon fileIcon);

  // Builds the tree again from the store and the disk.
  void Refresh();
  // Adds `folder` (expanded) and refreshes.
  void AddFolder(const QString& folder);
  // A selected file is deleted from the disk after the user agreed; a selected folder only
  // leaves the list. Then refreshes.
  void DeleteSelected(QWidget* owner);
  // The path of the selected file or folder; empty without a selection.
  QString SelectedPath() const;
  // True when a file (not a folder) is selected.
  bool FileSelected() const;

 private:
  QStringList StoredFolders(TSettingsStore& store) const;
  void AddFolderNode(TSettingsStore& store, const QString& folder);
  void Remember(QTreeWidgetItem* item, const QString& state);

  QTreeWidget& tree_;
  QString section_;
  QString extension_;
  QIcon fileIcon_;
};

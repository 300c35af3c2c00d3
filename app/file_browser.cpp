#include "app/file_browser.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyle>
#include <QTreeWidget>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/settings_check.h"
#include "platform/settings_store.h"

namespace {

constexpr char kCollapsed[] = "Collapsed";

}  // namespace

TTreeViewFilesGroups::TTreeViewFilesGroups(QTreeWidget& tree, QString section, QString extension,
                                           QIcon fileIcon)
    : QObject(&tree),
      tree_(tree),
      section_(std::move(section)),
      extension_(std::move(extension)),
      fileIcon_(std::move(fileIcon)) {
  connect(&tree_, &QTreeWidget::itemCollapsed, this,
          [this](QTreeWidgetItem* item) { Remember(item, kCollapsed); });
  connect(&tree_, &QTreeWidget::itemExpanded, this,
          [this](QTreeWidgetItem* item) { Remember(item, QString()); });
  Refresh();
}

void TTreeViewFilesGroups::Remember(QTreeWidgetItem* item, const QString& state) {
  if (item->parent() == nullptr) SettingsWriteString(section_, item->text(0), state);
}

// Rebuilding must neither open files nor store the expanding it does itself.
void TTreeViewFilesGroups::Refresh() {
  const QSignalBlocker quiet(tree_);
  tree_.setUpdatesEnabled(false);
  tree_.clear();
  {
    TSettingsStore store;
    for (const QString& folder : StoredFolders(store))
      AddFolderNode(store, folder);
  }
  tree_.setUpdatesEnabled(true);
}

// Folders that are gone from the disk leave the list; a list longer than kMaxBrowserFolders is
// cut.
QStringList TTreeViewFilesGroups::StoredFolders(TSettingsStore& store) const {
  TCheckedSettings checked(store);
  const QStringList stored = store.ValueNames(section_).value_or(QStringList());
  const QStringList kept = checked.Limited(section_, stored, kMaxBrowserFolders, "folders");
  if (kept.size() < stored.size()) {
    QStringList states;
    for (const QString& folder : kept)
      states << store.ReadString(section_, folder, QString());
    store.DeleteSection(section_);
    for (int i = 0; i < kept.size(); ++i)
      store.WriteString(section_, kept[i], states[i]);
  }
  QStringList folders;
  for (const QString& folder : kept) {
    if (FolderExists(folder)) {
      folders << folder;
    } else {
      store.DeleteValue(section_, folder);
    }
  }
  return folders;
}

// A folder without files stays in the tree until the next refresh, but leaves the store now.
void TTreeViewFilesGroups::AddFolderNode(TSettingsStore& store, const QString& folder) {
  auto* node = new QTreeWidgetItem(&tree_, {folder});
  node->setIcon(0, QApplication::style()->standardIcon(QStyle::SP_DirIcon));
  const QStringList files =
      QDir(folder).entryList({"*." + extension_}, QDir::Files | QDir::Hidden, QDir::Name);
  if (files.isEmpty()) store.DeleteValue(section_, folder);
  for (const QString& file : files) {
    auto* child = new QTreeWidgetItem(node, {file.chopped(extension_.size() + 1)});
    child->setIcon(0, fileIcon_);
  }
  if (store.ReadString(section_, folder, QString()).isEmpty()) node->setExpanded(true);
}

void TTreeViewFilesGroups::AddFolder(const QString& folder) {
  SettingsWriteString(section_, folder, QString());
  Refresh();
}

bool TTreeViewFilesGroups::FileSelected() const {
  const QTreeWidgetItem* item = tree_.currentItem();
  return item != nullptr && item->parent() != nullptr;
}

QString NodePath(const QTreeWidgetItem& item, const QString& extension) {
  if (item.parent() == nullptr) return item.text(0);
  QString folder = item.parent()->text(0);
  if (!folder.endsWith('/')) folder += '/';
  return folder + item.text(0) + '.' + extension;
}

QString TTreeViewFilesGroups::SelectedPath() const {
  const QTreeWidgetItem* item = tree_.currentItem();
  return item != nullptr ? NodePath(*item, extension_) : QString();
}

void TTreeViewFilesGroups::DeleteSelected(QWidget* owner) {
  const QTreeWidgetItem* item = tree_.currentItem();
  if (item == nullptr) return;
  const QString path = SelectedPath();
  if (!FileSelected()) {
    SettingsDeleteValue(section_, path);
  } else if (ShowMessage(owner,
                         {"File Delete", "Are you sure you want delete file \"" + path + "\" ?",
                          TMessageIcon::Question, TMessageButtons::YesNo}) == TMessageAnswer::Yes) {
    QFile::remove(path);
  }
  Refresh();
}

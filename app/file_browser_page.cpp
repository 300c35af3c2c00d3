#include "app/file_browser_page.h"

#include <QHBoxLayout>
#include <QMimeData>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "desktop/folder_picker.h"
#include "resources/artwork.h"

namespace {

// Files leave the tree as file URLs, which editor windows and the main window take.
class TBrowserTree : public QTreeWidget {
 public:
  explicit TBrowserTree(QString extension) : extension_(std::move(extension)) {
    setHeaderHidden(true);
    setDragEnabled(true);
  }

 protected:
  QStringList mimeTypes() const override { return {"text/uri-list"}; }
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override {
    QList<QUrl> urls;
    for (const QTreeWidgetItem* item : items) {
      if (item->parent() != nullptr) urls << QUrl::fromLocalFile(NodePath(*item, extension_));
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
  }

 private:
  QString extension_;
};

QToolButton* Button(const QIcon& icon, const QString& hint) {
  auto* button = new QToolButton;
  button->setIcon(icon);
  button->setToolTip(hint);
  button->setStatusTip(hint);
  button->setAutoRaise(true);
  return button;
}

}  // namespace

const SBrowserKind& SoundBrowserKind() {
  static const SBrowserKind kind{
      "Sounds", "zmr", "Select a new sound - folder", "New Item", "Refresh Sound List", "zelmar"};
  return kind;
}

const SBrowserKind& GroupBrowserKind() {
  static const SBrowserKind kind{"Groups",
                                 "group",
                                 "Select a new group - folder",
                                 "New Folder Item",
                                 "Refresh Group List",
                                 "BITMAP_MODUL"};
  return kind;
}

TFileBrowserPage::TFileBrowserPage(const SBrowserKind& kind,
                                   std::function<void(const QString&)> open, QAction* extra)
    : open_(std::move(open)), tree_(new TBrowserTree(kind.extension)) {
  QToolButton* add = Button(style()->standardIcon(QStyle::SP_FileDialogNewFolder), kind.newHint);
  delete_ = Button(ArtworkIcon("action-delete"), "Delete Item");
  QToolButton* refresh = Button(style()->standardIcon(QStyle::SP_BrowserReload), kind.refreshHint);
  auto* buttons = new QHBoxLayout;
  for (QToolButton* button : {add, delete_, refresh})
    buttons->addWidget(button);
  if (extra != nullptr) {
    auto* more = new QToolButton;
    more->setDefaultAction(extra);
    more->setAutoRaise(true);
    buttons->addWidget(more);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addLayout(buttons);
  layout->addWidget(tree_, 1);
  browser_ =
      new TTreeViewFilesGroups(*tree_, kind.section, kind.extension, ArtworkIcon(kind.fileIcon));
  connect(add, &QToolButton::clicked, this, [this, title = kind.pickerTitle] {
    QString folder;
    if (SelectFolder(this, title, folder)) browser_->AddFolder(folder);
  });
  connect(delete_, &QToolButton::clicked, this, [this] {
    browser_->DeleteSelected(this);
    Changed();
  });
  connect(refresh, &QToolButton::clicked, this, [this] {
    browser_->Refresh();
    Changed();
  });
  connect(tree_, &QTreeWidget::currentItemChanged, this, &TFileBrowserPage::Changed);
  Changed();
}

void TFileBrowserPage::Changed() {
  delete_->setEnabled(tree_->currentItem() != nullptr);
  if (!open_ || !browser_->FileSelected()) return;
  open_(browser_->SelectedPath());
  tree_->setFocus();
}

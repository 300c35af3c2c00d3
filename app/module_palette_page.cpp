#include "app/module_palette_page.h"

#include <QMimeData>

#include "patch/module_palette.h"

namespace {

// Samples carry their type name to the canvas.
class TSampleList : public QListWidget {
 protected:
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override {
    auto* data = new QMimeData;
    if (!items.isEmpty()) {
      data->setData(kModuleSampleMime, items.front()->data(Qt::UserRole).toString().toLatin1());
    }
    return data;
  }
  QStringList mimeTypes() const override { return {kModuleSampleMime}; }
};

// "ModulOscSine" reads as "Osc Sine" in the list.
QString SampleCaption(const QString& typeName) {
  QString name = typeName;
  if (name.startsWith("Modul")) name.remove(0, 5);
  QString caption;
  for (int i = 0; i < name.size(); ++i) {
    if (i > 0 && name[i].isUpper() && !name[i - 1].isUpper()) caption += ' ';
    caption += name[i];
  }
  return caption;
}

}  // namespace

TModulePalettePage::TModulePalettePage() : tree_(new QTreeWidget), samples_(new TSampleList) {
  setOrientation(Qt::Vertical);
  tree_->setHeaderHidden(true);
  tree_->setStyleSheet("QTreeWidget { background: rgb(192, 230, 192); }");
  for (const SPaletteCategory& category : PaletteCategories()) {
    auto* node = new QTreeWidgetItem(tree_, {category.name});
    for (const char* child : category.children)
      new QTreeWidgetItem(node, {child});
  }
  tree_->sortItems(0, Qt::AscendingOrder);
  tree_->expandAll();
  // A first category is chosen, so the page never opens on an empty palette.
  QTreeWidgetItem* first = tree_->topLevelItem(0);
  samples_->setDragEnabled(true);
  samples_->setDragDropMode(QAbstractItemView::DragOnly);
  samples_->setStyleSheet("QListWidget { background: rgb(192, 192, 156); }");
  addWidget(tree_);
  addWidget(samples_);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) ShowCategory(item->text(0));
  });
  if (first != nullptr) tree_->setCurrentItem(first);
}

void TModulePalettePage::ShowCategory(const QString& category) {
  samples_->clear();
  for (const std::string& type : PaletteTypes(category.toStdString())) {
    const QString name = QString::fromStdString(type);
    auto* item = new QListWidgetItem(SampleCaption(name), samples_);
    item->setData(Qt::UserRole, name);
    item->setToolTip(name);
  }
}

#include "app/module_palette_page.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

#include "patch/modul.h"
#include "patch/module_palette.h"
#include "patch/module_registry.h"
#include "views/module_canvas.h"
#include "views/module_panel.h"

namespace {

constexpr int kSampleLeft = 5;
constexpr int kSampleGap = 8;

}  // namespace

TModulePalettePage::TModulePalettePage()
    : tree_(new QTreeWidget),
      canvas_(new TModuleCanvasView),
      samples_(std::make_shared<TModuleListeArbeiten>()) {
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
  canvas_->setBackgroundBrush(QColor(192, 192, 156));
  canvas_->viewport()->installEventFilter(this);
  addWidget(tree_);
  addWidget(canvas_);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) ShowCategory(item->text(0));
  });
  // A first category is chosen, so the page never opens on an empty palette.
  if (QTreeWidgetItem* first = tree_->topLevelItem(0)) tree_->setCurrentItem(first);
}

TModulePalettePage::~TModulePalettePage() { canvas_->Show(nullptr); }

void TModulePalettePage::ShowCategory(const QString& category) {
  canvas_->Show(nullptr);
  samples_ = std::make_shared<TModuleListeArbeiten>();
  std::vector<TModul*> stack;
  for (const std::string& type : PaletteTypes(category.toStdString())) {
    bool queryOnly = false;
    auto sample = std::dynamic_pointer_cast<TModul>(CreateModuleByType(type, queryOnly));
    if (!sample) continue;
    sample->parent = samples_.get();
    samples_->Add(samples_->UniqueKey(type), sample);
    stack.push_back(sample.get());
  }
  canvas_->Show(samples_.get(), kPanelSample);
  // Stacked once the panels exist, since building a panel may fit its module to its ports.
  int top = kSampleGap;
  for (TModul* sample : stack) {
    const TRect rect = sample->Rect->GetRect();
    const int height = rect.bottom - rect.top;
    sample->Rect->Set(kSampleLeft, top, kSampleLeft + rect.right - rect.left, top + height);
    sample->PropertyChanged(sample->Rect.get());
    top += height + kSampleGap;
  }
}

QString TModulePalettePage::SampleAt(QPoint viewportPos) const {
  for (QGraphicsItem* item = canvas_->itemAt(viewportPos); item != nullptr;
       item = item->parentItem()) {
    if (item->type() != TModulePanelItem::Type) continue;
    const TModul* module = static_cast<TModulePanelItem*>(item)->Module();
    return module ? QString::fromStdString(module->typeName) : QString();
  }
  return {};
}

bool TModulePalettePage::eventFilter(QObject* watched, QEvent* event) {
  if (watched != canvas_->viewport()) return QSplitter::eventFilter(watched, event);
  if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseMove) return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
    pressedAt_ = mouse->position().toPoint();
    pressedType_ = SampleAt(pressedAt_);
  } else if (event->type() == QEvent::MouseMove && !pressedType_.isEmpty() &&
             (mouse->buttons() & Qt::LeftButton) != 0 &&
             (mouse->position().toPoint() - pressedAt_).manhattanLength() >=
                 QApplication::startDragDistance()) {
    auto* drag = new QDrag(canvas_);
    auto* data = new QMimeData;
    data->setData(kModuleSampleMime, pressedType_.toLatin1());
    drag->setMimeData(data);
    pressedType_.clear();
    drag->exec(Qt::CopyAction);
    return true;
  }
  return false;
}

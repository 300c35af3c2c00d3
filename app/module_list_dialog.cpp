#include "app/module_list_dialog.h"

#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "patch/dokument_klang.h"
#include "patch/modul_bild.h"
#include "patch/module_list.h"
#include "platform/text_codec.h"
#include "resources/artwork.h"

namespace {

constexpr int kHelpContext = 1110;
constexpr int kKeyRole = Qt::UserRole;

// Every dialog of the run opens where the last one closed.
std::optional<QRect>& SavedBounds() {
  static std::optional<QRect> bounds;
  return bounds;
}

// The picture of a module's panel button, as large as fits `size`.
QPixmap Glyph(const QString& name, QSize size, qreal ratio) {
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const QSizeF fitted = QSizeF(ArtworkSize(name)).scaled(QSizeF(size) * 0.75, Qt::KeepAspectRatio);
  const QPointF corner((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2);
  PaintArtwork(painter, QRectF(corner, fitted), name);
  return pixmap;
}

}  // namespace

TModuleListDialog::TModuleListDialog(TModuleListe& list, QWidget* parent)
    : TShellDialog("Modules", kHelpContext, parent),
      list_(list),
      document_(list.FindAncestor<TDokumentKlang>()),
      wasPlaying_(document_ != nullptr && document_->StopSound() == TKlangEngine::kStopped),
      pending_(std::make_shared<TMacroAction>("Component Window")) {
  setWindowFlag(Qt::Tool);
  SetContent(Content());
  Fill();
  resize(420, 360);
  if (SavedBounds()) setGeometry(*SavedBounds());
}

TModuleListDialog::~TModuleListDialog() {
  SavedBounds() = geometry();
  list_.RestartDocument(false);
  if (wasPlaying_) document_->StartSound();
  list_.StateCallback.Call(0, 0, 0);
}

QWidget* TModuleListDialog::Content() {
  auto* content = new QWidget;
  auto* layout = new QHBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  items_ = new QListWidget;
  items_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(items_, 1);
  auto* side = new QVBoxLayout;
  picture_ = new QLabel;
  picture_->setFixedSize(64, 64);
  picture_->setAlignment(Qt::AlignCenter);
  selectAll_ = new QPushButton("&Select All");
  goTo_ = new QPushButton("&Go To");
  remove_ = new QPushButton("&Remove");
  side->addWidget(picture_, 0, Qt::AlignHCenter);
  for (QPushButton* button : {selectAll_, goTo_, remove_})
    side->addWidget(button);
  side->addStretch(1);
  layout->addLayout(side);
  connect(items_, &QListWidget::itemSelectionChanged, this, &TModuleListDialog::SelectionChanged);
  connect(selectAll_, &QPushButton::clicked, items_, &QListWidget::selectAll);
  connect(goTo_, &QPushButton::clicked, this, &TModuleListDialog::GoTo);
  connect(remove_, &QPushButton::clicked, this, &TModuleListDialog::Remove);
  return content;
}

// Items hold module keys rather than modules: removing and restoring modules re-creates them.
void TModuleListDialog::Fill() {
  for (const auto& [key, child] : list_.Children()) {
    auto* module = dynamic_cast<TModul*>(child.get());
    if (module == nullptr) continue;
    auto* item = new QListWidgetItem(FromFileText(module->Title->value), items_);
    item->setData(kKeyRole, QString::fromStdString(key));
  }
  UpdateButtons();
}

TModul* TModuleListDialog::ModuleOf(int row) const {
  const QListWidgetItem* item = items_->item(row);
  if (item == nullptr) return nullptr;
  return dynamic_cast<TModul*>(list_.Get(item->data(kKeyRole).toString().toStdString()).get());
}

void TModuleListDialog::UpdateButtons() {
  const QList<QListWidgetItem*> selected = items_->selectedItems();
  remove_->setEnabled(!selected.isEmpty());
  goTo_->setEnabled(selected.size() == 1);
  picture_->clear();
  if (selected.size() != 1) return;
  if (auto* pictured = dynamic_cast<TModulBild*>(ModuleOf(items_->row(selected.front())))) {
    picture_->setPixmap(Glyph(QString::fromStdString(pictured->PanelPicture().name),
                              picture_->size(), devicePixelRatioF()));
  }
}

// The canvas shows the list's selection.
void TModuleListDialog::SelectionChanged() {
  UpdateButtons();
  list_.UnmarkAll();
  for (int row = 0; row < items_->count(); ++row) {
    if (!items_->item(row)->isSelected()) continue;
    if (TModul* module = ModuleOf(row)) module->SetMarked(true);
  }
}

void TModuleListDialog::GoTo() {
  auto* view = dynamic_cast<QGraphicsView*>(list_.Canvas);
  if (view == nullptr) return;
  for (QListWidgetItem* item : items_->selectedItems()) {
    if (TModul* module = ModuleOf(items_->row(item))) {
      const TRect r = module->Rect->GetRect();
      view->ensureVisible(QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top));
    }
  }
}

void TModuleListDialog::Remove() {
  TPropTypList marked;
  list_.CollectMarked(marked, 0);
  qDeleteAll(items_->selectedItems());
  if (TRPointerMacroAction deletion = list_.DeleteModules(marked, true)) {
    deletion->Execute();
    pending_->Append(deletion);
  }
  list_.RestartDocument(false);
  UpdateButtons();
}

bool TModuleListDialog::Confirm() {
  if (!pending_->IsEmpty()) list_.ActionManager.RecordAction(pending_);
  pending_ = std::make_shared<TMacroAction>("Component Window");
  return true;
}

void TModuleListDialog::reject() {
  if (!pending_->IsEmpty()) pending_->CreateInverse()->Execute();
  pending_ = std::make_shared<TMacroAction>("Component Window");
  QDialog::reject();
}

#include "views/module_dialog.h"

#include <QFrame>
#include <QGraphicsView>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "patch/modul_bild.h"
#include "patch/place_near.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "views/module_panel.h"

namespace {

constexpr int kGap = 2;
constexpr int kCentred = 8;
constexpr int kNameLength = 40;
constexpr int kButtonBarHeight = 30;
constexpr QSize kButtonSize{60, 24};

TModalRunner& Runner() {
  static TModalRunner runner;
  return runner;
}

TRect ToRect(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The panel's rectangle on the screen, or an empty one when the module is not on a visible canvas.
QRect PanelOnScreen(const TModulBild& module) {
  const auto* view = dynamic_cast<const TModulePanelView*>(module.Panel.get());
  const TModulePanelItem* item = view ? view->Item() : nullptr;
  if (item == nullptr || item->scene() == nullptr) return {};
  for (const QGraphicsView* canvas : item->scene()->views()) {
    if (!canvas->isVisible()) continue;
    const QRect inView = canvas->mapFromScene(item->sceneBoundingRect()).boundingRect();
    return {canvas->viewport()->mapToGlobal(inView.topLeft()), inView.size()};
  }
  return {};
}

void Place(QDialog& form, const QRect& anchor, int position) {
  form.adjustSize();
  const QScreen* screen = anchor.isNull() ? nullptr : QGuiApplication::screenAt(anchor.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const SPlaceNear place{ToRect(QRect(QPoint(0, 0), form.size())), ToRect(anchor),
                         anchor.isNull() ? kCentred : position, kGap};
  const TRect placed = PlaceNear(place, ToRect(screen->availableGeometry()));
  form.move(placed.left, placed.top);
}

QPushButton* AddButton(QHBoxLayout& bar, const QString& text, const char* name) {
  auto* button = new QPushButton(text);
  button->setObjectName(QString::fromLatin1(name));
  button->setMinimumSize(kButtonSize);
  button->setAutoDefault(false);
  bar.addWidget(button);
  return button;
}

}  // namespace

void SetModalRunner(TModalRunner runner) { Runner() = std::move(runner); }

bool ShowModuleDialog(TModulBild& module, QDialog& form, bool modal, int position) {
  module.SelectOnly();
  Place(form, PanelOnScreen(module), position);
  if (!modal) return false;
  const int result = Runner() ? Runner()(form) : form.exec();
  if (result != QDialog::Accepted) return false;
  module.MarkChanged();
  return true;
}

TModuleDialog::TModuleDialog(TModulBild& module) : module_(module), rows_(new QGridLayout) {
  setWindowFlags(Qt::Tool);
  setWindowTitle(FromFileText(module.Title->value));
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  rows_->setContentsMargins(6, 8, 6, 8);
  rows_->setHorizontalSpacing(8);
  layout->addLayout(rows_);
  layout->addStretch();

  auto* panelUnten = new QFrame;
  panelUnten->setObjectName(QStringLiteral("PanelUnten"));
  panelUnten->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panelUnten->setFixedHeight(kButtonBarHeight);
  auto* bar = new QHBoxLayout(panelUnten);
  bar->setContentsMargins(4, 2, 4, 2);
  QPushButton* ok = AddButton(*bar, QStringLiteral("&OK"), "BitBtnOk");
  QPushButton* cancel = AddButton(*bar, QStringLiteral("&Cancel"), "BitBtnCancel");
  bar->addStretch();
  QPushButton* help = AddButton(*bar, QStringLiteral("&Help"), "ButtonHelp");
  ok->setDefault(true);
  layout->addWidget(panelUnten);

  connect(ok, &QPushButton::clicked, this, [this] { BitBtnOkClick(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { module_.ShowHelp(); });
}

int TModuleDialog::AddRow(const QString& label, QWidget* field, QWidget* buddy) {
  const int row = rows_->rowCount();
  auto* caption = new QLabel(label);
  caption->setBuddy(buddy != nullptr ? buddy : field);
  rows_->addWidget(caption, row, 0);
  rows_->addWidget(field, row, 1);
  return row;
}

void TModuleDialog::AddBelow(QWidget* widget, bool wide) {
  const int row = rows_->rowCount();
  if (wide) {
    rows_->addWidget(widget, row, 0, 1, 2);
  } else {
    rows_->addWidget(widget, row, 1);
  }
}

QLineEdit* TModuleDialog::AddEdit(const QString& label, const char* name, int maxLength) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(maxLength);
  AddRow(label, edit);
  return edit;
}

QLineEdit* TModuleDialog::AddNumberEdit(const QString& label, const char* name, int maxLength,
                                        const QString& note) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(maxLength);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (maxLength + 2));
  AddRow(label, InOneLine({edit, new QLabel(note)}), edit);
  return edit;
}

QWidget* InOneLine(const std::vector<QWidget*>& widgets) {
  auto* field = new QWidget;
  auto* line = new QHBoxLayout(field);
  line->setContentsMargins(0, 0, 0, 0);
  for (QWidget* widget : widgets)
    line->addWidget(widget);
  line->addStretch();
  return field;
}

void TModuleDialog::ShowFault(const char* caption, const std::string& text) {
  ShowMessage(this, {QString::fromLatin1(caption), QString::fromStdString(text),
                     TMessageIcon::Error, TMessageButtons::Ok});
}

bool TModuleDialog::RefusedForReopen(const char* caption, const std::string& fault) {
  if (fault.empty()) return false;
  ShowFault(caption, fault);
  done(kReopen);
  return true;
}

void TModuleDialog::BitBtnOkClick() {
  if (Accept()) accept();
}

TStandardModulDialog::TStandardModulDialog(TModulBild& module)
    : TModuleDialog(module), EditName(AddEdit(QStringLiteral("Name"), "EditName", kNameLength)) {
  EditName->setText(FromFileText(module.Title->value));
  EditName->setMinimumWidth(192);
}

bool TStandardModulDialog::Accept() {
  StoreTitle(Module(), *EditName);
  return true;
}

void StoreTitle(TModulBild& module, const QLineEdit& edit) {
  module.Title->value = ToFileText(edit.text());
  module.PropertyChanged(module.Title.get());
}

void AddStandardDialogs(TModuleDialogOpeners& openers) {
  AddModuleDialog<TStandardModulDialog, TModulBild>(openers, std::string(kNameDialog));
}

#include "app/group_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/sample_drop.h"
#include "patch/macro_modules.h"
#include "persist/tree_message.h"
#include "platform/text_codec.h"
#include "resources/artwork.h"
#include "views/module_canvas.h"

namespace {

constexpr int kPanelPage = 0;
constexpr int kStructurePage = 1;
constexpr int kMaxNameLength = 40;
constexpr int kMaxInfoLength = 200;

}  // namespace

TGroupWindow::TGroupWindow(std::shared_ptr<TModulKomponent> macro) : macro_(std::move(macro)) {
  setWindowIcon(ArtworkIcon("zelmar"));
  setWindowTitle(FromFileText(macro_->Title->value));
  pages_ = new QTabWidget;
  panel_ = new TModuleCanvasView;
  structure_ = new TModuleCanvasView;
  pages_->addTab(panel_, "   &Panel   ");
  pages_->addTab(structure_, " &Structure ");
  pages_->setCurrentIndex(macro_->Window->ActiveWindow->value == 0 ? kPanelPage : kStructurePage);
  panel_->Show(macro_->Window->ModuleList.get());
  structure_->Show(macro_->Inside.get());
  new TSampleDrop(*structure_);
  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    macro_->Window->ActiveWindow->value = index == kPanelPage ? 0 : 1;
    emit FrontListChanged();
  });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(BuildTopBar());
  layout->addWidget(pages_);
  resize(560, 380);
}

TGroupWindow::~TGroupWindow() {
  panel_->Show(nullptr, kPanelWindowClosing);
  structure_->Show(nullptr, kPanelWindowClosing);
}

QWidget* TGroupWindow::BuildTopBar() {
  auto* bar = new QWidget;
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(6, 3, 6, 3);
  auto* show = new QToolButton;
  show->setIcon(ArtworkIcon("action-modules"));
  show->setToolTip("Show Macro");
  connect(show, &QToolButton::clicked, this, [this] { macro_->SelectOnly(); });
  name_ = new QLineEdit(FromFileText(macro_->Title->value));
  name_->setMaxLength(kMaxNameLength);
  connect(name_, &QLineEdit::textEdited, this, &TGroupWindow::Rename);
  info_ = new QLineEdit(FromFileText(macro_->InfoText->value));
  info_->setMaxLength(kMaxInfoLength);
  connect(info_, &QLineEdit::textEdited, this,
          [this](const QString& text) { macro_->InfoText->value = ToFileText(text); });
  layout->addWidget(show);
  layout->addWidget(new QLabel("Name"));
  layout->addWidget(name_, 1);
  layout->addWidget(new QLabel("Info"));
  layout->addWidget(info_, 2);
  return bar;
}

void TGroupWindow::Rename(const QString& name) {
  macro_->Title->value = ToFileText(name);
  macro_->PropertyChanged(macro_->Title.get());
  setWindowTitle(name);
}

TModuleListe* TGroupWindow::FrontList() const {
  return (pages_->currentIndex() == kPanelPage ? panel_ : structure_)->List();
}

void TGroupWindow::closeEvent(QCloseEvent* event) {
  macro_->Window->Visible->value = 0;
  // The macro keeps its outer ports: only the window closes.
  structure_->Show(nullptr, kPanelWindowClosing);
  panel_->Show(nullptr, kPanelWindowClosing);
  event->accept();
}

bool PatchHoldsMacro(const TModuleListe& list, const TModulKomponent& macro) {
  for (const auto& [key, child] : list.Children()) {
    const auto* inner = dynamic_cast<const TModulKomponent*>(child.get());
    if (inner == nullptr) continue;
    if (inner == &macro || PatchHoldsMacro(*inner->Inside, macro)) return true;
  }
  return false;
}

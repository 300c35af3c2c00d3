#include "app/sound_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_actions.h"
#include "app/sample_drop.h"
#include "patch/dokument_klang.h"
#include "platform/text_codec.h"
#include "platform/wait_cursor.h"
#include "resources/artwork.h"
#include "views/module_canvas.h"

namespace {

// Page indices match the stored "ActiveWindow": 0 the Panel page, 1 the Structure page.
constexpr int kPanelPage = 0;
constexpr int kStructurePage = 1;
// Where the "Insert text modul" button places a new note, in panel points.
constexpr int kNewTextPosition = 100;

}  // namespace

TSoundWindow::TSoundWindow(TDokumentKlang& document, QObject& frame, std::function<bool()> mayClose)
    : document_(document), frame_(frame), mayClose_(std::move(mayClose)) {
  setWindowTitle(FromFileText(document.ViewSound->Title->value));
  setWindowIcon(ArtworkIcon("zelmar"));
  pages_ = new QTabWidget;
  structure_ = new TModuleCanvasView;
  pages_->addTab(BuildPanelPage(), "&Panel");
  pages_->addTab(structure_, "&Structure");
  pages_->setCurrentIndex(document.ViewSound->ActiveWindow->value == 0 ? kPanelPage
                                                                       : kStructurePage);
  panel_->Show(document.ViewSound->ModuleList.get());
  structure_->Show(document.ModuleList.get());
  for (TModuleCanvasView* canvas : {structure_, panel_}) {
    canvas->viewport()->setMouseTracking(true);
    canvas->viewport()->installEventFilter(this);
  }
  new TSampleDrop(*structure_);
  connect(pages_, &QTabWidget::currentChanged, this, &TSoundWindow::PageChanged);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(BuildTopBar());
  layout->addWidget(pages_);
  resize(640, 420);
}

QWidget* TSoundWindow::BuildTopBar() {
  auto* bar = new QWidget;
  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(6, 3, 6, 3);
  layout->addWidget(new QLabel("Voices"));
  voices_ = new QComboBox;
  voices_->setToolTip("Voice Count");
  for (int count = 1; count <= kMaxVoices; ++count)
    voices_->addItem(QString::number(count));
  ShowVoices();
  connect(voices_, &QComboBox::activated, this, [this](int index) {
    document_.SetVoiceCount(index + 1);
    if (onVoicesChanged) onVoicesChanged();
  });
  layout->addWidget(voices_);
  layout->addStretch();
  return bar;
}

QWidget* TSoundWindow::BuildPanelPage() {
  auto* page = new QWidget;
  auto* text = new QToolButton;
  text->setText("Text");
  text->setToolTip("Insert text modul");
  connect(text, &QToolButton::clicked, this, [this] {
    document_.ViewSound->ModuleList->CreateModuleAt("ViewText", {}, kNewTextPosition,
                                                    kNewTextPosition, false);
  });
  panel_ = new TModuleCanvasView;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(4, 2, 4, 2);
  buttons->addWidget(text);
  buttons->addStretch();
  layout->addLayout(buttons);
  layout->addWidget(panel_);
  return page;
}

TModuleListe* TSoundWindow::FrontList() const {
  const TModuleCanvasView* front = pages_->currentIndex() == kPanelPage ? panel_ : structure_;
  return front->List();
}

void TSoundWindow::ShowVoices() { voices_->setCurrentIndex(document_.CountVoices->value - 1); }

void TSoundWindow::PageChanged(int index) {
  document_.ViewSound->ActiveWindow->value = index == kPanelPage ? 0 : 1;
  emit FrontListChanged();
}

void TSoundWindow::closeEvent(QCloseEvent* event) {
  if (!mayClose_()) {
    event->ignore();
    return;
  }
  document_.ModuleList->StateCallback = {};
  document_.ViewSound->ModuleList->StateCallback = {};
  {
    const TWaitCursor wait;
    // The views go now: the document they show is released when the frame reads the message.
    structure_->Show(nullptr, kPanelWindowClosing);
    panel_->Show(nullptr, kPanelWindowClosing);
  }
  QCoreApplication::postEvent(&frame_, new QEvent(kMessageSoundClosed));
  event->accept();
}

bool TSoundWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    const auto* canvas = watched == structure_->viewport() ? structure_ : panel_;
    const QPointF point =
        canvas->mapToScene(static_cast<QMouseEvent*>(event)->position().toPoint());
    emit MouseAt(point.toPoint());
  }
  return TEditorWindow::eventFilter(watched, event);
}

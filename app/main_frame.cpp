#include "app/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>

#include "app/about_box.h"
#include "app/file_browser_page.h"
#include "app/group_window.h"
#include "app/help_key.h"
#include "app/options_file_dialog.h"
#include "app/shell_actions.h"
#include "app/sound_window.h"
#include "app/window_placement.h"
#include "app/workspace_pages.h"
#include "patch/dokument_klang.h"
#include "patch/macro_modules.h"
#include "platform/frame_settings.h"
#include "platform/options.h"
#include "platform/settings_store.h"
#include "platform/text_codec.h"
#include "platform/wait_cursor.h"
#include "resources/artwork.h"

namespace {

constexpr int kTickMs = 300;
constexpr char kNoPosition[] = "x  : -  y : -";

}  // namespace

TMainFrame::TMainFrame()
    : actions_(std::make_unique<TMainActions>(*this)),
      dialogs_(*this, [this](TModulKomponent& macro) { ShowGroupWindow(macro); }) {
  // While one store is open, every other load shares what it read: the file is read once for the
  // whole start, however large a hand-edited store has grown.
  const TSettingsStore startUp;
  setWindowTitle("zmr");
  setWindowIcon(ArtworkIcon("zelmar"));
  LoadOptions(ViewOptions());
  LoadOptions(FileOptions());
  LoadOptions(SoundOptions());
  area_ = new QMdiArea;
  area_->setBackground(QColor(112, 112, 112));
  auto* splitter = new QSplitter;
  workspace_ = BuildWorkspacePages(session_, *actions_->SaveGroup);
  splitter->addWidget(workspace_.pages);
  splitter->addWidget(area_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 800});
  setCentralWidget(splitter);
  BuildStatusBar();
  ConnectFile();
  ConnectEdit();
  ConnectViewAndWindows();
  ConnectShellDialogs(*this, *actions_, session_);
  InstallHelpKey(*this, *area_);
  setAcceptDrops(true);
  recent_.Reload(FileOptions().recentFileSize);
  RebuildRecentMenu();
  SoundStateChanged(false, false);
  ActiveEditorChanged();
  connect(&timer_, &QTimer::timeout, this, &TMainFrame::Tick);
  timer_.start(kTickMs);
  SetModuleDialogs(&dialogs_);
  resize(1100, 720);
  ReadSettings();
}

TMainFrame::~TMainFrame() {
  timer_.stop();
  session_.ReleaseDocument();
  SetModuleDialogs(nullptr);
}

void TMainFrame::BuildStatusBar() {
  processor_ = new TProcessorDisplay;
  position_ = new QLabel(kNoPosition);
  position_->setMinimumWidth(110);
  statusBar()->addPermanentWidget(position_);
  statusBar()->addPermanentWidget(processor_);
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
    if (s != Qt::ApplicationActive) ShowStatus(kNoPosition);
  });
}

void TMainFrame::ConnectFile() {
  TMainActions& a = *actions_;
  connect(a.New, &QAction::triggered, &session_, &TSoundSession::NewSound);
  connect(a.Open, &QAction::triggered, this, &TMainFrame::OpenChosenFile);
  connect(a.Save, &QAction::triggered, this, [this] { session_.SaveSound(false); });
  connect(a.SaveAs, &QAction::triggered, this, [this] { session_.SaveSound(true); });
  connect(a.FileOptions, &QAction::triggered, this, [this] {
    if (TOptionsFileDialog(FileOptions(), this).exec() == QDialog::Accepted) FileOptionsChanged();
  });
  connect(a.Exit, &QAction::triggered, this, &QWidget::close);
  connect(a.Start, &QAction::triggered, &session_, &TSoundSession::StartSound);
  connect(a.Stop, &QAction::triggered, &session_, &TSoundSession::StopSound);
  connect(a.VoiceCounts, &QActionGroup::triggered, this,
          [this](QAction* item) { SelectVoices(item->data().toInt()); });
  connect(a.About, &QAction::triggered, this, [this] { ShowAboutBox(this); });
  connect(a.SaveGroup, &QAction::triggered, this, [this] {
    const QString path = QFileDialog::getSaveFileName(
        this, "Save Group", FileOptions().startOpenGroupFolder, "Group Files (*.group)");
    if (path.isEmpty() || activeList_ == nullptr) return;
    FileOptions().startOpenGroupFolder = QFileInfo(path).absolutePath();
    activeList_->ExecuteCommand(kCommandSaveGroup, ToFileText(path));
    workspace_.groups->Browser().AddFolder(QFileInfo(path).absolutePath());
  });
}

void TMainFrame::ConnectEdit() {
  for (QAction* action : actions_->Edit) {
    if (action == nullptr) continue;
    connect(action, &QAction::triggered, this,
            [this, action] { RunEditCommand(action->data().toInt()); });
  }
}

void TMainFrame::ConnectViewAndWindows() {
  TMainActions& a = *actions_;
  connect(a.ShowToolBar, &QAction::toggled, this, [this](bool shown) {
    for (QToolBar* bar : actions_->ToolBars)
      bar->setVisible(shown);
  });
  connect(a.ShowStatusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);
  connect(a.ShowWorkspace, &QAction::toggled, this,
          [this](bool shown) { workspace_.pages->setVisible(shown); });
  connect(a.Cascade, &QAction::triggered, area_, &QMdiArea::cascadeSubWindows);
  connect(a.TileHorizontally, &QAction::triggered, area_, &QMdiArea::tileSubWindows);
  connect(a.TileVertically, &QAction::triggered, area_, &QMdiArea::tileSubWindows);
  connect(a.CloseWindow, &QAction::triggered, area_, &QMdiArea::closeActiveSubWindow);
  connect(a.CloseAll, &QAction::triggered, area_, &QMdiArea::closeAllSubWindows);
  connect(area_, &QMdiArea::subWindowActivated, this, &TMainFrame::ActiveEditorChanged);
}

void TMainFrame::OpenChosenFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, "Projekt öffnen", FileOptions().startOpenFolder, "Project Files (*.zmr)");
  if (path.isEmpty()) return;
  AddRecent(path);
  FileOptions().startOpenFolder = QFileInfo(path).absolutePath();
  session_.OpenFile(path);
}

QString TMainFrame::AskSoundFileName(const QString& proposed) {
  return QFileDialog::getSaveFileName(this, "Save Sound", proposed, "Sound Files (*.zmr)");
}

void TMainFrame::Saved(const QString& path) {
  workspace_.sounds->Browser().Refresh();
  RefreshEditActions(0, 0, 0);
  AddRecent(path);
}

void TMainFrame::DocumentArrived(bool showWindow) {
  groupWindows_.Follow(session_.Document());
  if (showWindow) ShowSoundWindow();
  SelectVoices(0);
}

void TMainFrame::DocumentLeaving() {
  groupWindows_.Follow(nullptr);
  DropGroupWindows(true);
  DropSoundWindow();
  InstallList(nullptr);
}

void TMainFrame::DocumentReleased() { ActiveEditorChanged(); }

void TMainFrame::ShowSoundWindow() {
  auto* window =
      new TSoundWindow(*session_.Document(), *this, [this] { return session_.CloseSound(false); });
  window->onVoicesChanged = [this] { SelectVoices(0); };
  soundWindow_ = window;
  CaptionChanged();
  AddEditorWindow(*window, *session_.Document()->ViewSound);
  ActiveEditorChanged();
  ShowVisibleGroupWindows(*session_.Document()->ModuleList);
}

void TMainFrame::AddEditorWindow(TEditorWindow& window, TFenster& description) {
  connect(&window, &TEditorWindow::FrontListChanged, this, &TMainFrame::ActiveEditorChanged);
  connect(&window, &TEditorWindow::MouseAt, this,
          [this](QPoint p) { ShowStatus(QString("x : %1  y : %2").arg(p.x()).arg(p.y())); });
  QMdiSubWindow* frame = area_->addSubWindow(&window);
  frame->setWindowIcon(window.windowIcon());
  PlaceByDescription(*frame, description);
  frame->show();
  area_->setActiveSubWindow(frame);
}

void TMainFrame::ShowGroupWindow(TModulKomponent& macro) {
  const TDokumentKlang* document = session_.Document();
  if (document == nullptr || !PatchHoldsMacro(*document->ModuleList, macro)) return;
  if (TGroupWindow* open = GroupWindow(macro)) {
    area_->setActiveSubWindow(static_cast<QMdiSubWindow*>(open->parentWidget()));
    return;
  }
  TPropTypList* list = macro.parent;
  if (list == nullptr) return;
  auto held = std::dynamic_pointer_cast<TModulKomponent>(list->Get(list->KeyOf(&macro)));
  if (!held) return;
  auto* window = new TGroupWindow(std::move(held));
  AddEditorWindow(*window, *macro.Window);
  ActiveEditorChanged();
}

void TMainFrame::SyncGroupWindowsLater() {
  // After the edit: a window must not close or open inside the step that changed the patch.
  if (groupWindowsQueued_) return;
  groupWindowsQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    groupWindowsQueued_ = false;
    DropGroupWindows(false);
    if (TDokumentKlang* document = session_.Document())
      ShowVisibleGroupWindows(*document->ModuleList);
  });
}

void TMainFrame::ShowVisibleGroupWindows(const TModuleListe& list) {
  for (const auto& [key, child] : list.Children()) {
    auto* macro = dynamic_cast<TModulKomponent*>(child.get());
    if (macro == nullptr) continue;
    if (macro->IsShown() && macro->Window->Visible->value != 0 && GroupWindow(*macro) == nullptr) {
      ShowGroupWindow(*macro);
    }
    ShowVisibleGroupWindows(*macro->Inside);
  }
}

TGroupWindow* TMainFrame::GroupWindow(const TModulKomponent& macro) const {
  for (QMdiSubWindow* child : area_->subWindowList()) {
    auto* window = qobject_cast<TGroupWindow*>(child->widget());
    if (window != nullptr && &window->Macro() == &macro) return window;
  }
  return nullptr;
}

void TMainFrame::DropGroupWindows(bool all) {
  const TDokumentKlang* document = session_.Document();
  for (QMdiSubWindow* child : area_->subWindowList()) {
    auto* window = qobject_cast<TGroupWindow*>(child->widget());
    if (window == nullptr) continue;
    if (all || document == nullptr || !PatchHoldsMacro(*document->ModuleList, window->Macro())) {
      if (activeList_ == window->FrontList()) InstallList(nullptr);
      delete child;
    }
  }
}

void TMainFrame::CaptionChanged() {
  const QString title = session_.Title();
  if (soundWindow_) soundWindow_->setWindowTitle(title);
  // A maximised sound window has no title bar of its own.
  setWindowTitle(title.isEmpty() ? QString("zmr") : "zmr - " + title);
}

void TMainFrame::DropSoundWindow() {
  if (!soundWindow_) return;
  delete soundWindow_->parentWidget();
}

void TMainFrame::SelectVoices(int count) {
  TDokumentKlang* document = session_.Document();
  if (count != 0 && document != nullptr && count != document->CountVoices->value) {
    document->SetVoiceCount(count);
  }
  if (count == 0) count = document != nullptr ? document->CountVoices->value : 1;
  actions_->TickVoices(count);
  if (soundWindow_) soundWindow_->ShowVoices();
}

void TMainFrame::SoundStateChanged(bool canStart, bool canStop) {
  actions_->Start->setEnabled(canStart);
  actions_->Stop->setEnabled(canStop);
}

void TMainFrame::ShowPlayMode(const QString& text) { statusBar()->showMessage(text); }

void TMainFrame::ShowStatus(const QString& text) { position_->setText(text); }

void TMainFrame::Tick() {
  session_.Tick();
  TDokumentKlang* document = session_.Document();
  const bool playing = document != nullptr && document->IsStarted();
  processor_->Show(ProcessorLook(playing, playing ? document->Engine().ProcessorUsage() : 0));
}

void TMainFrame::FileOptionsChanged() {
  RebuildRecentMenu();
  session_.RestartAutosaveClock();
}

void TMainFrame::ActiveEditorChanged() {
  TModuleListe* list = nullptr;
  if (QMdiSubWindow* child = area_->currentSubWindow(); child && child->widget()) {
    TListQueryEvent query;
    QCoreApplication::sendEvent(child->widget(), &query);
    list = query.list;
  }
  InstallList(list);
  const bool any = !area_->subWindowList().isEmpty();
  processor_->setEnabled(any);
  for (QAction* action : {actions_->Save, actions_->SaveAs, actions_->CloseAll}) {
    action->setEnabled(any);
  }
  actions_->Voices->setEnabled(any);
  actions_->SampleRate->setEnabled(any);
}

void TMainFrame::InstallList(TModuleListe* list) {
  activeList_ = list;
  if (list != nullptr)
    list->StateCallback = TAMsgAllCallback::Bind(this, &TMainFrame::RefreshEditActions);
  RefreshEditActions(0, 0, 0);
}

int TMainFrame::RefreshEditActions(int, int, int) {
  auto& edit = actions_->Edit;
  for (int code = 0; code <= kCommandSaveGroup; ++code) {
    std::string caption;
    const int answer = activeList_ ? activeList_->QueryCommand(code, caption) : 0;
    switch (code) {
      case kCommandRedo:
      case kCommandUndo: {
        QAction& action = *edit[code];
        action.setEnabled(answer != 0);
        const QString hint =
            answer != 0 ? FromFileText(caption) : (code == kCommandUndo ? "Undo" : "Redo");
        action.setStatusTip(hint);
        action.setToolTip(hint);
        break;
      }
      case kCommandCut:
      case kCommandCopy:
      case kCommandDelete:
      case kCommandSelectAll:
      case kCommandPaste:
        edit[code]->setEnabled(answer != 0);
        break;
      case kQueryModuleCount:
        edit[kCommandModuleDialog]->setEnabled(answer != 0);
        break;
      case kQueryMarkedCount:
        edit[kCommandAlignGrid]->setEnabled(answer >= 1);
        for (int align = kCommandAlignLeft; align <= kCommandAlignBottom; ++align) {
          edit[align]->setEnabled(answer >= 2);
        }
        break;
      case kCommandSaveGroup:
        actions_->SaveGroup->setEnabled(answer != 0);
        break;
      default:
        break;
    }
  }
  return 0;
}

void TMainFrame::RunEditCommand(int code) {
  if (activeList_ == nullptr) return;
  if (code == kCommandUndo || code == kCommandRedo) ShowStatus(actions_->Edit[code]->statusTip());
  const TWaitCursor wait;
  activeList_->ExecuteCommand(code);
  RefreshEditActions(0, 0, 0);
}

void TMainFrame::RebuildRecentMenu() {
  recent_.Reload(FileOptions().recentFileSize);
  QMenu& menu = *actions_->RecentFiles;
  menu.clear();
  menu.setEnabled(!recent_.Paths().isEmpty());
  for (const QString& path : recent_.Paths()) {
    menu.addAction(path, this, [this, path] { session_.OpenFile(path); });
  }
}

void TMainFrame::AddRecent(const QString& path) {
  recent_.Add(QFileInfo(path).absoluteFilePath());
  RebuildRecentMenu();
}

bool TMainFrame::event(QEvent* event) {
  if (event->type() == kMessageSoundClosed) {
    session_.ReleaseDocument();
    return true;
  }
  return QMainWindow::event(event);
}

void TMainFrame::closeEvent(QCloseEvent* event) {
  if (!session_.CloseSound(true)) {
    event->ignore();
    return;
  }
  WriteSettings();
  StoreOptions(ViewOptions());
  StoreOptions(FileOptions());
  StoreOptions(SoundOptions());
  event->accept();
}

void TMainFrame::ReadSettings() {
  SMainFrameSettings settings{x(), y(), width(), height()};
  LoadFrameSettings(settings, ScreenAreas());
  move(settings.left, settings.top);
  resize(settings.width, settings.height);
  if (settings.windowState == SMainFrameSettings::kStateMinimised) {
    setWindowState(Qt::WindowMinimized);
  } else if (settings.windowState == SMainFrameSettings::kStateMaximised) {
    setWindowState(Qt::WindowMaximized);
  }
  actions_->ShowWorkspace->setChecked(settings.showList);
  actions_->ShowStatusBar->setChecked(settings.statusBar);
  actions_->ShowToolBar->setChecked(settings.toolBar);
}

void TMainFrame::WriteSettings() {
  SMainFrameSettings settings{x(), y(), width(), height()};
  const Qt::WindowStates state = windowState();
  if (state.testFlag(Qt::WindowMinimized)) {
    settings.windowState = SMainFrameSettings::kStateMinimised;
  } else if (state.testFlag(Qt::WindowMaximized)) {
    settings.windowState = SMainFrameSettings::kStateMaximised;
  }
  settings.showList = actions_->ShowWorkspace->isChecked();
  settings.statusBar = actions_->ShowStatusBar->isChecked();
  settings.toolBar = actions_->ShowToolBar->isChecked();
  StoreFrameSettings(settings);
}

namespace {

// The first dropped sound file, or empty.
QString DroppedSound(const QMimeData& data) {
  for (const QUrl& url : data.urls()) {
    const QString path = url.toLocalFile();
    if (path.endsWith(".zmr", Qt::CaseInsensitive)) return path;
  }
  return {};
}

}  // namespace

void TMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedSound(*event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainFrame::dropEvent(QDropEvent* event) {
  const QString path = DroppedSound(*event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  session_.OpenFile(path);
}

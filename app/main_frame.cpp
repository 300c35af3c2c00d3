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
#include "app/engine_options.h"
#include "app/file_browser_page.h"
#include "app/group_window.h"
#include "app/shell_actions.h"
#include "app/sound_window.h"
#include "app/window_placement.h"
#include "app/workspace_pages.h"
#include "patch/dokument_klang.h"
#include "patch/macro_modules.h"
#include "persist/tree_message.h"
#include "platform/frame_settings.h"
#include "platform/message_box.h"
#include "platform/options.h"
#include "platform/settings_store.h"
#include "platform/text_codec.h"
#include "platform/wait_cursor.h"
#include "resources/artwork.h"

namespace {

constexpr int kTickMs = 300;
// Autosave is looked at on every seventh tick.
constexpr int kTicksPerAutosaveCheck = 6;
constexpr qint64 kMsPerMinute = 60000;
constexpr char kNoPosition[] = "x  : -  y : -";

QString Quoted(const QString& text) { return '"' + text + '"'; }

void Tell(QWidget* owner, const QString& caption, const QString& text, TMessageIcon icon) {
  ShowMessage(owner, {caption, text, icon, TMessageButtons::Ok});
}

}  // namespace

TMainFrame::TMainFrame() : actions_(std::make_unique<TMainActions>(*this)) {
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
  workspace_ = BuildWorkspacePages(*this);
  splitter->addWidget(workspace_.pages);
  splitter->addWidget(area_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 800});
  setCentralWidget(splitter);
  BuildStatusBar();
  ConnectFile();
  ConnectEdit();
  ConnectViewAndWindows();
  ConnectShellDialogs(*this);
  setAcceptDrops(true);
  recent_.Reload(FileOptions().recentFileSize);
  RebuildRecentMenu();
  SetSoundActions(false, false);
  ActiveEditorChanged();
  connect(&timer_, &QTimer::timeout, this, &TMainFrame::Tick);
  timer_.start(kTickMs);
  SetModuleDialogs(&dialogs_);
  resize(1100, 720);
  ReadSettings();
}

TMainFrame::~TMainFrame() {
  timer_.stop();
  ReleaseDocument();
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
  connect(a.New, &QAction::triggered, this, &TMainFrame::NewSound);
  connect(a.Open, &QAction::triggered, this, &TMainFrame::OpenChosenFile);
  connect(a.Save, &QAction::triggered, this, [this] { SaveSound(false); });
  connect(a.SaveAs, &QAction::triggered, this, [this] { SaveSound(true); });
  connect(a.Exit, &QAction::triggered, this, &QWidget::close);
  connect(a.Start, &QAction::triggered, this, &TMainFrame::StartSound);
  connect(a.Stop, &QAction::triggered, this, &TMainFrame::StopSound);
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

void TMainFrame::StartWith(const QString& argument) {
  if (argument.toUpper() == "STANDARD") return;
  if (!argument.isEmpty() && QFileInfo::exists(argument)) {
    OpenFile(argument);
    return;
  }
  SFileOptions& options = FileOptions();
  const QString remembered = options.fileStartWindow;
  if (remembered.isEmpty()) return;
  // While the start document opens the stored option is empty, so a sound that crashes the
  // program while opening is not opened again at the next start.
  options.fileStartWindow.clear();
  StoreOptions(options);
  if (QFileInfo::exists(remembered)) {
    OpenFile(remembered);
  } else {
    NewSound();
  }
  options.fileStartWindow = remembered;
  StoreOptions(options);
}

void TMainFrame::NewSound() {
  if (!CloseSound(true)) return;
  ShowStatus("New Sound");
  CreateDocument();
  SelectVoices(0);
  ShowSoundWindow();
  SetSoundActions(true, false);
}

void TMainFrame::OpenFile(const QString& path) {
  if (!QFileInfo::exists(path)) {
    Tell(this, "Load file", "File " + Quoted(path + ' ') + " not found !", TMessageIcon::Question);
    return;
  }
  if (!CloseSound(true)) return;
  CreateDocument();
  ShowLoaded(document_->Load(QFileInfo(path).absoluteFilePath()),
             "File " + Quoted(path + ' ') + " unknown format !");
}

bool TMainFrame::OfferRecovery() {
  for (SLeftCopy& left : TRecoveryCopy::LeftBehind()) {
    const QString sound = left.originalPath.isEmpty() ? QString("A new sound")
                                                      : "The sound " + Quoted(left.originalPath);
    const QString text = sound + " had changes that were not saved when zmr ended (" +
                         left.written.toString("yyyy-MM-dd hh:mm:ss") + ").\nRestore them ?";
    if (ShowMessage(this, {"Restore Sound", text, TMessageIcon::Question,
                           TMessageButtons::YesNo}) != TMessageAnswer::Yes) {
      TRecoveryCopy::Remove(left);
      continue;
    }
    if (!CloseSound(true)) return true;
    CreateDocument();
    std::string fault;
    const bool restored = document_->Restore(left.soundText, left.originalPath, fault);
    recovery_.Adopt(left);
    ShowLoaded(restored, "The copy of " + Quoted(left.originalPath) +
                             " is damaged: " + QString::fromStdString(fault));
    return true;
  }
  return false;
}

void TMainFrame::CreateDocument() {
  document_ = std::make_unique<TDokumentKlang>();
  document_->Engine().SetListener(this);
}

void TMainFrame::ShowLoaded(bool loaded, const QString& fault) {
  sinceSave_.restart();
  SetSoundActions(true, false);
  if (document_->ViewSound->Visible->value != 0 || !loaded) ShowSoundWindow();
  if (!loaded) {
    Tell(this, "Load file", fault, TMessageIcon::Error);
    return;
  }
  SelectVoices(0);
  if (SoundOptions().startAfterLoading) StartSound();
}

void TMainFrame::OpenChosenFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, "Projekt öffnen", FileOptions().startOpenFolder, "Project Files (*.zmr)");
  if (path.isEmpty()) return;
  AddRecent(path);
  FileOptions().startOpenFolder = QFileInfo(path).absolutePath();
  OpenFile(path);
}

bool TMainFrame::SaveSound(bool askForName) {
  if (!document_) return false;
  const QString title = FromFileText(document_->ViewSound->Title->value);
  QString name = title;
  if (askForName || !document_->HasFileName()) {
    const QString proposed =
        QDir(FileOptions().startOpenFolder).filePath(QFileInfo(title).fileName());
    name = QFileDialog::getSaveFileName(this, "Save Sound", proposed, "Sound Files (*.zmr)");
    if (name.isEmpty()) return false;
    if (QFileInfo(name).suffix().isEmpty()) name += ".zmr";
    FileOptions().startOpenFolder = QFileInfo(name).absolutePath();
  }
  if (!document_->Save(name)) {
    Tell(this, "Save Sound", "File " + Quoted(name) + " could not be written !",
         TMessageIcon::Error);
    return false;
  }
  workspace_.sounds->Browser().Refresh();
  sinceSave_.restart();
  if (!FileOptions().undoAfterSave) {
    document_->Broadcast(kTreeClearHistory, 0, nullptr);
    RefreshEditActions(0, 0, 0);
  }
  ShowCaption();
  AddRecent(name);
  return true;
}

bool TMainFrame::CloseSound(bool destroy) {
  if (!document_) return true;
  const QString title = FromFileText(document_->ViewSound->Title->value);
  if (FileOptions().showLastWindow) FileOptions().fileStartWindow = title;
  if (document_->IsModified()) {
    const TMessageAnswer answer =
        ShowMessage(this, {"Save", "Save changes to  " + Quoted(title) + "  ?",
                           TMessageIcon::Warning, TMessageButtons::YesNoCancel});
    // A save that was cancelled or failed keeps the sound, so that no change is lost.
    if (answer == TMessageAnswer::Yes && !SaveSound(false)) return false;
    if (answer != TMessageAnswer::Yes && answer != TMessageAnswer::No) return false;
  }
  recovery_.Discard();
  SetSoundActions(false, false);
  if (destroy) ReleaseDocument();
  return true;
}

void TMainFrame::ReleaseDocument() {
  DropGroupWindows(true);
  DropSoundWindow();
  InstallList(nullptr);
  document_.reset();
  ShowCaption();
  SetSoundActions(false, false);
  ActiveEditorChanged();
}

void TMainFrame::ShowSoundWindow() {
  auto* window = new TSoundWindow(*document_, *this, [this] { return CloseSound(false); });
  window->onVoicesChanged = [this] { SelectVoices(0); };
  soundWindow_ = window;
  ShowCaption();
  AddEditorWindow(*window, *document_->ViewSound);
  ActiveEditorChanged();
  ShowVisibleGroupWindows(*document_->ModuleList);
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
  if (!document_ || !PatchHoldsMacro(*document_->ModuleList, macro)) return;
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

void TMainFrame::ShowVisibleGroupWindows(const TModuleListe& list) {
  for (const auto& [key, child] : list.Children()) {
    auto* macro = dynamic_cast<TModulKomponent*>(child.get());
    if (macro == nullptr) continue;
    if (macro->Panel && macro->Window->Visible->value != 0 && GroupWindow(*macro) == nullptr) {
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
  for (QMdiSubWindow* child : area_->subWindowList()) {
    auto* window = qobject_cast<TGroupWindow*>(child->widget());
    if (window == nullptr) continue;
    if (all || !document_ || !PatchHoldsMacro(*document_->ModuleList, window->Macro())) {
      if (activeList_ == window->FrontList()) InstallList(nullptr);
      delete child;
    }
  }
}

void TMainFrame::ShowCaption() {
  const QString title = document_ ? FromFileText(document_->ViewSound->Title->value) : QString();
  if (soundWindow_) soundWindow_->setWindowTitle(title);
  // A maximised sound window has no title bar of its own.
  setWindowTitle(title.isEmpty() ? QString("zmr") : "zmr - " + title);
}

void TMainFrame::DropSoundWindow() {
  if (!soundWindow_) return;
  delete soundWindow_->parentWidget();
}

void TMainFrame::SelectVoices(int count) {
  if (count != 0 && document_ && count != document_->CountVoices->value) {
    document_->SetVoiceCount(count);
  }
  if (count == 0) count = document_ ? document_->CountVoices->value : 1;
  actions_->TickVoices(count);
  if (soundWindow_) soundWindow_->ShowVoices();
}

void TMainFrame::StartSound() {
  if (!document_) return;
  const TWaitCursor wait;
  ApplySoundOptions(document_->Engine());
  switch (document_->StartSound()) {
    case TKlangEngine::kStartNoMemory:
      Tell(this, "Fault start Sound", "Can't create Memory !", TMessageIcon::None);
      return;
    case TKlangEngine::kStartNoThread:
      Tell(this, "Fault start Sound", "Can't start Thread !", TMessageIcon::None);
      return;
    default:
      SetSoundActions(false, true);
      ShowFallbackOnce();
  }
}

void TMainFrame::ShowFallbackOnce() {
  const std::string& reason = document_->Engine().FallbackReason();
  if (reason == shownFallback_) return;
  shownFallback_ = reason;
  if (!reason.empty())
    statusBar()->showMessage(QString::fromStdString("Sound " + PlayModeText(document_->Engine())));
}

void TMainFrame::StopSound() {
  if (!document_) return;
  const TWaitCursor wait;
  if (document_->StopSound() == TKlangEngine::kStopThreadHung) {
    Tell(this, "Fault start Sound", "Can't stop Thread !", TMessageIcon::None);
    return;
  }
  SetSoundActions(true, false);
}

void TMainFrame::SetSoundActions(bool canStart, bool canStop) {
  actions_->Start->setEnabled(canStart);
  actions_->Stop->setEnabled(canStop);
}

void TMainFrame::ShowStatus(const QString& text) { position_->setText(text); }

void TMainFrame::Tick() {
  if (ticks_++ > kTicksPerAutosaveCheck - 1) {
    ticks_ = 0;
    Autosave();
  }
  DropGroupWindows(false);
  // What the engine thread published (level reports, finished captures) reaches the modules.
  if (document_) document_->PollEngine();
  if (document_) ShowVisibleGroupWindows(*document_->ModuleList);
  recovery_.Follow(document_.get());
  const bool playing = document_ && document_->IsStarted();
  processor_->Show(ProcessorLook(playing, playing ? document_->Engine().ProcessorUsage() : 0));
}

void TMainFrame::FileOptionsChanged() {
  RebuildRecentMenu();
  sinceSave_.restart();
}

void TMainFrame::Autosave() {
  const SFileOptions& options = FileOptions();
  if (!options.autosave || !document_ || !document_->HasFileName()) return;
  if (sinceSave_.elapsed() <= options.autosaveTimeMin * kMsPerMinute) return;
  timer_.stop();
  SaveSound(false);
  timer_.start(kTickMs);
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
    menu.addAction(path, this, [this, path] { OpenFile(path); });
  }
}

void TMainFrame::AddRecent(const QString& path) {
  recent_.Add(QFileInfo(path).absoluteFilePath());
  RebuildRecentMenu();
}

void TMainFrame::EngineOverloaded(int) {
  QCoreApplication::postEvent(this,
                              new QEvent(static_cast<QEvent::Type>(kMessageEngineOverloaded)));
}

bool TMainFrame::event(QEvent* event) {
  if (event->type() == static_cast<QEvent::Type>(kMessageEngineOverloaded)) {
    StopSound();
    Tell(this, "Stop Sound", "Processor usage to high !", TMessageIcon::Error);
    return true;
  }
  if (event->type() == kMessageSoundClosed) {
    ReleaseDocument();
    return true;
  }
  return QMainWindow::event(event);
}

void TMainFrame::closeEvent(QCloseEvent* event) {
  if (!CloseSound(true)) {
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
  OpenFile(path);
}

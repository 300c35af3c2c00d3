#include "app/options_file_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialog_fields.h"
#include "platform/message_box.h"

namespace {

constexpr int kHelpContext = 300;
constexpr int kMaxStartFileLength = 1000;

}  // namespace

TOptionsFileDialog::TOptionsFileDialog(SFileOptions& options, QWidget* parent)
    : TOptionsDialog("Options File", kHelpContext, options, parent) {
  Pages().addTab(SavePage(), "&Save");
  Pages().addTab(StartPage(), "Start File");
  Show();
}

QWidget* TOptionsFileDialog::SavePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  recent_ = new QComboBox;
  for (int count = 1; count <= SFileOptions::kMaxRecentFiles; ++count)
    recent_->addItem(QString::number(count));
  layout->addWidget(SentenceRow("Recent file list contains", recent_, "files"));
  auto* group = new QGroupBox(" Autosave ");
  auto* inGroup = new QVBoxLayout(group);
  autosave_ = new QCheckBox("Enabled");
  minutes_ = NumberField(3);
  inGroup->addWidget(autosave_);
  inGroup->addWidget(SentenceRow("after", minutes_, "min."));
  layout->addWidget(group);
  undoAfterSave_ = new QCheckBox("Undo after save");
  layout->addWidget(undoAfterSave_);
  layout->addStretch(1);
  return page;
}

QWidget* TOptionsFileDialog::StartPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  showSound_ = new QRadioButton("Show sound");
  showLast_ = new QRadioButton("Show last open sound");
  startFile_ = new QLineEdit;
  startFile_->setMaxLength(kMaxStartFileLength);
  auto* browse = new QToolButton;
  browse->setText("...");
  connect(browse, &QToolButton::clicked, this, &TOptionsFileDialog::BrowseStartFile);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(startFile_, 1);
  fileRow->addWidget(browse);
  layout->addWidget(showSound_);
  layout->addLayout(fileRow);
  layout->addWidget(showLast_);
  layout->addStretch(1);
  return page;
}

void TOptionsFileDialog::BrowseStartFile() {
  const QString path = QFileDialog::getOpenFileName(this, "Start Sound", copy_.startOpenFolder,
                                                    "Sound Files (*.zmr)");
  if (!path.isEmpty()) startFile_->setText(path);
}

void TOptionsFileDialog::Show() {
  recent_->setCurrentIndex(std::clamp(copy_.recentFileSize, 1, SFileOptions::kMaxRecentFiles) - 1);
  autosave_->setChecked(copy_.autosave);
  minutes_->setText(QString::number(copy_.autosaveTimeMin));
  undoAfterSave_->setChecked(copy_.undoAfterSave);
  showSound_->setChecked(copy_.startWindow);
  showLast_->setChecked(!copy_.startWindow);
  startFile_->setText(copy_.fileStartWindow);
}

bool TOptionsFileDialog::Confirm() {
  const int minutes = TypedNumber(*minutes_);
  if (minutes == 0) {
    ShowMessage(
        this, {"Fault Autosave", "Time value to low !", TMessageIcon::Error, TMessageButtons::Ok});
    return false;
  }
  copy_.autosave = autosave_->isChecked();
  copy_.autosaveTimeMin = minutes;
  copy_.startWindow = showSound_->isChecked();
  copy_.showLastWindow = showLast_->isChecked();
  copy_.fileStartWindow = startFile_->text();
  copy_.undoAfterSave = undoAfterSave_->isChecked();
  copy_.recentFileSize = recent_->currentIndex() + 1;
  TakeOver();
  return true;
}

#include "app/tool_property_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include "platform/message_box.h"

namespace {

constexpr int kHelpContext = 200;
constexpr int kMaxFieldLength = 200;

QLineEdit* Field(const QString& text) {
  auto* field = new QLineEdit(text);
  field->setMaxLength(kMaxFieldLength);
  field->setMinimumWidth(320);
  return field;
}

}  // namespace

TToolPropertyDialog::TToolPropertyDialog(SToolEigenschaft& tool, QWidget* parent)
    : TShellDialog("Tool Property", kHelpContext, parent),
      tool_(tool),
      title_(Field(tool.title)),
      program_(Field(tool.path)),
      parameters_(Field(tool.kommand)),
      directory_(Field(tool.directory)) {
  auto* content = new QWidget;
  auto* form = new QFormLayout(content);
  auto* search = new QToolButton;
  search->setText("...");
  search->setToolTip("Select Tool");
  connect(search, &QToolButton::clicked, this, &TToolPropertyDialog::Search);
  auto* programRow = new QHBoxLayout;
  programRow->addWidget(program_, 1);
  programRow->addWidget(search);
  form->addRow("Titel:", title_);
  form->addRow("Program:", programRow);
  form->addRow("Parameter:", parameters_);
  form->addRow("Initial directory:", directory_);
  SetContent(content);
}

// Only programs are offered: files the user may execute, and the folders to reach them.
void TToolPropertyDialog::Search() {
  QFileDialog dialog(this, "Select Tool", QFileInfo(program_->text()).absolutePath());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter("Programs (*)");
  dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    ChooseProgram(dialog.selectedFiles().front());
  }
}

void TToolPropertyDialog::ChooseProgram(const QString& file) {
  const QFileInfo info(file);
  program_->setText(info.absoluteFilePath());
  directory_->setText(info.absolutePath() + '/');
}

bool TToolPropertyDialog::Confirm() {
  if (title_->text().isEmpty()) {
    ShowMessage(this, {"Info", "no valid Name !", TMessageIcon::Error, TMessageButtons::Ok});
    return false;
  }
  tool_ = {title_->text(), parameters_->text(), program_->text(), directory_->text()};
  return true;
}

#include "app/tools_options_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/tool_property_dialog.h"
#include "platform/message_box.h"

namespace {

constexpr int kHelpContext = 200;

void TellTitleTaken(QWidget* owner) {
  ShowMessage(owner, {"Info", "the new Name is always existing !", TMessageIcon::Information,
                      TMessageButtons::Ok});
}

}  // namespace

TToolsOptionsDialog::TToolsOptionsDialog(TToolList& tools, QWidget* parent)
    : TShellDialog("Tools Options", kHelpContext, parent),
      tools_(tools),
      list_(new QListWidget),
      new_(new QPushButton("&New")),
      delete_(new QPushButton("&Delete")),
      edit_(new QPushButton("&Edit")) {
  setWindowFlag(Qt::Tool);
  editTool = [this](SToolEigenschaft& tool) {
    return TToolPropertyDialog(tool, this).exec() == QDialog::Accepted;
  };
  auto* content = new QWidget;
  auto* layout = new QHBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_, 1);
  auto* side = new QVBoxLayout;
  for (QPushButton* button : {new_, delete_, edit_})
    side->addWidget(button);
  side->addStretch(1);
  layout->addLayout(side);
  SetContent(content);
  connect(list_, &QListWidget::currentRowChanged, this, &TToolsOptionsDialog::EnableForRow);
  connect(list_, &QListWidget::itemDoubleClicked, this, &TToolsOptionsDialog::EditSelected);
  connect(new_, &QPushButton::clicked, this, &TToolsOptionsDialog::AddTool);
  connect(edit_, &QPushButton::clicked, this, &TToolsOptionsDialog::EditSelected);
  connect(delete_, &QPushButton::clicked, this, &TToolsOptionsDialog::DeleteSelected);
  Fill();
  SelectRow(-1);
}

void TToolsOptionsDialog::Fill() {
  list_->clear();
  for (const SToolEigenschaft& tool : tools_)
    list_->addItem(tool.title);
}

void TToolsOptionsDialog::SelectRow(int row) {
  list_->setCurrentRow(row < list_->count() ? row : -1);
  EnableForRow(list_->currentRow());
}

// Delete and Edit act on the selected tool; without one they are off.
void TToolsOptionsDialog::EnableForRow(int row) {
  delete_->setEnabled(row >= 0);
  edit_->setEnabled(row >= 0);
}

bool TToolsOptionsDialog::TitleTaken(const QString& title, int except) const {
  for (int i = 0; i < tools_.size(); ++i) {
    if (i != except && tools_[i].title == title) return true;
  }
  return false;
}

void TToolsOptionsDialog::AddTool() {
  SToolEigenschaft tool;
  if (!editTool(tool)) return;
  if (TitleTaken(tool.title, -1)) {
    TellTitleTaken(this);
    return;
  }
  tools_.append(tool);
  list_->addItem(tool.title);
}

// A title another tool has is refused; the other fields are taken over all the same.
void TToolsOptionsDialog::EditSelected() {
  const int row = list_->currentRow();
  if (row < 0 || row >= tools_.size()) return;
  SToolEigenschaft edited = tools_[row];
  if (!editTool(edited)) return;
  if (TitleTaken(edited.title, row)) {
    TellTitleTaken(this);
    edited.title = tools_[row].title;
  }
  tools_[row] = edited;
  Fill();
  SelectRow(row);
}

void TToolsOptionsDialog::DeleteSelected() {
  const int row = list_->currentRow();
  if (row < 0 || row >= tools_.size()) return;
  const QString title = tools_[row].title;
  tools_.removeIf([&title](const SToolEigenschaft& tool) { return tool.title == title; });
  Fill();
  SelectRow(row);
}

#include "app/shell_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/help_window.h"

TShellDialog::TShellDialog(const QString& caption, int helpContext, QWidget* parent)
    : QDialog(parent), helpContext_(helpContext), buttons_(new QDialogButtonBox) {
  setWindowTitle(caption);
  ok_ = buttons_->addButton("&OK", QDialogButtonBox::AcceptRole);
  ok_->setDefault(true);
  buttons_->addButton("&Cancel", QDialogButtonBox::RejectRole);
  QPushButton* help = buttons_->addButton("&Help", QDialogButtonBox::HelpRole);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { ShowHelpTopic(helpContext_); });
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, [this] { ShowHelpTopic(helpContext_); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buttons_);
}

void TShellDialog::accept() {
  if (Confirm()) QDialog::accept();
}

void TShellDialog::SetContent(QWidget* content) {
  static_cast<QVBoxLayout*>(layout())->insertWidget(0, content, 1);
}

QPushButton* TShellDialog::AddButton(const QString& text) {
  return buttons_->addButton(text, QDialogButtonBox::ResetRole);
}

QTabWidget& TShellDialog::Pages() {
  if (pages_ == nullptr) {
    pages_ = new QTabWidget;
    SetContent(pages_);
  }
  return *pages_;
}

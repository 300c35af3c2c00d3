#include "app/tools_menu.h"

#include <QMenu>

#include "app/tools_options_dialog.h"

TToolsMenu::TToolsMenu(QMenu& menu, QAction& config, QWidget& owner)
    : QObject(&owner), menu_(menu), config_(config), owner_(owner) {
  connect(&config_, &QAction::triggered, this, &TToolsMenu::Configure);
  Build();
}

void TToolsMenu::Build() {
  tools_ = LoadTools();
  for (QAction* item : menu_.actions()) {
    if (item != &config_) {
      menu_.removeAction(item);
      delete item;
    }
  }
  menu_.addSeparator();
  for (const SToolEigenschaft& tool : tools_) {
    QAction* item = menu_.addAction(tool.title);
    item->setStatusTip("Activates the user defined program");
    const QString title = tool.title;
    connect(item, &QAction::triggered, this, [this, title] { RunTool(&owner_, tools_, title); });
  }
}

void TToolsMenu::Configure() {
  TToolList working = tools_;
  TToolsOptionsDialog dialog(working, &owner_);
  if (dialog.exec() != QDialog::Accepted) return;
  SaveTools(working);
  Build();
}

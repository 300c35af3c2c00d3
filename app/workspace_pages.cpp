#include "app/workspace_pages.h"

#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/main_frame.h"
#include "app/module_palette_page.h"

namespace {

// The sound and group browsers come with the file browser; until then the pages say so.
QWidget* BrowserPage(const QString& title, QAction* extra) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* tree = new QTreeWidget;
  tree->setHeaderLabel(title);
  layout->addWidget(tree);
  if (extra != nullptr) {
    auto* button = new QToolButton;
    button->setDefaultAction(extra);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    layout->addWidget(button);
  }
  return page;
}

}  // namespace

QTabWidget* BuildWorkspacePages(TMainFrame& frame) {
  auto* pages = new QTabWidget;
  pages->addTab(BrowserPage("Sounds", nullptr), " Sounds ");
  pages->addTab(new TModulePalettePage, " Modules ");
  pages->addTab(BrowserPage("Groups", frame.Actions().SaveGroup), " Groups ");
  pages->setCurrentIndex(1);
  return pages;
}

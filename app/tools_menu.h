// The Tools menu: "Tools Config" first, then a separator and one item per user tool, each
// starting its program. Configuring edits a working copy; OK stores it and builds the menu again.
#pragma once

#include <QObject>

#include "app/tools.h"

class QAction;
class QMenu;
class QWidget;

class TToolsMenu : public QObject {
 public:
  // `config` is the menu's first item; the menu belongs to `owner`.
  TToolsMenu(QMenu& menu, QAction& config, QWidget& owner);

  // Reads the tools from the store and rebuilds the items after the first.
  void Build();
  // The tools dialog on a working copy.
  void Configure();
  const TToolList& Tools() const { return tools_; }

 private:
  QMenu& menu_;
  QAction& config_;
  QWidget& owner_;
  TToolList tools_;
};

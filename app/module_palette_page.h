// The " Modules " page: the category tree and, for the chosen category, its sample modules,
// which are dragged onto a Structure page to create a module there.
#pragma once

#include <QListWidget>
#include <QSplitter>
#include <QTreeWidget>

// The drag format of a sample: the module's type name in Latin-1.
inline constexpr char kModuleSampleMime[] = "application/x-zelmar-module-type";

class TModulePalettePage : public QSplitter {
  Q_OBJECT
 public:
  TModulePalettePage();
  QTreeWidget& Tree() const { return *tree_; }
  QListWidget& Samples() const { return *samples_; }
  // Shows the samples of `category`.
  void ShowCategory(const QString& category);

 private:
  QTreeWidget* tree_;
  QListWidget* samples_;
};

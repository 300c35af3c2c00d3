// The help window: the topic pages on the right, and on the left the contents, an index of titles
// and keywords, and a search over the pages' text. One window serves the whole program; asking for
// a topic shows the window and brings it to the front.
#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;
class THelpTopics;

class THelpWindow : public QWidget {
 public:
  explicit THelpWindow(const THelpTopics& topics, QWidget* parent = nullptr);

  // Shows the page of `context` (0: the contents; an unknown number shows the contents too),
  // then shows the window and brings it to the front.
  void ShowHelpTopic(int context);
  // The context of the page shown, -1 before the first.
  int CurrentTopic() const { return current_; }

  // The Contents, Index and Search pages of the left side.
  enum class TPage { Contents = 0, Index = 1, Search = 2 };
  // Shows the window on that page with the keyboard focus in its input field.
  void ShowPage(TPage page);

  // The parts, for the tests and the screenshots.
  QTextBrowser& Browser() { return *browser_; }
  QLineEdit& IndexFilter() { return *indexFilter_; }
  QListWidget& IndexList() { return *index_; }
  QLineEdit& SearchWords() { return *searchWords_; }
  QListWidget& SearchResults() { return *results_; }

 private:
  void Display(int context);
  void FollowLink(const QUrl& url);
  void FilterIndex(const QString& start);
  void RunSearch();
  void OpenItem(QListWidgetItem* item);
  void OpenContentsItem(QTreeWidgetItem* item);

  const THelpTopics& topics_;
  QTabWidget* tabs_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* indexFilter_ = nullptr;
  QListWidget* index_ = nullptr;
  QLineEdit* searchWords_ = nullptr;
  QListWidget* results_ = nullptr;
  QTextBrowser* browser_ = nullptr;
  int current_ = -1;
};

// The program's help window, made on first use (a QApplication must exist).
THelpWindow& HelpWindow();
// Shows the topic of `context` in the program's help window.
void ShowHelpTopic(int context);

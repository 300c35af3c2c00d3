#include "app/help_window.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#include "app/help_topics.h"

namespace {

constexpr int kContextRole = Qt::UserRole;

QListWidgetItem* TopicItem(const QString& text, int context) {
  auto* item = new QListWidgetItem(text);
  item->setData(kContextRole, context);
  return item;
}

}  // namespace

THelpWindow::THelpWindow(const THelpTopics& topics, QWidget* parent)
    : QWidget(parent, Qt::Window), topics_(topics) {
  setWindowTitle(tr("Zelmar Help"));
  resize(900, 620);

  contents_ = new QTreeWidget;
  contents_->setHeaderHidden(true);
  if (const SHelpTopic* start = topics_.Topic(0)) {
    auto* item = new QTreeWidgetItem(contents_, {start->title});
    item->setData(0, kContextRole, 0);
  }
  for (const auto& [heading, linked] : topics_.ContentsSections()) {
    auto* section = new QTreeWidgetItem(contents_, {heading});
    section->setFlags(Qt::ItemIsEnabled);
    for (int context : linked) {
      auto* item = new QTreeWidgetItem(section, {topics_.Topic(context)->title});
      item->setData(0, kContextRole, context);
    }
  }
  contents_->expandAll();

  auto* indexPage = new QWidget;
  indexFilter_ = new QLineEdit;
  indexFilter_->setPlaceholderText(tr("Type the first letters of a word"));
  index_ = new QListWidget;
  for (const auto& [word, context] : topics_.IndexEntries()) {
    index_->addItem(TopicItem(word, context));
  }
  auto* indexLayout = new QVBoxLayout(indexPage);
  indexLayout->addWidget(indexFilter_);
  indexLayout->addWidget(index_);

  auto* searchPage = new QWidget;
  searchWords_ = new QLineEdit;
  searchWords_->setPlaceholderText(tr("Words to find"));
  auto* searchButton = new QPushButton(tr("&Search"));
  results_ = new QListWidget;
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(searchWords_);
  searchRow->addWidget(searchButton);
  auto* searchLayout = new QVBoxLayout(searchPage);
  searchLayout->addLayout(searchRow);
  searchLayout->addWidget(results_);

  tabs_ = new QTabWidget;
  tabs_->addTab(contents_, tr("&Contents"));
  tabs_->addTab(indexPage, tr("&Index"));
  tabs_->addTab(searchPage, tr("S&earch"));

  browser_ = new QTextBrowser;
  browser_->setOpenLinks(false);

  auto* splitter = new QSplitter;
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({280, 620});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);

  connect(browser_, &QTextBrowser::anchorClicked, this, &THelpWindow::FollowLink);
  connect(contents_, &QTreeWidget::itemActivated, this, &THelpWindow::OpenContentsItem);
  connect(contents_, &QTreeWidget::itemClicked, this, &THelpWindow::OpenContentsItem);
  connect(index_, &QListWidget::itemActivated, this, &THelpWindow::OpenItem);
  connect(index_, &QListWidget::itemClicked, this, &THelpWindow::OpenItem);
  connect(results_, &QListWidget::itemActivated, this, &THelpWindow::OpenItem);
  connect(results_, &QListWidget::itemClicked, this, &THelpWindow::OpenItem);
  connect(indexFilter_, &QLineEdit::textChanged, this, &THelpWindow::FilterIndex);
  connect(indexFilter_, &QLineEdit::returnPressed, this, [this] {
    for (int row = 0; row < index_->count(); ++row) {
      if (!index_->item(row)->isHidden()) return OpenItem(index_->item(row));
    }
  });
  connect(searchWords_, &QLineEdit::returnPressed, this, &THelpWindow::RunSearch);
  connect(searchButton, &QPushButton::clicked, this, &THelpWindow::RunSearch);
}

void THelpWindow::ShowHelpTopic(int context) {
  Display(topics_.Topic(context) != nullptr ? context : 0);
  show();
  raise();
  activateWindow();
}

void THelpWindow::ShowPage(TPage page) {
  if (current_ < 0) Display(0);
  tabs_->setCurrentIndex(static_cast<int>(page));
  show();
  raise();
  activateWindow();
  if (page == TPage::Index) indexFilter_->setFocus();
  if (page == TPage::Search) searchWords_->setFocus();
}

void THelpWindow::Display(int context) {
  const SHelpTopic* topic = topics_.Topic(context);
  if (topic == nullptr) return;
  current_ = context;
  browser_->setSource(topics_.Url(context));
  for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
    const QVariant shown = (*it)->data(0, kContextRole);
    if (shown.isValid() && shown.toInt() == context) {
      contents_->setCurrentItem(*it);
      break;
    }
  }
}

void THelpWindow::FollowLink(const QUrl& url) {
  const int context = THelpTopics::ContextOf(url);
  if (context >= 0 && topics_.Topic(context) != nullptr) {
    Display(context);
  } else if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
    QDesktopServices::openUrl(url);
  }
}

void THelpWindow::FilterIndex(const QString& start) {
  const QString wanted = start.trimmed();
  bool selected = false;
  for (int row = 0; row < index_->count(); ++row) {
    QListWidgetItem* item = index_->item(row);
    const bool shown = item->text().startsWith(wanted, Qt::CaseInsensitive);
    item->setHidden(!shown);
    if (shown && !selected) {
      index_->setCurrentItem(item);
      selected = true;
    }
  }
}

void THelpWindow::RunSearch() {
  results_->clear();
  const QList<int> found = topics_.Search(searchWords_->text());
  for (int context : found)
    results_->addItem(TopicItem(topics_.Topic(context)->title, context));
  if (found.isEmpty() && !searchWords_->text().trimmed().isEmpty()) {
    auto* none = new QListWidgetItem(tr("No topic found"));
    none->setFlags(Qt::NoItemFlags);
    results_->addItem(none);
  }
}

void THelpWindow::OpenItem(QListWidgetItem* item) {
  if (item == nullptr || !item->data(kContextRole).isValid()) return;
  Display(item->data(kContextRole).toInt());
}

void THelpWindow::OpenContentsItem(QTreeWidgetItem* item) {
  if (item == nullptr || !item->data(0, kContextRole).isValid()) return;
  Display(item->data(0, kContextRole).toInt());
}

THelpWindow& HelpWindow() {
  static THelpWindow* window = new THelpWindow(HelpTopics());
  return *window;
}

void ShowHelpTopic(int context) { HelpWindow().ShowHelpTopic(context); }

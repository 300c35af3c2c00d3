// The help topics: one HTML page per context number, compiled into the program's resources under
// :/help/<number>.html. Topic 0 is the contents and links every other topic. Pages link each other
// by relative file names ("3920.html"), so a page shows the same in the help window and in a
// browser.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <map>

struct SHelpTopic {
  int context = 0;
  QString title;         // the page's <title>
  QStringList keywords;  // its <meta name="keywords">, for the index
  QString html;
  QString text;       // the page without markup, for the search
  QStringList links;  // every href of the page, as written
};

class THelpTopics {
 public:
  // Reads every "<number>.html" of `folder`; other files are ignored.
  explicit THelpTopics(const QString& folder = QStringLiteral(":/help"));

  // The topic of `context`, or null when there is none.
  const SHelpTopic* Topic(int context) const;
  // Every context number, in increasing order.
  QList<int> Contexts() const;
  // The topics linked from the contents, in their order there, without repeats.
  QList<int> ContentsOrder() const;
  // The contents' sections: each <h2> heading with the topics linked below it, in order.
  QList<QPair<QString, QList<int>>> ContentsSections() const;
  // Index entries: every topic's title and keywords with the topic they lead to, sorted without
  // regard to case.
  QList<QPair<QString, int>> IndexEntries() const;
  // Topics whose text holds every word of `words` (case ignored, a word matches the start of a
  // word of the text), those with the most matches first; empty for no words.
  QList<int> Search(const QString& words) const;

  // Where the page of `context` is found, e.g. qrc:/help/2100.html.
  QUrl Url(int context) const;
  // The context of a page URL or relative link ("2100.html"); -1 when it names no topic page.
  static int ContextOf(const QUrl& url);

 private:
  QString folder_;
  std::map<int, SHelpTopic> topics_;
};

// The program's topics, read from the resources once.
const THelpTopics& HelpTopics();

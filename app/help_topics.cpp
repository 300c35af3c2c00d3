#include "app/help_topics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <algorithm>

namespace {

QString FirstMatch(const QString& html, const QRegularExpression& pattern) {
  const QRegularExpressionMatch match = pattern.match(html);
  return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

QString PlainText(const QString& html) {
  QTextDocument document;
  document.setHtml(html);
  return document.toPlainText();
}

SHelpTopic ReadTopic(int context, const QString& html) {
  static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                        QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression keywords(
      QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""));
  static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
  SHelpTopic topic;
  topic.context = context;
  topic.html = html;
  topic.title = PlainText(FirstMatch(html, title));
  for (const QString& word : FirstMatch(html, keywords).split(',', Qt::SkipEmptyParts)) {
    const QString keyword = PlainText(word.trimmed());
    if (!keyword.isEmpty()) topic.keywords << keyword;
  }
  topic.text = PlainText(html);
  for (auto it = href.globalMatch(html); it.hasNext();)
    topic.links << it.next().captured(1);
  return topic;
}

// How often a word of `text` begins with `word` (both already folded to lower case).
int CountWordStarts(const QString& text, const QString& word) {
  int count = 0;
  for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
    if (at == 0 || !text.at(at - 1).isLetterOrNumber()) ++count;
  }
  return count;
}

}  // namespace

THelpTopics::THelpTopics(const QString& folder) : folder_(folder) {
  static const QRegularExpression page(QStringLiteral("^(\\d+)\\.html$"));
  for (const QFileInfo& file :
       QDir(folder).entryInfoList({QStringLiteral("*.html")}, QDir::Files)) {
    const QRegularExpressionMatch match = page.match(file.fileName());
    if (!match.hasMatch()) continue;
    QFile input(file.filePath());
    if (!input.open(QIODevice::ReadOnly)) continue;
    const int context = match.captured(1).toInt();
    topics_[context] = ReadTopic(context, QString::fromUtf8(input.readAll()));
  }
}

const SHelpTopic* THelpTopics::Topic(int context) const {
  const auto found = topics_.find(context);
  return found == topics_.end() ? nullptr : &found->second;
}

QList<int> THelpTopics::Contexts() const {
  QList<int> contexts;
  for (const auto& entry : topics_)
    contexts << entry.first;
  return contexts;
}

QList<int> THelpTopics::ContentsOrder() const {
  QList<int> order;
  if (const SHelpTopic* contents = Topic(0)) {
    for (const QString& link : contents->links) {
      const int context = ContextOf(QUrl(link));
      if (context > 0 && Topic(context) != nullptr && !order.contains(context)) order << context;
    }
  }
  return order;
}

QList<QPair<QString, QList<int>>> THelpTopics::ContentsSections() const {
  static const QRegularExpression heading(QStringLiteral("<h2>(.*?)</h2>"),
                                          QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
  QList<QPair<QString, QList<int>>> sections;
  const SHelpTopic* contents = Topic(0);
  if (contents == nullptr) return sections;
  const QString& html = contents->html;
  QList<QRegularExpressionMatch> headings;
  for (auto it = heading.globalMatch(html); it.hasNext();)
    headings << it.next();
  for (qsizetype i = 0; i < headings.size(); ++i) {
    const qsizetype end = i + 1 < headings.size() ? headings[i + 1].capturedStart() : html.size();
    const QString part = html.mid(headings[i].capturedEnd(), end - headings[i].capturedEnd());
    QList<int> linked;
    for (auto it = href.globalMatch(part); it.hasNext();) {
      const int context = ContextOf(QUrl(it.next().captured(1)));
      if (context > 0 && Topic(context) != nullptr && !linked.contains(context)) linked << context;
    }
    sections << qMakePair(PlainText(headings[i].captured(1)), linked);
  }
  return sections;
}

QList<QPair<QString, int>> THelpTopics::IndexEntries() const {
  QList<QPair<QString, int>> entries;
  for (const auto& [context, topic] : topics_) {
    entries << qMakePair(topic.title, context);
    for (const QString& keyword : topic.keywords)
      entries << qMakePair(keyword, context);
  }
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    const int order = QString::compare(a.first, b.first, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a.second < b.second;
  });
  return entries;
}

QList<int> THelpTopics::Search(const QString& words) const {
  const QStringList wanted =
      words.toLower().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  QList<QPair<int, int>> found;  // (matches, context)
  if (wanted.isEmpty()) return {};
  for (const auto& [context, topic] : topics_) {
    const QString text = (topic.title + '\n' + topic.text).toLower();
    int matches = 0;
    for (const QString& word : wanted) {
      const int count = CountWordStarts(text, word);
      if (count == 0) {
        matches = 0;
        break;
      }
      matches += count;
    }
    if (matches > 0) found << qMakePair(matches, context);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  QList<int> result;
  for (const auto& entry : found)
    result << entry.second;
  return result;
}

QUrl THelpTopics::Url(int context) const {
  QString path = folder_ + '/' + QString::number(context) + QStringLiteral(".html");
  if (path.startsWith(':')) return QUrl(QStringLiteral("qrc") + path);
  return QUrl::fromLocalFile(path);
}

int THelpTopics::ContextOf(const QUrl& url) {
  static const QRegularExpression page(QStringLiteral("^(\\d+)\\.html$"));
  if (url.hasFragment() && url.path().isEmpty()) return -1;
  const QRegularExpressionMatch match = page.match(QFileInfo(url.path()).fileName());
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

const THelpTopics& HelpTopics() {
  static const THelpTopics topics;
  return topics;
}

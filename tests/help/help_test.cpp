// The help: every context number the program opens has a page, the pages link only to pages that
// exist and are all reachable from the contents, the search and index find pages by their words,
// and the help window shows what it is asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QUrl>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/help_module_dialogs.h"
#include "app/help_topics.h"
#include "app/help_window.h"
#include "patch/modul_bild.h"
#include "patch/module_registry.h"

namespace {

// Every context number the program opens: the modules' (checked against the modules themselves
// below) and those of the windows and dialogs: the contents 0, the Tools dialogs 200, the options
// 300 to 302, the default devices 303 and the module list 1110.
const std::set<int> kProgramContexts = {0,    200,  300,  301,  302,  303,  1010, 1110, 2000, 2100,
                                        2209, 2210, 2220, 2221, 2500, 2510, 2520, 2530, 2540, 2550,
                                        2560, 3000, 3001, 3002, 3003, 3004, 3005, 3006, 3100, 3101,
                                        3102, 3103, 3104, 3105, 3920, 3930, 3940, 3950, 3960, 3970};

class Help : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "help_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  static void TearDownTestSuite() { app_.reset(); }

 private:
  static std::unique_ptr<QApplication> app_;
};

std::unique_ptr<QApplication> Help::app_;

std::set<int> Set(const QList<int>& list) { return {list.begin(), list.end()}; }

// Each module kind's Help goes through the module dialogs; the help adapter hands the number on.
TEST_F(Help, EveryModuleKindOpensAPageThatExists) {
  std::vector<int> opened;
  THelpModuleDialogs dialogs([&opened](int context) { opened.push_back(context); });
  SetModuleDialogs(&dialogs);
  std::set<int> moduleContexts;
  for (const std::string& name : RegisteredTypeNames()) {
    bool queryOnly = false;
    TRPointer<TModul> module = CreateModuleByType(name, queryOnly);
    auto* pictured = dynamic_cast<TModulBild*>(module.get());
    if (pictured == nullptr) continue;  // panel items have no help of their own
    opened.clear();
    pictured->ShowHelp();
    ASSERT_EQ(opened.size(), 1u) << name;
    EXPECT_NE(HelpTopics().Topic(opened.front()), nullptr) << name << " opens " << opened.front();
    EXPECT_TRUE(kProgramContexts.contains(opened.front())) << name << " opens " << opened.front();
    moduleContexts.insert(opened.front());
  }
  SetModuleDialogs(nullptr);
  // 3003 is the mixers' overview, linked from the mixer pages rather than opened by a module.
  for (int context : {1010, 2000, 2100, 2209, 2210, 2220, 2221, 2500, 2510, 2520, 2530,
                      2540, 2550, 2560, 3000, 3001, 3002, 3004, 3005, 3006, 3100, 3101,
                      3102, 3103, 3104, 3105, 3920, 3930, 3940, 3950, 3960, 3970}) {
    EXPECT_TRUE(moduleContexts.contains(context)) << "no module opens " << context;
  }
}

TEST_F(Help, EveryProgramContextHasAPageAndThereAreNoOthers) {
  EXPECT_EQ(Set(HelpTopics().Contexts()), kProgramContexts);
  for (int context : kProgramContexts) {
    const SHelpTopic* topic = HelpTopics().Topic(context);
    ASSERT_NE(topic, nullptr) << context;
    EXPECT_FALSE(topic->title.trimmed().isEmpty()) << context;
    EXPECT_GT(topic->text.size(), 200) << context << " has hardly any text";
  }
}

TEST_F(Help, EveryLinkLeadsToAPageAndTheContentsReachEveryPage) {
  for (int context : HelpTopics().Contexts()) {
    const SHelpTopic& topic = *HelpTopics().Topic(context);
    for (const QString& link : topic.links) {
      const int target = THelpTopics::ContextOf(QUrl(link));
      EXPECT_NE(HelpTopics().Topic(target), nullptr)
          << context << " links to " << link.toStdString();
    }
    if (context != 0) {
      EXPECT_TRUE(topic.links.contains("0.html")) << context << " has no way back";
    }
  }
  std::set<int> reached = Set(HelpTopics().ContentsOrder());
  reached.insert(0);
  EXPECT_EQ(reached, kProgramContexts);

  // The contents window lists each page once, under one heading.
  std::multiset<int> sectioned;
  for (const auto& [heading, linked] : HelpTopics().ContentsSections()) {
    EXPECT_FALSE(heading.isEmpty());
    EXPECT_FALSE(linked.isEmpty()) << heading.toStdString();
    sectioned.insert(linked.begin(), linked.end());
  }
  sectioned.insert(0);
  EXPECT_EQ(std::set<int>(sectioned.begin(), sectioned.end()), kProgramContexts);
  EXPECT_EQ(sectioned.size(), kProgramContexts.size()) << "a page under two headings";
}

TEST_F(Help, ContextOfReadsOnlyTopicPageNames) {
  const struct {
    const char* url;
    int context;
  } cases[] = {
      {"2100.html", 2100}, {"qrc:/help/3920.html", 3920},
      {"0.html", 0},       {"file:///x/help/200.html", 200},
      {"#ports", -1},      {"https://example.org/", -1},
      {"2100.htm", -1},    {"sine.html", -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(THelpTopics::ContextOf(QUrl(c.url)), c.context) << c.url;
}

TEST_F(Help, SearchFindsPagesByTheWordsOfTheirText) {
  const struct {
    const char* words;
    int expected;
  } cases[] = {
      {"sawtooth", 3950},          // a word of the text only
      {"Delaytime", 2000},         // a quoted message
      {"ring modulator", 3002},    // two words, both needed
      {"PITCH WHEEL", 2530},       // case does not matter
      {"gridsize", 302},           //
      {"oscill", 3920},            // the start of a word
      {"hard-sync", 3950},         //
      {"Component Window", 1110},  //
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(HelpTopics().Search(c.words).contains(c.expected)) << c.words;
  }
  EXPECT_TRUE(HelpTopics().Search("").isEmpty());
  EXPECT_TRUE(HelpTopics().Search("   ").isEmpty());
  EXPECT_TRUE(HelpTopics().Search("sine xylophone").isEmpty()) << "every word must be found";
  EXPECT_FALSE(HelpTopics().Search("ine").contains(3920)) << "matches start at a word";
  EXPECT_EQ(HelpTopics().Search("wavetable").value(0), 3970) << "the page with most matches first";
}

TEST_F(Help, IndexListsTitlesAndKeywordsInOrder) {
  const QList<QPair<QString, int>> entries = HelpTopics().IndexEntries();
  for (qsizetype i = 1; i < entries.size(); ++i) {
    EXPECT_LE(QString::compare(entries[i - 1].first, entries[i].first, Qt::CaseInsensitive), 0)
        << entries[i].first.toStdString();
  }
  EXPECT_TRUE(entries.contains(qMakePair(QStringLiteral("attack"), 2520)));
  EXPECT_TRUE(entries.contains(qMakePair(QStringLiteral("Scope"), 2209)));
}

TEST_F(Help, WindowShowsTheTopicAskedForAndFollowsLinks) {
  THelpWindow window(HelpTopics());
  window.ShowHelpTopic(2100);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.CurrentTopic(), 2100);
  EXPECT_EQ(window.Browser().documentTitle(), HelpTopics().Topic(2100)->title);
  EXPECT_TRUE(window.Browser().toPlainText().contains("Visible in Panel"));

  window.ShowHelpTopic(4711);
  EXPECT_EQ(window.CurrentTopic(), 0) << "an unknown number shows the contents";

  emit window.Browser().anchorClicked(QUrl("3001.html"));
  EXPECT_EQ(window.CurrentTopic(), 3001);
  EXPECT_TRUE(window.Browser().toPlainText().contains("Add audio"));
}

TEST_F(Help, WindowSearchAndIndexOpenTheirPages) {
  THelpWindow window(HelpTopics());
  window.ShowPage(THelpWindow::TPage::Search);
  window.SearchWords().setText("sustain");
  emit window.SearchWords().returnPressed();
  QListWidget& results = window.SearchResults();
  ASSERT_GT(results.count(), 0);
  emit results.itemActivated(results.item(0));
  EXPECT_TRUE(HelpTopics().Search("sustain").contains(window.CurrentTopic()));

  window.SearchWords().setText("xylophone");
  emit window.SearchWords().returnPressed();
  ASSERT_EQ(results.count(), 1);
  EXPECT_EQ(results.item(0)->text(), "No topic found");
  emit results.itemActivated(results.item(0));
  EXPECT_TRUE(HelpTopics().Search("sustain").contains(window.CurrentTopic())) << "page unchanged";

  window.ShowPage(THelpWindow::TPage::Index);
  window.IndexFilter().setText("resol");
  emit window.IndexFilter().returnPressed();
  EXPECT_EQ(window.CurrentTopic(), 3105);
}

}  // namespace

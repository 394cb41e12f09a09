// The help pages as built into the collection: every link and anchor leads
// somewhere, every page is reachable from the contents page and listed in
// the contents tree, and every page renders with its title.

#include <gtest/gtest.h>

#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <deque>

#include "help/help_collection.h"
#include "help/help_window.h"
#include "help_test_support.h"

namespace sfigmo::test {
namespace {

class HelpPages : public ::testing::Test {
 protected:
  void SetUp() override {
    const HelpCollection c = PrepareHelpCollection(QStringLiteral(SFIGMO_BIN_DIR), cache.path());
    ASSERT_TRUE(c.error.isEmpty()) << c.error.toStdString();
    engine = std::make_unique<QHelpEngine>(c.file);
    ASSERT_TRUE(engine->setupData()) << engine->error().toStdString();
  }
  QString text(const QUrl& page) const { return QString::fromUtf8(engine->fileData(page)); }
  QList<QUrl> pages() const {
    return engine->files(HelpContentsUrl().host(), QString(), QStringLiteral("html"));
  }

  QTemporaryDir cache;
  std::unique_ptr<QHelpEngine> engine;
};

bool HasAnchor(const QString& html, const QString& name) {
  const QString quoted = QRegularExpression::escape(name);
  return html.contains(QRegularExpression(QStringLiteral("(name|id)=\"%1\"").arg(quoted)));
}

TEST_F(HelpPages, EveryLinkFromTheContentsPageResolvesAndReachesEveryPage) {
  static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
  QSet<QUrl> seen{HelpContentsUrl()};
  std::deque<QUrl> queue{HelpContentsUrl()};
  int links = 0;
  while (!queue.empty()) {
    const QUrl page = queue.front();
    queue.pop_front();
    const QString html = text(page);
    ASSERT_FALSE(html.isEmpty()) << page.toString().toStdString();
    for (auto it = link.globalMatch(html); it.hasNext();) {
      const QString href = it.next().captured(1);
      const QUrl target = page.resolved(QUrl(href));
      const std::string where = page.fileName().toStdString() + " -> " + href.toStdString();
      ++links;
      // The help must work offline and inside the window: no outside links.
      ASSERT_EQ(target.scheme(), QStringLiteral("qthelp")) << where;
      QUrl file = target;
      file.setFragment(QString());
      const QString targetHtml = text(file);
      EXPECT_FALSE(targetHtml.isEmpty()) << where;
      if (target.hasFragment()) {
        EXPECT_TRUE(HasAnchor(targetHtml, target.fragment())) << where;
      }
      if (file.fileName().endsWith(QStringLiteral(".html")) && !seen.contains(file)) {
        seen.insert(file);
        queue.push_back(file);
      }
    }
  }
  EXPECT_GT(links, 50);
  QStringList unreachable;
  for (const QUrl& p : pages()) {
    if (!seen.contains(p)) unreachable << p.fileName();
  }
  EXPECT_TRUE(unreachable.isEmpty()) << unreachable.join(' ').toStdString();
  EXPECT_GE(pages().size(), 15);
}

TEST_F(HelpPages, EveryPageIsInTheContentsTreeAndRendersWithItsTitle) {
  QHelpContentModel* model = engine->contentModel();
  ASSERT_TRUE(WaitFor([model] { return model->rowCount() > 0 && !model->isCreatingContents(); }));
  QSet<QUrl> listed;
  std::deque<QModelIndex> queue{model->index(0, 0)};
  while (!queue.empty()) {
    const QModelIndex i = queue.front();
    queue.pop_front();
    const QHelpContentItem* item = model->contentItemAt(i);
    ASSERT_TRUE(item);
    EXPECT_FALSE(text(item->url()).isEmpty()) << item->title().toStdString();
    listed.insert(item->url());
    for (int r = 0; r < model->rowCount(i); ++r) queue.push_back(model->index(r, 0, i));
  }
  ASSERT_GE(pages().size(), 15);
  HelpBrowser browser(engine.get(), nullptr);
  browser.resize(640, 900);
  for (const QUrl& p : pages()) {
    SCOPED_TRACE(p.fileName().toStdString());
    EXPECT_TRUE(listed.contains(p));
    browser.setSource(p);
    EXPECT_FALSE(browser.documentTitle().isEmpty());
    // Decoded as UTF-8: the Russian text comes through.
    EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("и")));
    SavePicture(&browser, QStringLiteral("help-page-") + p.fileName().section('.', 0, 0));
  }
}

}  // namespace
}  // namespace sfigmo::test

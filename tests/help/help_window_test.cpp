// The help window as the user meets it: "Справка" in the main window, the
// contents tree, search, a missing or read-only collection.

#include "help/help_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "help/help_collection.h"
#include "help_test_support.h"
#include "ui/form1.h"

namespace sfigmo::test {
namespace {

// A main window without a device library and with its archive in a temporary
// folder; the help comes from the build's program folder.
struct MainWindow {
  MainWindow() {
    TForm1Options o;
    o.libraryFolder = noLibrary.path();
    o.programFolder = archive.path();
    o.activateOnFirstShow = false;
    o.messagePresenter = [](const QString&, const QString&, bool) {};
    form = std::make_unique<TForm1>(o);
    form->show();
  }
  void clickHelp() {
    QMenuBar* bar = form->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(form->Help_).center());
  }
  HelpWindow* help() const {
    return form->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  }
  QTemporaryDir noLibrary, archive;
  std::unique_ptr<TForm1> form;
};

// Types a word into the search tab as a user does and waits for the answer.
QList<QUrl> Search(HelpWindow* help, const QString& word) {
  EXPECT_TRUE(WaitFor([help] { return help->searchReady(); })) << "index never completed";
  help->sideTabs()->setCurrentIndex(1);
  auto* edit = help->engine()->searchEngine()->queryWidget()->findChild<QLineEdit*>();
  EXPECT_TRUE(edit);
  if (!edit) return {};
  QSignalSpy finished(help->engine()->searchEngine(), &QHelpSearchEngine::searchingFinished);
  edit->clear();
  // Typed key by key; QTest::keyClicks knows only Latin keys.
  for (const QChar ch : word) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(edit, &press);
    QApplication::sendEvent(edit, &release);
  }
  EXPECT_EQ(edit->text(), word);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_TRUE(WaitFor([&] { return !finished.isEmpty(); })) << "search never finished";
  QList<QUrl> pages;
  QHelpSearchEngine* search = help->engine()->searchEngine();
  for (const QHelpSearchResult& r : search->searchResults(0, search->searchResultCount()))
    pages << r.url();
  return pages;
}

std::string PageName(const QUrl& url) { return url.fileName().toStdString(); }

TEST(HelpMenu, OpensTheContentsPageNotModallyAndClosesWithTheProgram) {
  MainWindow w;
  w.clickHelp();
  HelpWindow* help = w.help();
  ASSERT_TRUE(help) << "no help window after \"Справка\"";
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->isWindow());
  EXPECT_EQ(help->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(help->browser()->source(), HelpContentsUrl());
  EXPECT_EQ(help->browser()->documentTitle(), QStringLiteral("Содержание"));
  EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("Как провести измерение")));

  QHelpContentWidget* tree = help->contentsTree();
  ASSERT_TRUE(WaitFor([tree] { return tree->model()->rowCount() > 0; }));
  const QModelIndex top = tree->model()->index(0, 0);
  EXPECT_EQ(top.data().toString(), QStringLiteral("Анализатор пульса ТЕРВОЛАН"));
  ASSERT_TRUE(WaitFor([tree] { return tree->currentIndex().isValid(); }));
  EXPECT_EQ(tree->currentIndex(), top);
  SavePicture(help, QStringLiteral("help-contents"));

  // The main window stays usable beside it; a second "Справка" reuses the
  // window and returns to the contents page.
  help->browser()->setSource(HelpContentsUrl().resolved(QUrl(QStringLiteral("pulse.html"))));
  w.clickHelp();
  EXPECT_EQ(w.help(), help);
  EXPECT_EQ(w.form->findChildren<HelpWindow*>().size(), 1);
  EXPECT_EQ(help->browser()->source(), HelpContentsUrl());

  w.form->close();
  EXPECT_FALSE(help->isVisible());
}

TEST(HelpMenu, ContentsTreeOpensItsPageAndFollowsTheBrowser) {
  MainWindow w;
  w.clickHelp();
  HelpWindow* help = w.help();
  ASSERT_TRUE(help);
  QHelpContentWidget* tree = help->contentsTree();
  ASSERT_TRUE(WaitFor([tree] { return tree->model()->rowCount() > 0; }));
  const QModelIndex pulse = tree->indexOf(HelpContentsUrl().resolved(QUrl("pulse.html")));
  ASSERT_TRUE(pulse.isValid());
  tree->scrollTo(pulse);
  const QPoint at = tree->visualRect(pulse).center();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(PageName(help->browser()->source()), "pulse.html");
  EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("ЧАСТОТА ПУЛЬСА В НОРМЕ")));
  SavePicture(help, QStringLiteral("help-pulse"));

  help->browser()->setSource(HelpContentsUrl().resolved(QUrl("sms.html")));
  EXPECT_EQ(tree->currentIndex(), tree->indexOf(HelpContentsUrl().resolved(QUrl("sms.html"))));
}

TEST(HelpSearch, AWordFindsThePagesAboutIt) {
  MainWindow w;
  w.clickHelp();
  HelpWindow* help = w.help();
  ASSERT_TRUE(help);
  const QList<QUrl> pulse = Search(help, QStringLiteral("пульс"));
  QStringList names;
  for (const QUrl& u : pulse) names << u.fileName();
  // Word forms count: "пульса" and "пульсовую" are found too.
  EXPECT_GE(names.size(), 10) << names.join(' ').toStdString();
  for (const char* page : {"pulse.html", "measure.html", "results.html"})
    EXPECT_TRUE(names.contains(QLatin1String(page)))
        << page << ": " << names.join(' ').toStdString();
  SavePicture(help, QStringLiteral("help-search"));

  EXPECT_EQ(Search(help, QStringLiteral("udevadm")).size(), 1);
  EXPECT_TRUE(Search(help, QStringLiteral("несуществующееслово")).isEmpty());
}

TEST(HelpSearch, PlainWordsMatchAsPrefixesPhrasesAsTyped) {
  const struct {
    const char* typed;
    const char* asked;
  } cases[] = {
      {"пульс", "пульс*"},
      {"  тонус   сосудов ", "тонус* сосудов*"},
      {"сосуд* ритм", "сосуд* ритм*"},
      {"\"синусовый ритм\"", "\"синусовый ритм\""},
      {"ПУЛЬС?", "ПУЛЬС?"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithWordPrefixes(QString::fromUtf8(c.typed)).toStdString(), c.asked) << c.typed;
  }
}

// A program folder holding the build's help files (all, or all but one),
// and a cache folder for the working copy.
struct ProgramCopy {
  explicit ProgramCopy(const char* leaveOut = nullptr) {
    for (const char* name : {kHelpCollectionFile, kHelpPagesFile}) {
      if (leaveOut && QLatin1String(name) == QLatin1String(leaveOut)) continue;
      copied &= QFile::copy(QStringLiteral(SFIGMO_BIN_DIR "/") + QLatin1String(name), file(name));
    }
  }
  QString file(const char* name) const { return program.filePath(QLatin1String(name)); }
  HelpOptions options() {
    HelpOptions o;
    o.programFolder = program.path();
    o.cacheFolder = cache.path();
    o.messagePresenter = [this](const QString& m) { messages << m; };
    return o;
  }
  QTemporaryDir program, cache;
  QStringList messages;
  bool copied = true;
};

TEST(HelpCollection, AMissingFileGivesOneMessageNamingIt) {
  for (const char* missing : {kHelpCollectionFile, kHelpPagesFile}) {
    SCOPED_TRACE(missing);
    ProgramCopy folders(missing);
    ASSERT_TRUE(folders.copied);
    QWidget main;
    EXPECT_EQ(ShowHelpContents(&main, folders.options()), nullptr);
    ASSERT_EQ(folders.messages.size(), 1);
    EXPECT_TRUE(folders.messages[0].contains(folders.file(missing)))
        << folders.messages[0].toStdString();
    EXPECT_EQ(main.findChild<HelpWindow*>(), nullptr);
  }
}

TEST(HelpCollection, AReadOnlyProgramFolderStaysUntouchedAndSearchWorks) {
  ProgramCopy folders;
  ASSERT_TRUE(folders.copied);
  for (const char* name : {kHelpCollectionFile, kHelpPagesFile})
    QFile::setPermissions(folders.file(name), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  const QString program = folders.program.path();
  QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const QStringList before = QDir(program).entryList(QDir::AllEntries | QDir::Hidden);

  QWidget main;
  HelpWindow* help = ShowHelpContents(&main, folders.options());
  ASSERT_TRUE(help);
  EXPECT_TRUE(folders.messages.isEmpty());
  EXPECT_EQ(help->browser()->source(), HelpContentsUrl());
  EXPECT_FALSE(Search(help, QStringLiteral("пульс")).isEmpty());
  EXPECT_EQ(help->engine()->collectionFile(),
            folders.cache.filePath(QLatin1String(kHelpCollectionFile)));
  delete help;

  EXPECT_EQ(QDir(program).entryList(QDir::AllEntries | QDir::Hidden), before);
  QFile::setPermissions(program,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(HelpCollection, TheWorkingCopyIsRenewedOnlyWhenTheProgramsFilesChange) {
  ProgramCopy folders;
  ASSERT_TRUE(folders.copied);
  const QString program = folders.program.path();
  const QDir cache(folders.cache.path());
  const HelpCollection first = PrepareHelpCollection(program, cache.path());
  ASSERT_TRUE(first.error.isEmpty());
  EXPECT_EQ(first.file, cache.filePath(QLatin1String(kHelpCollectionFile)));
  // A marker in the copy's index folder survives an unchanged start...
  const QString marker = cache.filePath(QStringLiteral(".tervolan/marker"));
  QDir().mkpath(cache.filePath(QStringLiteral(".tervolan")));
  QFile(marker).open(QIODevice::WriteOnly);
  EXPECT_EQ(PrepareHelpCollection(program, cache.path()).file, first.file);
  EXPECT_TRUE(QFile::exists(marker));
  // ...and goes with the old index when the program's pages change.
  QFile pages(folders.file(kHelpPagesFile));
  ASSERT_TRUE(pages.open(QIODevice::ReadWrite));
  pages.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
  pages.close();
  EXPECT_EQ(PrepareHelpCollection(program, cache.path()).file, first.file);
  EXPECT_FALSE(QFile::exists(marker));
  EXPECT_EQ(QFileInfo(cache.filePath(QLatin1String(kHelpPagesFile))).lastModified(),
            QFileInfo(pages).lastModified());
}

}  // namespace
}  // namespace sfigmo::test

namespace sfigmo::test {
namespace {

// Wherever the main window lies, the help window opens inside the desktop.
TEST(HelpWindowPlace, InsideTheAvailableAreaWhereverTheMainWindowIs) {
  ProgramCopy folders;
  ASSERT_TRUE(folders.copied);
  const QPoint places[] = {{0, 0}, {80, 20}, {400, 300}, {760, 560}};
  for (const QPoint& at : places) {
    SCOPED_TRACE(std::to_string(at.x()) + "," + std::to_string(at.y()));
    QWidget main;
    main.setGeometry(QRect(at, QSize(641, 354)));
    HelpWindow* help = ShowHelpContents(&main, folders.options());
    ASSERT_TRUE(help);
    const QRect avail = main.screen()->availableGeometry();
    EXPECT_TRUE(avail.contains(help->geometry()))
        << help->x() << "," << help->y() << " " << help->width() << "x" << help->height();
    delete help;
  }
}

}  // namespace
}  // namespace sfigmo::test

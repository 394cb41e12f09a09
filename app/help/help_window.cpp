#include "help/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTranslator>
#include <QVBoxLayout>
#include <algorithm>

#include "help/help_collection.h"

namespace sfigmo {

QUrl HelpContentsUrl() { return QUrl(QStringLiteral("qthelp://org.sfigmo.help/doc/index.html")); }

QString WithWordPrefixes(const QString& input) {
  if (input.contains(QLatin1Char('"'))) return input;
  QStringList words = input.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  for (QString& w : words) {
    if (!w.contains(QLatin1Char('*')) && !w.contains(QLatin1Char('?'))) w += QLatin1Char('*');
  }
  return words.join(QLatin1Char(' '));
}

HelpBrowser::HelpBrowser(QHelpEngine* engine, QWidget* parent)
    : QTextBrowser(parent), engine_(engine) {
  setObjectName(QStringLiteral("HelpBrowser"));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  if (name.scheme() == QLatin1String("qthelp")) return engine_->fileData(name);
  return QTextBrowser::loadResource(type, name);
}

HelpWindow::HelpWindow(const QString& collectionFile, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Справка"));
  // The search controls are Qt's own; their Russian texts come with Qt's
  // translations (removed again when this window goes).
  auto* translator = new QTranslator(this);
  if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qt_help"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  }
  engine_ = new QHelpEngine(collectionFile, this);
  // The collection is the program's; the window never registers anything.
  engine_->setReadOnly(!QFileInfo(collectionFile).isWritable());
  if (!engine_->setupData()) {
    setupError_ = engine_->error().isEmpty() ? collectionFile : engine_->error();
  }

  browser_ = new HelpBrowser(engine_, this);
  QFont pageFont = browser_->font();
  pageFont.setPointSize(10);
  browser_->setFont(pageFont);

  auto* contents = engine_->contentWidget();
  contents->setObjectName(QStringLiteral("HelpContents"));
  contents->setHeaderHidden(true);
  // One click opens a page, as in any contents tree; Enter works too.
  connect(contents, &QHelpContentWidget::linkActivated, browser_,
          [this](const QUrl& url) { browser_->setSource(url); });
  connect(contents, &QTreeView::clicked, browser_, [this, contents](const QModelIndex& index) {
    if (const QHelpContentItem* item = engine_->contentModel()->contentItemAt(index)) {
      if (item->url() != browser_->source()) browser_->setSource(item->url());
    }
  });
  connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, contents, [this, contents] {
    contents->expandAll();
    selectInContents(browser_->source());
  });
  connect(browser_, &QTextBrowser::sourceChanged, this,
          [this](const QUrl& url) { selectInContents(url); });

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("HelpTabs"));
  QFont sideFont = tabs_->font();
  sideFont.setPointSize(9);
  tabs_->setFont(sideFont);
  tabs_->addTab(contents, QStringLiteral("Содержание"));
  buildSearch();

  auto button = [this](const QString& name, const QString& text) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
  };
  QToolButton* back = button(QStringLiteral("HelpBack"), QStringLiteral("Назад"));
  QToolButton* forward = button(QStringLiteral("HelpForward"), QStringLiteral("Вперёд"));
  QToolButton* home = button(QStringLiteral("HelpHome"), QStringLiteral("Содержание"));
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(home, &QToolButton::clicked, this, [this] { browser_->setSource(HelpContentsUrl()); });
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addWidget(home);
  buttons->addStretch();

  auto* splitter = new QSplitter(this);
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({250, 610});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);

  const QScreen* desktop = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
  const QSize room = desktop ? desktop->availableGeometry().size() : QSize(800, 600);
  resize(QSize(860, 560).boundedTo(room * 9 / 10));
  // Beside the main window's upper left corner, so both stay in view.
  if (mainWindow) move(mainWindow->geometry().topLeft() + QPoint(40, 40));
  keepInsideDesktop();
  // Closing the main window ends the program: the help goes with it.
  if (mainWindow) mainWindow->installEventFilter(this);
}

HelpWindow::~HelpWindow() {
  // The indexer runs on its own thread; stop it before the engine goes.
  engine_->searchEngine()->cancelIndexing();
  engine_->searchEngine()->cancelSearching();
}

void HelpWindow::buildSearch() {
  QHelpSearchEngine* search = engine_->searchEngine();
  QHelpSearchQueryWidget* query = search->queryWidget();
  QHelpSearchResultWidget* results = search->resultWidget();
  query->setObjectName(QStringLiteral("HelpSearchQuery"));
  results->setObjectName(QStringLiteral("HelpSearchResults"));

  auto* page = new QWidget(tabs_);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(query);
  layout->addWidget(results, 1);
  tabs_->addTab(page, QStringLiteral("Поиск"));

  connect(query, &QHelpSearchQueryWidget::search, search,
          [search, query] { search->search(WithWordPrefixes(query->searchInput())); });
  connect(results, &QHelpSearchResultWidget::requestShowLink, browser_,
          [this](const QUrl& url) { browser_->setSource(url); });
  // A search before the index is complete would find too little.
  query->setEnabled(false);
  connect(search, &QHelpSearchEngine::indexingStarted, query, [this, query] {
    searchReady_ = false;
    query->setEnabled(false);
  });
  connect(search, &QHelpSearchEngine::indexingFinished, query, [this, query] {
    searchReady_ = true;
    query->setEnabled(true);
  });
  search->scheduleIndexDocumentation();
}

QHelpContentWidget* HelpWindow::contentsTree() const { return engine_->contentWidget(); }

void HelpWindow::selectInContents(const QUrl& url) {
  QHelpContentWidget* tree = engine_->contentWidget();
  QUrl page = url;
  page.setFragment(QString());
  const QModelIndex index = tree->indexOf(page);
  if (index.isValid()) tree->setCurrentIndex(index);
}

void HelpWindow::showContents() {
  browser_->setSource(HelpContentsUrl());
  show();
  keepInsideDesktop();  // the layout may have grown it to what its controls need
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void HelpWindow::keepInsideDesktop() {
  const QScreen* shown = screen();
  if (!shown) return;
  const QRect avail = shown->availableGeometry();
  const QSize outer = frameGeometry().size();
  QPoint at = pos();
  at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() + 1 - outer.width())));
  at.setY(std::clamp(at.y(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - outer.height())));
  if (at != pos()) move(at);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  // A non-spontaneous hide of the main window is its close (minimising is
  // spontaneous).
  if (watched == parent() && event->type() == QEvent::Hide && !event->spontaneous()) close();
  return QWidget::eventFilter(watched, event);
}

HelpWindow* ShowHelpContents(QWidget* mainWindow, const HelpOptions& options) {
  auto tell = [&](const QString& message) {
    if (options.messagePresenter) {
      options.messagePresenter(message);
    } else {
      QMessageBox::warning(mainWindow, QStringLiteral("Справка"), message);
    }
  };
  auto* window = mainWindow->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) {
    const HelpCollection collection = PrepareHelpCollection(
        options.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                        : options.programFolder,
        options.cacheFolder.isEmpty() ? DefaultHelpCacheFolder() : options.cacheFolder);
    if (!collection.error.isEmpty()) {
      tell(collection.error);
      return nullptr;
    }
    window = new HelpWindow(collection.file, mainWindow);
    if (!window->setupError().isEmpty()) {
      const QString reason = window->setupError();
      delete window;
      tell(QStringLiteral("Справка недоступна: не удалось открыть файл справки\n%1\n%2")
               .arg(QDir::toNativeSeparators(collection.file), reason));
      return nullptr;
    }
  }
  window->showContents();
  return window;
}

}  // namespace sfigmo

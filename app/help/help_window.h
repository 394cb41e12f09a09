#pragma once
// The program's help window: the contents tree and full-text search on the
// left, the page on the right. It is not modal, belongs to the main window
// and closes with it. Main thread only.

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <functional>

class QHelpEngine;
class QHelpContentWidget;
class QHelpSearchEngine;
class QTabWidget;
class QToolButton;

namespace sfigmo {

// The contents page of the help, where "Справка" opens it.
QUrl HelpContentsUrl();

// The search text as the index is asked: Russian words change their endings,
// so each plain word matches as a prefix ("пульс" finds "пульса",
// "пульсовой"). Phrases in quotes and words with a wildcard stay as typed.
QString WithWordPrefixes(const QString& input);

// Shows pages of the help collection; relative links resolve inside it.
class HelpBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  HelpBrowser(QHelpEngine* engine, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  QHelpEngine* engine_;
};

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // Opens the collection file; check setupError() before showing.
  HelpWindow(const QString& collectionFile, QWidget* mainWindow);
  ~HelpWindow() override;

  // Empty when the collection opened; otherwise the engine's reason.
  QString setupError() const { return setupError_; }
  // Shows the window, in front, at the contents page.
  void showContents();

  QHelpEngine* engine() const { return engine_; }
  HelpBrowser* browser() const { return browser_; }
  QHelpContentWidget* contentsTree() const;
  QTabWidget* sideTabs() const { return tabs_; }
  // True once the search index is complete (searching is enabled then).
  bool searchReady() const { return searchReady_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Moves the window back inside the desktop where an edge runs past it.
  void keepInsideDesktop();
  void buildSearch();
  void selectInContents(const QUrl& url);

  QHelpEngine* engine_ = nullptr;
  HelpBrowser* browser_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QString setupError_;
  bool searchReady_ = false;
};

struct HelpOptions {
  // Folder holding tervolan.qhc and tervolan.qch; empty: the executable's.
  QString programFolder;
  // Folder for the working copy and search index; empty: the user's cache.
  QString cacheFolder;
  // Shows one message to the user; empty: a warning box over the main window.
  std::function<void(const QString&)> messagePresenter;
};

// "Справка": shows the main window's help window at its contents page,
// creating it at first use. When the collection is missing or unreadable the
// user gets one message naming the file, and nullptr is returned.
HelpWindow* ShowHelpContents(QWidget* mainWindow, const HelpOptions& options = {});

}  // namespace sfigmo

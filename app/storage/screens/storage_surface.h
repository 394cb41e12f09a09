#pragma once
// The part of the main window that registration, saving, the archive list
// and the trend graphs work on: its controls, flags, record buffers and
// replay hooks, filled in by the window. References and pointers into the
// window; main thread only.

#include <QCoreApplication>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "analysis/working_record.h"
#include "draw/shown_screens.h"
#include "draw/trace_area.h"
#include "storage/analysis_results.h"
#include "storage/pulsogram_record.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace sfigmo {

struct StorageSurface {
  QWidget* window;
  QPushButton *Button1, *Button2, *Button3, *Button4, *Button5;
  QPlainTextEdit *Memo2, *Memo3;
  QLineEdit *Edit1, *Edit2, *Edit3;
  QLabel *StaticText1, *StaticText2, *StaticText3;
  QListWidget *ListBox1, *ListBox2;
  TraceArea* TreeView1;
  QAction *Open_, *Regis_, *Save_, *Graf_;

  ShownScreens shown;
  WorkingRecord work;
  int& LastRecordRead;
  const QString& ProgramFolder;

  // Screens the window's replay redraws.
  std::function<void()>& TrendReplay;
  std::function<void()>& RegistrationReplay;
  // Shows a message (text, caption, isError) as the window shows them.
  std::function<void(const QString&, const QString&, bool)> presentMessage;

  Canvas& traceCanvas() const { return TreeView1->canvas(); }
  QPalette palette() const { return window->palette(); }
  int outerWidth() const { return window->frameGeometry().width(); }
  // Shows the trace area as drawn so far at once; runs no other event.
  void showTraceNow() const { TreeView1->repaint(); }
};

}  // namespace sfigmo

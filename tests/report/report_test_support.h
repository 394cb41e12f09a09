#pragma once
// Records, folders and dialog handling shared by the report tests.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "print_to.h"
#include "record_builder.h"
#include "record/pulsogram_record.h"
#include "storage/record_file.h"

namespace sfigmo::test {

struct RecordText {
  std::string Name = "Иванов";
  std::string Age = "67";
  std::string Sex = "М";
  std::string Date = "08_12_25_";
  std::string Time = "10_15_30";
};

// A stored measurement with healthy results: pulse 72, four verdict lines.
inline std::unique_ptr<PulsogramRecord> MakeRecord(const RecordText& text = {}) {
  AnalysisResults a{};
  a.PULS = 72.4;
  a.VRKI = 0.0523;
  a.KOVR = 4.321;
  a.SPSO = 0.071;
  a.NAGR = 0.09;
  a.DescentTime = 0.06;
  a.MeanInterval = 0.8;
  return RecordBuilder()
      .PulseWave(NormalRestingWave())
      .Patient(text.Name, text.Age, text.Sex)
      .Taken(text.Date, text.Time)
      .Results(a)
      .Build();
}

inline QString WriteRecordFile(const QString& path, const PulsogramRecord& record) {
  const StorageError e = WriteRecord(QFile::encodeName(path).toStdString(), record);
  return e.ok() ? path : QString();
}

// Runs `act` on the first visible modal widget of type T (and of that object
// name, when one is given), once it shows.
template <typename T>
void WhenModal(std::function<void(T*)> act, const QString& name = {}) {
  auto* timer = new QTimer;
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [timer, act, name] {
    auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!w || !w->isVisible() || (!name.isEmpty() && w->objectName() != name)) return;
    timer->stop();
    timer->deleteLater();
    act(w);
  });
  timer->start();
}

// Chooses `path` in a file dialog the way a user types it, and confirms.
inline void PickFile(QFileDialog* d, const QString& path) {
  d->setDirectory(QFileInfo(path).absolutePath());
  if (auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    edit->setText(path);
  else
    d->selectFile(path);
  static_cast<QDialog*>(d)->accept();
}

struct ToolRun {
  int ExitCode = -1;
  QString Output;
};

// Runs a command-line tool to its end (generous time-out) and returns its
// standard output.
inline ToolRun RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::SeparateChannels);
  p.start(program, args);
  ToolRun run;
  if (!p.waitForFinished(60000)) return run;
  run.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  run.Output = QString::fromUtf8(p.readAllStandardOutput());
  return run;
}

// The text of a PDF as pdftotext reads it, in reading order.
inline QString PdfText(const QString& pdf) {
  return RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
      .Output;
}

}  // namespace sfigmo::test

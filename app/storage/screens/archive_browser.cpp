#include "storage/screens/archive_browser.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "analysis/screens/check_screen.h"
#include "draw/canvas.h"
#include "draw/status_memo.h"
#include "draw/trace_area.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "storage/screens/record_list.h"
#include "storage/screens/storage_context.h"

namespace sfigmo {

void ArchiveBrowser::OpenClick() {
  StorageSurface& f = ctx_.surface;
  ShowStatus(f.Memo2, colours::Silver, QString());
  f.shown.ConclusionShown = 0;
  for (QWidget* w :
       std::initializer_list<QWidget*>{f.ListBox2, f.ListBox1, f.StaticText1, f.StaticText2,
                                       f.StaticText3, f.Memo3, f.Edit1, f.Edit2, f.Edit3}) {
    w->hide();
  }
  for (QPushButton* b : {f.Button3, f.Button4, f.Button5}) b->setEnabled(false);
  f.TreeView1->clear();
  f.showTraceNow();

  f.ListBox1->show();
  f.ListBox1->clear();
  const RecordListing listing = ListRecordFiles(ArchiveFolder(ctx_.programFolder()));
  FillRecordList(f.ListBox1, listing.Names);

  f.TreeView1->setBackground(f.palette().color(QPalette::Base));
  // The list is the current screen now: a repaint must not bring back the
  // check or the results it replaced.
  f.shown.TrendViewShown = f.shown.CheckViewShown = f.shown.AnalysisViewShown =
      f.shown.RegistrationViewShown = 0;
  f.TreeView1->clear();
  f.Button1->hide();
  for (QPushButton* b : {f.Button2, f.Button3, f.Button4, f.Button5}) b->show();
  if (!listing.Error.ok()) ctx_.showError(StorageErrorText(listing.Error));
}

void ArchiveBrowser::DblListBox() {
  StorageSurface& f = ctx_.surface;
  const QListWidgetItem* item = f.ListBox1->currentItem();
  if (!item || !item->isSelected()) return;
  const std::string name = RecordFileNameOf(item);

  f.Regis_->setEnabled(false);
  for (QWidget* w : std::initializer_list<QWidget*>{f.Memo3, f.Edit1, f.Edit2, f.Edit3}) w->hide();
  f.TreeView1->clear();
  f.showTraceNow();

  if (!f.work.CurrentRecord) f.work.CurrentRecord = std::make_unique<PulsogramRecord>();
  const std::filesystem::path folder = ctx_.programFolder();
  // A failed read leaves the record in memory and the last measurement as
  // they were.
  if (StorageError e = ReadRecord(ArchiveFolder(folder) / name, *f.work.CurrentRecord); !e.ok()) {
    ctx_.showError(StorageErrorText(e));
    return;
  }
  // A record the check rejects is shown with its reason but never becomes
  // the last measurement: messages and registration read that one.
  MarkTable marks;
  if (CheckRecording(*f.work.CurrentRecord, marks).accepted()) {
    if (StorageError e = ReplaceLastRecord(LastMeasurementFolder(folder), name,
                                           *f.work.CurrentRecord, ctx_.writeFault);
        !e.ok()) {
      ctx_.showError(StorageErrorText(e));
      return;
    }
    f.LastRecordRead = 1;
  }
  f.work.WorkingPeriod = f.work.CurrentRecord->SamplePeriod;
  f.work.CutShort = false;
  // The working results become the opened record's own, so that saving
  // never pairs its samples with another measurement's results.
  f.work.Results = f.work.CurrentRecord->Results;
  showOpenedRecord();
}

void ArchiveBrowser::showOpenedRecord() {
  StorageSurface& f = ctx_.surface;
  f.Button3->setEnabled(true);
  f.work.FrameNumber = 0;
  f.work.MarkCursor = 1;
  f.shown.ConclusionShown = 0;
  // The opened record's frame is the current screen; it stays on the area.
  f.shown.TrendViewShown = f.shown.CheckViewShown = f.shown.AnalysisViewShown =
      f.shown.RegistrationViewShown = 0;
  f.Regis_->setEnabled(false);
  for (QWidget* w : std::initializer_list<QWidget*>{f.ListBox2, f.ListBox1, f.Memo3, f.Edit1,
                                                    f.Edit2, f.Edit3}) {
    w->hide();
  }
  f.TreeView1->clear();
  f.showTraceNow();

  const RecordingVerdict verdict = CheckRecording(*f.work.CurrentRecord, f.work.Marks);
  if (!verdict.accepted()) {
    ShowStatus(f.Memo2, colours::Red, QStringLiteral("      ОШИБКА"));
    // The same screen as the recording check's: its advice, and above it
    // why a record that is no pulse recording is not one.
    Canvas& c = f.traceCanvas();
    c.setFontColor(colours::Black);
    c.setBrushColor(f.TreeView1->background());
    DrawRejection(c);
    DrawRejectionReason(c, RejectionReason(verdict, *f.work.CurrentRecord,
                                           QChar::fromLatin1(ctx_.decimalSeparator)));
    return;
  }
  f.work.FrameNumber = 1;
  f.Memo2->show();
  f.Memo2->setPlainText(QStringLiteral("       КАДР  ") + QString::number(f.work.FrameNumber));
  DrawCheckFrame(f.traceCanvas(), f.TreeView1->background(), *f.work.CurrentRecord, f.work.Marks,
                 f.outerWidth(), f.work.FrameNumber, f.work.MarkCursor);
}

void ArchiveBrowser::ListBox1Click() { ctx_.surface.ListBox2->hide(); }

}  // namespace sfigmo

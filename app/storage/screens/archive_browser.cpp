#include "storage/screens/archive_browser.h"

#include <QListWidget>

#include "analysis/screens/check_screen.h"
#include "draw/canvas.h"
#include "draw/trace_area.h"
#include "storage/archive_folder.h"
#include "storage/record_file.h"
#include "storage/screens/record_list.h"
#include "storage/screens/storage_context.h"

namespace sfigmo {

void ArchiveBrowser::OpenClick() {
  StorageSurface& f = ctx_.surface;
  f.session.showStatus(StatusLine::Status, colours::Silver, QString());
  // The list is the current screen now: a repaint must not bring back the
  // check or the results it replaced.
  f.session.apply(Step::ArchiveListed);
  TraceArea& trace = f.view().trace();
  trace.clear();
  f.showTraceNow();

  QListWidget& list = f.view().list(Control::ArchiveList);
  list.clear();
  const RecordListing listing = ListRecordFiles(ArchiveFolder(ctx_.programFolder()));
  FillRecordList(&list, listing.Names);

  trace.setBackground(f.view().baseColour());
  trace.clear();
  if (!listing.Error.ok()) ctx_.showError(StorageErrorText(listing.Error));
}

void ArchiveBrowser::OpenChosen() {
  StorageSurface& f = ctx_.surface;
  const QListWidgetItem* item = f.view().list(Control::ArchiveList).currentItem();
  if (!item || !item->isSelected()) return;
  const std::string name = RecordFileNameOf(item);

  f.session.apply(Step::ArchiveRecordChosen);
  f.view().trace().clear();
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
  f.work.FrameNumber = 0;
  f.work.MarkCursor = 1;
  // The opened record's frame is the current screen; it stays on the area.
  f.session.apply(Step::RecordOpened);
  TraceArea& trace = f.view().trace();
  trace.clear();
  f.showTraceNow();

  const RecordingVerdict verdict = CheckRecording(*f.work.CurrentRecord, f.work.Marks);
  if (!verdict.accepted()) {
    f.session.show(Screen::Error);
    f.session.showStatus(StatusLine::Status, colours::Red, QStringLiteral("      ОШИБКА"));
    // The same screen as the recording check's: its advice, and above it
    // why a record that is no pulse recording is not one.
    Canvas& c = f.traceCanvas();
    c.setFontColor(colours::Black);
    c.setBrushColor(trace.background());
    DrawRejection(c);
    DrawRejectionReason(c, RejectionReason(verdict, *f.work.CurrentRecord,
                                           QChar::fromLatin1(ctx_.decimalSeparator)));
    return;
  }
  f.work.FrameNumber = 1;
  f.view().setStatusText(StatusLine::Status,
                         QStringLiteral("       КАДР  ") + QString::number(f.work.FrameNumber));
  DrawCheckFrame(f.traceCanvas(), trace.background(), *f.work.CurrentRecord, f.work.Marks,
                 f.view().outerWidth(), f.work.FrameNumber, f.work.MarkCursor);
}

void ArchiveBrowser::ListClicked() { ctx_.surface.session.setVisible(Control::TrendList, false); }

}  // namespace sfigmo

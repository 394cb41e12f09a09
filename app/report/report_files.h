#pragma once
// Names and files of the print window's actions, free of widgets: the
// record to report, the PDF name it proposes and the PDF path of "Печать
// PDF". Any thread.

#include <QString>

#include "report/report_error.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

// Reads the first record of `path`; a failure (missing, unreadable, shorter
// than one record) carries the storage's reason.
ReportError ReadReportRecord(const QString& path, PulsogramRecord& record);

// The record's own base name: name, age, sex, date and time fields run
// together ("МЛТ67М08_12_25_10_15_30"). A '/' in a damaged field becomes '_'
// so the name stays one file name.
QString DefaultPdfName(const PulsogramRecord& record);

// programFolder + "PDF/" + the record file's name with its extension
// replaced by ".pdf" ("x.pul" gives "PDF/x.pdf").
QString PdfPathForRecord(const QString& programFolder, const QString& recordPath);

// programFolder + "PDF/", created when missing; empty when it cannot be.
QString EnsurePdfFolder(const QString& programFolder);

}  // namespace sfigmo

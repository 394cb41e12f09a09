#pragma once
// The report page as a PDF file: the page is recorded into a QPicture (Qt's
// metafile, against the screen's resolution) and handed to the PDF maker
// libdspdf.so, which is loaded by file name for the one action and unloaded
// after. Main thread only.

#include <QString>

#include "report/report_error.h"
#include "report/report_model.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

inline constexpr const char* kPdfMakerFile = "libdspdf.so";

struct ReportPdfOptions {
  QString LibraryFolder;  // where libdspdf.so lies; empty: the executable's folder
  ReportPageOptions Page;
};

// Writes the report page of `record` to `pdfPath` (UTF-8 path). Success
// only when the PDF maker reported it and the file at `pdfPath` is new (not
// an older one left in place) and complete (a PDF's size and its trailing
// "%%EOF"). On failure nothing new is left at `pdfPath`: a partial file is
// removed, an older file of that name stays as it was, and the failure says
// why (library missing, a function missing, the PDF maker refused, a cut
// file).
ReportError WriteReportPdf(const PulsogramRecord& record, const QString& pdfPath,
                           const ReportPdfOptions& options);

enum class PdfCheck { Complete, Incomplete, NotWritten };
// What was found at `path` after a PDF was written there; `changed` says
// whether the file there is not the one that was there before.
PdfCheck CheckWrittenPdf(const QString& path, bool changed);

// The page's picture data, as the PDF maker receives it.
QByteArray ReportPictureData(const PulsogramRecord& record, const ReportPageOptions& options);

}  // namespace sfigmo

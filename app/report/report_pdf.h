#pragma once
// The report page as a PDF file: the page is recorded into a QPicture (Qt's
// metafile, against the screen's resolution) and handed to the PDF maker
// libdspdf.so, which is loaded by file name for the one action and unloaded
// after. Main thread only.

#include <QString>

#include "report/report_model.h"
#include "storage/pulsogram_record.h"

namespace sfigmo {

inline constexpr const char* kPdfMakerFile = "libdspdf.so";

struct ReportPdfOptions {
  QString LibraryFolder;  // where libdspdf.so lies; empty: the executable's folder
  ReportPageOptions Page;
};

struct ReportPdfResult {
  bool Ok = false;
  QString Message;  // Russian, for the user, when !Ok
};

// Writes the report page of `record` to `pdfPath` (UTF-8 path). On failure
// nothing new is left at `pdfPath`: an older file of that name stays as it
// was, and the message says why (library missing, a function missing, the
// PDF maker refused).
ReportPdfResult WriteReportPdf(const PulsogramRecord& record, const QString& pdfPath,
                               const ReportPdfOptions& options);

// The page's picture data, as the PDF maker receives it.
QByteArray ReportPictureData(const PulsogramRecord& record, const ReportPageOptions& options);

}  // namespace sfigmo

#pragma once
// What went wrong while reading a record for the report or making its PDF,
// as a typed value with the details its text needs; the print window
// (screens/report_texts.h) says it to the user.

#include <QString>

#include "storage/record_file.h"

namespace sfigmo {

enum class ReportFailure {
  None,
  RecordUnreadable,  // Record: the chosen record could not be read
  PdfMakerMissing,   // Path: libdspdf.so did not load; Detail: the loader's words
  PdfMakerFunction,  // Path: libdspdf.so lacks a function; Detail: its name
  PdfMakerRefused,   // Path: the PDF, written whole but the maker reported failure
  PdfIncomplete,     // Path: the PDF, cut short (and removed)
  PdfNotWritten,     // Path: the maker reported success but left no new file
  PdfWriteFailed,    // Path: the maker reported failure and left no file
};

struct ReportError {
  ReportFailure Failure = ReportFailure::None;
  QString Path;         // the file concerned
  QString Detail;       // see the failure
  StorageError Record;  // RecordUnreadable

  bool ok() const { return Failure == ReportFailure::None; }
};

// A failure of `failure` about the file `path`, with `detail`.
inline ReportError ReportFailed(ReportFailure failure, const QString& path,
                                const QString& detail = {}) {
  ReportError error;
  error.Failure = failure;
  error.Path = path;
  error.Detail = detail;
  return error;
}

}  // namespace sfigmo

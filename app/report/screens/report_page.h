#pragma once
// The one-page report drawn on any surface: a printer's page, a picture
// that becomes a PDF, an image in a test. Every position is in millimetres
// from the page's top-left corner, converted with the surface's horizontal
// logical resolution, so the page has the same physical layout everywhere.
// Main thread only (fonts).

#include <QString>

#include "report/report_model.h"
#include "record/pulsogram_record.h"

class QPainter;

namespace sfigmo {

// Draws the page of `record` with `surface`, an active painter on the target
// device. When `surfaceOwnedByCaller` is false the painter is ended after the
// last line, which completes a picture being recorded; when true it is left
// active (the printer's page belongs to the print job). The record is only
// read.
//
// Extra conclusion lines (`options.ExtraConclusionLines`) are numbered on
// after the verdicts, each 7 mm lower.
void DrawReportPage(QPainter& surface, const PulsogramRecord& record, bool surfaceOwnedByCaller,
                    const ReportPageOptions& options = {});

// The title, as printed at the top right.
inline constexpr const char* kReportTitle = "Анализатор пульса «Терволан»";

}  // namespace sfigmo

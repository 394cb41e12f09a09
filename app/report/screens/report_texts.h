#pragma once
// What the print window tells the user about a failed report, in Russian.

#include <QString>

#include "report/report_error.h"

namespace sfigmo {

// The message for `error`, naming the file and the reason; empty when it is ok.
QString ReportErrorText(const ReportError& error);

}  // namespace sfigmo

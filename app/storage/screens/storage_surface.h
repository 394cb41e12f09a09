#pragma once
// The part of the main window that registration, saving, the archive list
// and the trend graphs work on: its controls, flags, record buffers and
// replay hooks, filled in by the window. References and pointers into the
// window; main thread only.

#include <QString>
#include <functional>
#include <memory>

#include "analysis/working_record.h"
#include "draw/session.h"
#include "draw/trace_area.h"
#include "record/analysis_results.h"
#include "record/pulsogram_record.h"

namespace sfigmo {

struct StorageSurface {
  Session& session;
  WorkingRecord work;
  int& LastRecordRead;
  const QString& ProgramFolder;

  // Shows a message (text, caption, isError) as the window shows them.
  std::function<void(const QString&, const QString&, bool)> presentMessage;

  SessionView& view() const { return session.view(); }
  Canvas& traceCanvas() const { return view().trace().canvas(); }
  // Shows the trace area as drawn so far at once; runs no other event.
  void showTraceNow() const { view().trace().repaint(); }
};

}  // namespace sfigmo

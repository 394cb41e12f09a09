#include "messages.h"

#include <cstdio>
#include <mutex>

namespace sensordrv {
namespace {

struct Sink {
  std::mutex mutex;
  SensordrvMessageSink function = nullptr;
  void* context = nullptr;
};

// The one sink of the loaded library; set by the host program. Never
// destroyed, so a message raised while the process exits still finds it.
Sink& CurrentSink() {
  static Sink* sink = new Sink;
  return *sink;
}

}  // namespace

void SetMessageSink(SensordrvMessageSink sink, void* context) {
  Sink& s = CurrentSink();
  std::lock_guard lock(s.mutex);
  s.function = sink;
  s.context = context;
}

void ShowMessage(const char* text, const char* caption, bool errorIcon) {
  Sink& s = CurrentSink();
  SensordrvMessageSink function = nullptr;
  void* context = nullptr;
  {
    std::lock_guard lock(s.mutex);
    function = s.function;
    context = s.context;
  }
  // Called outside the lock: the sink may block until the user confirms.
  if (function != nullptr) {
    function(text, caption, errorIcon ? 1 : 0, context);
  } else {
    std::fprintf(stderr, "sensordrv: %s: %s\n", caption, text);
  }
}

}  // namespace sensordrv

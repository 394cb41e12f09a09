#pragma once
// The device library's user messages. They go to the installed sink (a modal
// dialog inside the GUI program, a capture in tests), else one line on stderr.

#include "sensordrv_api.h"

namespace sensordrv {

inline constexpr const char* kCaptionError = "Error";  // error-icon boxes
inline constexpr const char* kCaptionPlain = "ERROR";  // plain boxes

// Shows a message and returns when it was confirmed. Any thread.
void ShowMessage(const char* textUtf8, const char* captionUtf8, bool errorIcon);
void SetMessageSink(SensordrvMessageSink sink, void* context);

}  // namespace sensordrv

#pragma once
// Loading and binding of the sensor library (libsensordrv.so) by file name
// from a folder, and the scheduling raise of the calling thread. The library
// is never unloaded: a later load of the same file only counts up.
// Main thread only.

#include <QString>

#include "acquisition/sensor_api.h"

namespace sfigmo {

inline constexpr const char* kSensorLibraryFile = "libsensordrv.so";

class DeviceLibrary {
 public:
  // Loads folder/libsensordrv.so and binds the nine functions (and the
  // message sink setter when the library has one). False when the file did
  // not load; then api() stays empty and nothing may be called.
  bool load(const QString& folder);

  bool loaded() const { return handle_ != nullptr; }
  const SensorApi& api() const { return api_; }
  // The loader's reason for the last failed load.
  const QString& lastError() const { return lastError_; }

  // Routes the library's messages to `sink`; false when the library has no
  // sink setter (it then writes them to stderr).
  bool setMessageSink(MessageSinkFn sink, void* context);

 private:
  void* handle_ = nullptr;
  SensorApi api_;
  SetMessageSinkFn setSink_ = nullptr;
  QString lastError_;
};

// Asks for the highest scheduling the process may have for the calling
// thread; keeps the normal one silently when refused. Returns the nice value
// in force afterwards.
int RaiseThreadPriority();

}  // namespace sfigmo

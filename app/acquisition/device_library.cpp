#include "acquisition/device_library.h"

#include <dlfcn.h>
#include <sys/resource.h>

#include <QDir>
#include <cerrno>

namespace sfigmo {

namespace {

template <typename Fn>
Fn bind(void* handle, const char* name) {
  return reinterpret_cast<Fn>(dlsym(handle, name));
}

}  // namespace

bool DeviceLibrary::load(const QString& folder) {
  const QString path = QDir(folder).filePath(QString::fromLatin1(kSensorLibraryFile));
  void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    lastError_ = why ? QString::fromLocal8Bit(why) : path;
    handle_ = nullptr;
    api_ = SensorApi{};
    setSink_ = nullptr;
    return false;
  }
  // Each activation loads again; dlopen hands back the same handle and only
  // counts up, so dropping the older reference is not needed.
  handle_ = handle;
  api_.CheckOpenPort = bind<CheckOpenPortFn>(handle, "_CheckOpenPort");
  api_.OpenPort = bind<OpenPortFn>(handle, "_OpenPort");
  api_.GetDataSens = bind<GetDataSensFn>(handle, "_Get_data_SENS");
  api_.ClosePort = bind<ClosePortFn>(handle, "_ClosePort");
  api_.SetStatusSens = bind<SetStatusSensFn>(handle, "_Set_status_SENS");
  api_.SetDTRPort = bind<SetDTRPortFn>(handle, "_SetDTRPort");
  api_.GetVBat = bind<GetVBatFn>(handle, "_Get_V_bat");
  api_.SearchDevices = bind<SearchDevicesFn>(handle, "_SearchDevices");
  api_.CheckFailedDevice = bind<CheckFailedDeviceFn>(handle, "_Check_failed_Device");
  api_.GetLostFrames = bind<GetLostFramesFn>(handle, "_Get_lost_frames_SENS");
  setSink_ = bind<SetMessageSinkFn>(handle, "_SetMessageSink");
  lastError_.clear();
  return true;
}

bool DeviceLibrary::setMessageSink(MessageSinkFn sink, void* context) {
  if (!setSink_) return false;
  setSink_(sink, context);
  return true;
}

int RaiseThreadPriority() {
  // A real-time policy on the GUI thread would let a busy event loop starve
  // the library's reader thread (new threads inherit it) and the desktop; the
  // lowest nice value the process is allowed is the safe "highest". On Linux
  // setpriority acts on the calling thread only.
  errno = 0;
  const int before = getpriority(PRIO_PROCESS, 0);
  if (errno != 0) return 0;
  if (setpriority(PRIO_PROCESS, 0, -20) != 0) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NICE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
      const int allowed = 20 - static_cast<int>(limit.rlim_cur);
      if (allowed < before) setpriority(PRIO_PROCESS, 0, allowed);  // refusal: keep as is
    }
  }
  errno = 0;
  const int after = getpriority(PRIO_PROCESS, 0);
  return errno == 0 ? after : before;
}

}  // namespace sfigmo

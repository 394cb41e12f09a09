#include "thread_priority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace sensordrv {

namespace {

int CurrentNice() {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, 0);  // the calling thread on Linux
  return errno == 0 ? nice : 0;
}

// Taken while the library is being loaded, on the loading thread.
const int kNormalNice = CurrentNice();

}  // namespace

int NormalNice() { return kNormalNice; }

void UseNormalPriority() {
  int policy = SCHED_OTHER;
  sched_param param{};
  if (pthread_getschedparam(pthread_self(), &policy, &param) == 0 &&
      (policy == SCHED_FIFO || policy == SCHED_RR)) {
    const sched_param timeShared{};
    pthread_setschedparam(pthread_self(), SCHED_OTHER, &timeShared);
  }
  // On Linux the nice value belongs to each thread: set it on this one only.
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNormalNice);
}

void NameThisThread(const char* name) { pthread_setname_np(pthread_self(), name); }

}  // namespace sensordrv

#pragma once
// The reader thread's scheduling. A new thread inherits the priority of the
// thread that created it, and the host raises its user-interface thread; the
// reader is to run at the process's normal priority instead.

namespace sensordrv {

inline constexpr const char* kReaderThreadName = "sensordrv-rx";

// The nice value the process ran at when the library was loaded, before the
// host raised its own thread.
int NormalNice();
// Puts the calling thread back to normal scheduling: the ordinary time-shared
// policy at NormalNice(). A step the system refuses keeps what was inherited.
void UseNormalPriority();
// Names the calling thread (seen in ps, top and debuggers; tests find the
// reader by it). At most 15 characters.
void NameThisThread(const char* name);

}  // namespace sensordrv
